#pragma once
// What the window tells about the level on screen and how it takes the user there: the items and
// rooms docks, the selection outlined in the view, Go to, picking and mouse look over the view,
// and the eye, its room and the selection in the status bar. The window creates one and tells it
// when a level has been opened (or closed by a failed load).

#include <QObject>

#include <functional>
#include <optional>

#include "engine/EngineTypes.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace grottix {

class TDXViewerForm;
class TItemsModel;
class TLevelTableDock;
class TRoomsModel;
class TViewMouse;
struct TEyePlacement;
struct TPick;

class TLevelInspector : public QObject {
public:
    // Adds the docks (hidden at first; the window's saved layout may show them), their entries in
    // the View menu, and the status bar fields.
    TLevelInspector(TDXViewerForm& window, QMenu& viewMenu);

    // The level on screen changed: the tables are rebuilt and the selection cleared.
    void LevelChanged();

    // Go to an item or a room in a room the flip maps hide first shows that room.
    std::function<void(int room)> OnShowRoom = [](int) {};
    // The status bar's words for a selection of another kind than items, rooms and squares.
    std::function<QString()> NameOtherSelection = [] { return QString(); };

    // The orbit camera (View > Camera > Orbit): on, it turns round the selection, or round the point
    // two sectors ahead of the eye; off, the free camera takes over where the eye stands.
    void SetOrbit(bool on);
    bool Orbiting() const;
    QAction* OrbitAction() const { return orbit_; }
    QAction* FreeAction() const { return free_; }

    // A click in the view goes here first; when it answers true, the click selects nothing.
    std::function<bool(double x, double y)> OnViewClick = [](double, double) { return false; };
    // Where the view at (x, y) (pixels of the frame) meets a face or an item's box, scene units;
    // none when nothing is there.
    std::optional<TD3DVector> PointAt(double x, double y) const;

    TLevelTableDock* ItemsDock() const { return itemsDock_; }
    TLevelTableDock* RoomsDock() const { return roomsDock_; }

private:
    void createDocks(QMenu& viewMenu);
    void createCameraMenu(QMenu& viewMenu);
    void pan(double right, double down);
    void centreAt(double x, double y);
    void centreOrbitOnSelection();
    void createStatusFields();
    // Every change this makes to what the view shows (the eye, the outline) ends here.
    void viewChanged();
    void turnEye(double right, double down);
    void moveEye(double notches);
    void placeEye(const TEyePlacement& placement);
    void goToSelection();
    void pickAt(double x, double y);
    // What the view shows at (x, y): the rooms and items visible, nothing without a level.
    TPick pickUnder(double x, double y) const;
    void outlineSelection();
    void showStatus();

    TDXViewerForm& window_;
    TItemsModel* items_ = nullptr;
    TRoomsModel* rooms_ = nullptr;
    TLevelTableDock* itemsDock_ = nullptr;
    TLevelTableDock* roomsDock_ = nullptr;
    TViewMouse* mouse_ = nullptr;
    QAction *orbit_ = nullptr, *free_ = nullptr;
    QLabel *eyeLabel_ = nullptr, *roomLabel_ = nullptr, *selectedLabel_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    TD3DVector shownEye_{1e30f, 0, 0};  // the eye the status bar shows
};

}  // namespace grottix
