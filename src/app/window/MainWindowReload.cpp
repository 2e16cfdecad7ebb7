// The level builder's commands of the main window: File > Reload (F5), by itself when the file on
// screen changes on disk, and File > Next Level (F7) / Previous Level (F6) in the same folder. A
// reload keeps the eye, the camera mode, the selection and the flip state where the new build still
// has them; a reload or a step that fails keeps the level on screen and says why in the status bar.

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>

#include "app/window/LevelFileWatcher.h"
#include "app/window/LevelFolder.h"
#include "app/window/LevelInspector.h"
#include "app/window/LevelViewActions.h"
#include "app/window/MainWindow.h"
#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"

#include <algorithm>

namespace grottix {

// What a reload keeps of the view.
struct TKeptView {
    TD3DVector position{}, rotation{};
    std::optional<TOrbitCamera> orbit;
    TFlipState flip;
    TSelection::TKind kind = TSelection::TKind::None;
    int index = -1, room = -1, column = -1, row = -1;
};

namespace {

constexpr int kStatusMs = 8000;

QAction* fileAction(QWidget* owner, const QString& text, const QString& hint, Qt::Key key) {
    auto* item = new QAction(text, owner);
    item->setStatusTip(hint);
    item->setShortcut(QKeySequence(key));
    return item;
}

}  // namespace

void TDXViewerForm::createReloadActions() {
    reload_ = fileAction(this, tr("Reload"), tr("Read the level file on screen again"), Qt::Key_F5);
    nextLevel_ = fileAction(this, tr("Next Level"), tr("Open the next level file of the folder"), Qt::Key_F7);
    previousLevel_ = fileAction(this, tr("Previous Level"), tr("Open the previous level file of the folder"), Qt::Key_F6);
    connect(reload_, &QAction::triggered, this, [this] { ReloadLevel(); });
    connect(nextLevel_, &QAction::triggered, this, [this] { StepLevel(1); });
    connect(previousLevel_, &QAction::triggered, this, [this] { StepLevel(-1); });
    // After Open, before Save As.
    const QList<QAction*> items = fileMenu_->actions();
    QAction* before = items.size() > 1 ? items[1] : nullptr;
    fileMenu_->insertActions(before, {reload_, previousLevel_, nextLevel_});
    levelWatcher_ = new TLevelFileWatcher(this);
    levelWatcher_->OnChanged = [this] { ReloadLevel(); };
}

TKeptView TDXViewerForm::keepView() const {
    TKeptView kept;
    kept.position = Scene->GetCameraPosition();
    kept.rotation = Scene->GetCameraRotation();
    kept.orbit = Eye.Orbit;
    kept.flip = Scene->FlipState;
    kept.kind = Selection.Kind();
    kept.room = Selection.Room();
    kept.column = Selection.Column();
    kept.row = Selection.Row();
    kept.index = kept.kind == TSelection::TKind::Item ? Selection.Item() : -1;
    return kept;
}

void TDXViewerForm::restoreView(const TKeptView& kept) {
    const TTombRaiderLevel* level = Scene->Level.get();
    if (!level) return;
    const auto& groups = Scene->Flips.Groups();
    const bool flipHolds = kept.flip.kind != TFlipState::TKind::Group ||
                           std::find(groups.begin(), groups.end(), kept.flip.group) != groups.end();
    if (flipHolds && Scene->Flips.HasFlips()) {
        Scene->SetFlipState(kept.flip);
        levelView_->ShowState(kept.flip);
    }
    if (kept.orbit) {
        Eye.Orbit = kept.orbit;
        Eye.Orbit->Apply(*Scene);
    } else {
        Scene->MoveCamera(kept.position);
        Scene->SetCameraRotationNow(kept.rotation);
    }
    const int rooms = int(level->Rooms.size());
    if (kept.kind == TSelection::TKind::Item && kept.index >= 0 && size_t(kept.index) < ReadEntities(*level).size())
        Selection.SelectItem(kept.index);
    else if (kept.kind == TSelection::TKind::Room && kept.room >= 0 && kept.room < rooms)
        Selection.SelectRoom(kept.room);
    else if (kept.kind == TSelection::TKind::Sector && kept.room >= 0 && kept.room < rooms && kept.column < level->Rooms[size_t(kept.room)].xSectors &&
             kept.row < level->Rooms[size_t(kept.room)].zSectors)
        Selection.SelectSector(kept.room, kept.column, kept.row);
    Pacing.Request();
}

bool TDXViewerForm::openQuietly(const std::string& path) {
    quietOpen_ = true;
    quietFailure_.clear();
    LevelFileName = path;
    try {
        OpenLevel();
    } catch (const std::exception& error) {
        quietFailure_ = QString::fromUtf8(error.what());
    }
    quietOpen_ = false;
    return quietFailure_.isEmpty();
}

void TDXViewerForm::ReloadLevel() {
    if (shownLevelFile_.empty() || Loading) return;
    const TKeptView kept = keepView();
    if (!openQuietly(shownLevelFile_)) {
        statusBar()->showMessage(tr("Reload failed: %1").arg(quietFailure_), kStatusMs);
        return;
    }
    restoreView(kept);
    statusBar()->showMessage(tr("Reloaded %1").arg(QString::fromStdString(shownLevelFile_)), kStatusMs);
}

void TDXViewerForm::StepLevel(int step) {
    if (shownLevelFile_.empty() || Loading) return;
    QStringList failed;
    for (const QString& candidate : LevelsFrom(QString::fromStdString(shownLevelFile_), step)) {
        if (openQuietly(candidate.toStdString())) {
            if (!failed.isEmpty()) statusBar()->showMessage(tr("Skipped, not readable: %1").arg(failed.join(", ")), kStatusMs);
            return;
        }
        failed.push_back(QFileInfo(candidate).fileName());
    }
    statusBar()->showMessage(failed.isEmpty() ? tr("No other level in this folder")
                                              : tr("No other readable level in this folder: %1").arg(failed.join(", ")),
                             kStatusMs);
}

}  // namespace grottix
