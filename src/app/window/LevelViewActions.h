#pragma once
// The View menu's commands for how the level itself is shown: Flip Maps (swaps every primary room
// for its alternate and back; for levels with alternate groups, a submenu with each group and All),
// Level Sky (the level's own sky instead of the generated one), Animate Items (the items play
// their animations, or stand still) and Show Lara (Lara at the player's start). They act on the scene and
// leave the eye where it is.

#include <QObject>

#include <functional>

#include "level/FlipMaps.h"

class QAction;
class QActionGroup;
class QMenu;

namespace grottix {

class TGrottixViewerScene;

class TLevelViewActions : public QObject {
public:
    // Adds the commands to the menu; they act on the scene, which must outlive them.
    TLevelViewActions(QMenu& viewMenu, TGrottixViewerScene& scene, QObject* parent);

    // After a level is opened (or failed to open): offers the flip maps the level has, none flipped.
    void LevelOpened();
    void SetLevelSky(bool on);
    bool LevelSkyOn() const;
    void SetAnimateItems(bool on);
    bool AnimateItemsOn() const;
    void SetShowLara(bool on);
    bool ShowLaraOn() const;
    // Flips the maps so that a room the current state hides is shown: its group (or all groups)
    // for an alternate room, none for a primary room; the menu follows.
    void ShowRoom(int room);
    // Shows the flip state, the menu following.
    void ShowState(TFlipState state) { checkState(state); }

    // Called after a command changed what the view shows, so that a frame gets drawn.
    std::function<void()> OnViewChanged = [] {};

    QAction* FlipMaps = nullptr;
    QAction* LevelSky = nullptr;
    QAction* AnimateItems = nullptr;
    QAction* ShowLara = nullptr;

private:
    void addItemToggles(QMenu& viewMenu);
    void fillGroups();
    void checkState(TFlipState state);

    TGrottixViewerScene& scene_;
    QMenu* groupsMenu_ = nullptr;
    QActionGroup* groups_ = nullptr;
};

}  // namespace grottix
