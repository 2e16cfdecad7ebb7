#include "app/window/LevelViewActions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "viewer/ViewerScene.h"

namespace grottix {

TLevelViewActions::TLevelViewActions(QMenu& viewMenu, TGrottixViewerScene& scene, QObject* parent)
    : QObject(parent), scene_(scene) {
    FlipMaps = new QAction(tr("Flip Maps"), this);
    FlipMaps->setStatusTip(tr("Show the alternate rooms of the level's flip maps instead of their primary rooms"));
    FlipMaps->setCheckable(true);
    FlipMaps->setEnabled(false);
    connect(FlipMaps, &QAction::toggled, this, [this](bool on) {
        scene_.SetFlipState(on ? TFlipState::All() : TFlipState{});
        OnViewChanged();
    });
    groupsMenu_ = new QMenu(tr("Flip Maps"), &viewMenu);
    groups_ = new QActionGroup(this);
    groups_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    LevelSky = new QAction(tr("Level Sky"), this);
    LevelSky->setStatusTip(tr("Show the level's own sky instead of the generated one"));
    LevelSky->setCheckable(true);
    LevelSky->setChecked(scene_.LevelSkyShown);
    connect(LevelSky, &QAction::toggled, this, [this](bool on) {
        scene_.LevelSkyShown = on;
        OnViewChanged();
    });
    viewMenu.addAction(FlipMaps);
    viewMenu.addAction(LevelSky);
    addItemToggles(viewMenu);
}

void TLevelViewActions::addItemToggles(QMenu& viewMenu) {
    AnimateItems = new QAction(tr("Animate Items"), this);
    AnimateItems->setStatusTip(tr("Let the creatures and mechanisms play their animations"));
    AnimateItems->setCheckable(true);
    AnimateItems->setChecked(scene_.ItemsAnimated());
    connect(AnimateItems, &QAction::toggled, this, [this](bool on) {
        scene_.SetItemsAnimated(on);
        OnViewChanged();
    });
    ShowLara = new QAction(tr("Show Lara"), this);
    ShowLara->setStatusTip(tr("Show Lara at the player's start, in her first frame"));
    ShowLara->setCheckable(true);
    ShowLara->setChecked(scene_.LaraVisible());
    connect(ShowLara, &QAction::toggled, this, [this](bool on) {
        scene_.SetLaraVisible(on);
        OnViewChanged();
    });
    viewMenu.addAction(AnimateItems);
    viewMenu.addAction(ShowLara);
}

void TLevelViewActions::LevelOpened() {
    const bool grouped = scene_.LevelVersionCode >= 6;
    FlipMaps->setMenu(nullptr);
    {
        const QSignalBlocker blocker(FlipMaps);
        FlipMaps->setChecked(false);
    }
    FlipMaps->setCheckable(!grouped);
    FlipMaps->setEnabled(scene_.Flips.HasFlips());
    if (grouped) {
        fillGroups();
        FlipMaps->setMenu(groupsMenu_);
    }
    LevelSky->setEnabled(!scene_.LevelSky.empty());
}

void TLevelViewActions::fillGroups() {
    for (QAction* old : groups_->actions()) {
        groups_->removeAction(old);
        delete old;
    }
    groupsMenu_->clear();
    const auto add = [this](const QString& text, TFlipState state) {
        QAction* item = groupsMenu_->addAction(text);
        item->setCheckable(true);
        item->setData(state.kind == TFlipState::TKind::All ? -1 : state.group);
        groups_->addAction(item);
        connect(item, &QAction::toggled, this, [this, state](bool on) {
            if (on) scene_.SetFlipState(state);
            else if (scene_.FlipState == state) scene_.SetFlipState({});
            OnViewChanged();
        });
    };
    for (int group : scene_.Flips.Groups()) add(tr("Group %1").arg(group), TFlipState::Group(group));
    add(tr("All"), TFlipState::All());
}

void TLevelViewActions::ShowRoom(int room) {
    if (room < 0) return;
    const TFlipState state = scene_.Flips.StateShowing(size_t(room), scene_.FlipState, scene_.LevelVersionCode >= 6);
    if (!(state == scene_.FlipState)) checkState(state);
}

// Checks the command of a state; its handler sets the state and asks for a frame.
void TLevelViewActions::checkState(TFlipState state) {
    if (FlipMaps->isCheckable()) return FlipMaps->setChecked(state.kind == TFlipState::TKind::All);
    if (state.kind == TFlipState::TKind::None) {
        if (QAction* checked = groups_->checkedAction()) checked->setChecked(false);
        return;
    }
    const int data = state.kind == TFlipState::TKind::All ? -1 : state.group;
    for (QAction* action : groups_->actions())
        if (action->data().toInt() == data) action->setChecked(true);
}

void TLevelViewActions::SetLevelSky(bool on) { LevelSky->setChecked(on); }

bool TLevelViewActions::LevelSkyOn() const { return LevelSky->isChecked(); }

void TLevelViewActions::SetAnimateItems(bool on) { AnimateItems->setChecked(on); }

bool TLevelViewActions::AnimateItemsOn() const { return AnimateItems->isChecked(); }

void TLevelViewActions::SetShowLara(bool on) { ShowLara->setChecked(on); }

bool TLevelViewActions::ShowLaraOn() const { return ShowLara->isChecked(); }

}  // namespace grottix
