#pragma once
// TSelection: what the user has picked in the level, one object shared by the docks and the 3D view.
// Selecting in a table and picking in the view are the same event: whoever changes the selection
// calls a Select… method, and every listener hears Changed. Go to is asked for through RequestGoTo,
// which the window carries out for the current selection.

#include <QObject>

namespace grottix {

class TSelection : public QObject {
    Q_OBJECT

public:
    // Item, Light, Static, Camera, FlybyCamera and SoundSource name one record of a list by its
    // index: the level's entities, every room's lights (fog bulbs included) and static meshes room
    // by room, the cameras, the fly-by cameras and the sound sources, each in file order.
    enum class TKind { None, Item, Room, Sector, Light, Static, Camera, FlybyCamera, SoundSource };

    using QObject::QObject;

    // item: an index into the level's entities; room: into its rooms; column and row: a square of
    // the room's sector grid. Selecting what is already selected changes nothing and emits nothing.
    void SelectItem(int item);
    void SelectRoom(int room);
    void SelectSector(int room, int column, int row);
    // One record of a listed kind (Item, Light, Static, Camera, FlybyCamera, SoundSource) or a room.
    void Select(TKind kind, int index);
    void Clear();
    // Asks the window to move the eye to the current selection.
    void RequestGoTo() { emit GoToRequested(); }

    TKind Kind() const { return kind_; }
    int Item() const { return kind_ == TKind::Item ? index_ : -1; }
    // The selected record's index when one of that kind is selected, else -1.
    int Index(TKind kind) const { return kind_ == kind && listed(kind) ? index_ : -1; }
    // The selected room, or the room of the selected square.
    int Room() const { return kind_ == TKind::Room || kind_ == TKind::Sector ? room_ : -1; }
    int Column() const { return kind_ == TKind::Sector ? column_ : -1; }
    int Row() const { return kind_ == TKind::Sector ? row_ : -1; }

signals:
    void Changed();
    void GoToRequested();

private:
    static bool listed(TKind kind) { return kind != TKind::None && kind != TKind::Room && kind != TKind::Sector; }
    void set(TKind kind, int index, int room, int column, int row);

    TKind kind_ = TKind::None;
    int index_ = -1, room_ = -1, column_ = -1, row_ = -1;
};

// One thing the selection can hold: a record of a listed kind or a room, by its index.
struct TSelectionTarget {
    TSelection::TKind kind = TSelection::TKind::None;
    int index = -1;
};

}  // namespace grottix
