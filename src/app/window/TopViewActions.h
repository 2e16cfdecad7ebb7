#pragma once
// View > Top View: the eye straight above the selected room (the selected item's or square's room,
// else the eye's room), looking down on it whole with the rooms above it hidden, so that the room
// reads as a floor plan. View > Top View Orthographic (kept in the settings) draws it without
// perspective. Leaving Top View puts the camera back as it was: place, angles and camera mode.

#include <QObject>

#include <optional>

#include "engine/EngineTypes.h"
#include "viewer/OrbitCamera.h"

class QAction;
class QMenu;

namespace grottix {

class TDXViewerForm;
class TLevelInspector;

class TTopViewActions : public QObject {
public:
    // Adds both commands to the View menu; the window and the inspector must outlive them.
    TTopViewActions(TDXViewerForm& window, TLevelInspector& inspector, QMenu& viewMenu);

    void SetTopView(bool on);
    bool TopViewOn() const { return saved_.has_value(); }
    void SetOrthographic(bool on);
    bool Orthographic() const;
    // A new level: Top View ends without putting the old level's camera back.
    void LevelChanged();

    QAction* TopView = nullptr;
    QAction* OrthographicView = nullptr;

private:
    struct TSavedCamera {
        TD3DVector position, angles;
        std::optional<TOrbitCamera> orbit;
    };
    // The room to look down on, -1 when there is none.
    int chosenRoom() const;
    void lookDownOn(int room);
    void showAsIs();

    TDXViewerForm& window_;
    TLevelInspector& inspector_;
    std::optional<TSavedCamera> saved_;
};

}  // namespace grottix
