#include "app/window/ModelInspector.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include <mutex>

#include "app/panels/ModelsDock.h"
#include "app/window/MainWindow.h"
#include "viewer/ViewerScene.h"

namespace grottix {

TModelInspector::TModelInspector(TDXViewerForm& window, QMenu& viewMenu) : QObject(&window), window_(window) {
    dock_ = new TModelsDock(&window);
    window.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    QAction* show = dock_->toggleViewAction();
    show->setText(tr("Models Panel"));
    show->setStatusTip(tr("List the level's moveables and static meshes; choose one to see it alone and play its animations"));
    viewMenu.addAction(show);
    dock_->OnChosen = [this](const TModelRow& row) { choose(row); };
    connectTimeline();
    qApp->installEventFilter(this);
}

void TModelInspector::connectTimeline() {
    const auto changed = [this](const std::function<void()>& change) {
        {
            std::lock_guard lock(window_.FrameLock);
            change();
        }
        showTimeline();
        window_.Pacing.Request();
    };
    dock_->OnAnimation = [this, changed](int animation) { changed([this, animation] { showcase_.Play(*window_.Scene, uint16_t(animation)); }); };
    dock_->OnPlay = [this, changed](bool play) { changed([this, play] { showcase_.Playing = play; }); };
    dock_->OnStep = [this, changed] { changed([this] { showcase_.Step(*window_.Scene); }); };
    dock_->OnLoop = [this, changed](bool loop) { changed([this, loop] { showcase_.Loop = loop; }); };
}

void TModelInspector::LevelChanged() { dock_->SetLevel(window_.Scene->Level.get()); }

void TModelInspector::LeaveModel() {
    std::lock_guard lock(window_.FrameLock);
    showcase_.Leave(*window_.Scene);
    dock_->ShowModel(false, 0, 0);
}

void TModelInspector::choose(const TModelRow& row) {
    {
        std::lock_guard lock(window_.FrameLock);
        const auto kind = row.moveable ? TModelShowcase::TKind::Moveable : TModelShowcase::TKind::StaticMesh;
        showcase_.Show(*window_.Scene, kind, row.id, window_.LightFactorValue);
    }
    const TMoveableAnimations* moveable = showcase_.Moveable();
    dock_->ShowModel(showcase_.Showing(), moveable ? moveable->FirstAnimation() : 0, moveable ? int(moveable->OwnAnimations()) : 0);
    showTimeline();
    window_.Pacing.Request();
}

void TModelInspector::BeforeFrame() {
    if (!showcase_.Showing()) return;
    showcase_.Advance(*window_.Scene, TD3DScene::TickSeconds());
    if (showcase_.Moveable()) QMetaObject::invokeMethod(this, [this] { showTimeline(); }, Qt::QueuedConnection);
}

// The frames may be drawn on the draw thread: the showcase is read under the frame lock.
void TModelInspector::showTimeline() {
    int animation = 0;
    double frame = 0;
    bool playing = false;
    {
        std::lock_guard lock(window_.FrameLock);
        if (!showcase_.Moveable()) return;
        animation = showcase_.Animation();
        frame = showcase_.Frame();
        playing = showcase_.Playing;
    }
    dock_->ShowFrame(animation, frame, playing);
}

// Escape in the window, while a model is shown, goes back to the level.
bool TModelInspector::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && showcase_.Showing() && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == &window_ && !QApplication::activePopupWidget() && !QApplication::activeModalWidget()) {
            LeaveModel();
            window_.Pacing.Request();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace grottix
