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
    enum class TKind { None, Item, Room, Sector };

    using QObject::QObject;

    // item: an index into the level's entities; room: into its rooms; column and row: a square of
    // the room's sector grid. Selecting what is already selected changes nothing and emits nothing.
    void SelectItem(int item);
    void SelectRoom(int room);
    void SelectSector(int room, int column, int row);
    void Clear();
    // Asks the window to move the eye to the current selection.
    void RequestGoTo() { emit GoToRequested(); }

    TKind Kind() const { return kind_; }
    int Item() const { return kind_ == TKind::Item ? item_ : -1; }
    // The selected room, or the room of the selected square.
    int Room() const { return kind_ == TKind::Room || kind_ == TKind::Sector ? room_ : -1; }
    int Column() const { return kind_ == TKind::Sector ? column_ : -1; }
    int Row() const { return kind_ == TKind::Sector ? row_ : -1; }

signals:
    void Changed();
    void GoToRequested();

private:
    void set(TKind kind, int item, int room, int column, int row);

    TKind kind_ = TKind::None;
    int item_ = -1, room_ = -1, column_ = -1, row_ = -1;
};

}  // namespace grottix
