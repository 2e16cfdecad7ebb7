// The main window's frame loop: the two frame sources, the frame itself, and the display's events.

#include <QApplication>
#include <QFileInfo>
#include <QWindow>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "viewer/DeviceSetup.h"
#include "app/window/LevelViewActions.h"
#include "app/window/ModelInspector.h"
#include "app/window/MainWindow.h"
#include "viewer/FlipOption.h"
#include "viewer/GoToOption.h"
#include "viewer/PartialFrame.h"
#include "app/window/ViewerSettings.h"
#include "settings/FileDrag.h"

namespace grottix {

void TDXViewerForm::DrawFrame(const TD3DRect* area) {
    if (!DXDraw->CanDraw() || Loading) return Pacing.FrameSkipped();
    DXInput.Update();
    const bool active = QApplication::applicationState() == Qt::ApplicationActive;
    const TEyePlace before{Scene->GetCameraPosition(), Scene->GetCameraRotation()};
    Eye.ProcessInput(*Scene, DXInput.States(), TD3DScene::TickSeconds(), active);
    models_->BeforeFrame();
    TD3DDevice* device = DXDraw->D3DDevice7();
    if (!device || before != TEyePlace{Scene->GetCameraPosition(), Scene->GetCameraRotation()}) area = nullptr;
    if (device) SetOptionStates(*device, FilteringOn, TransparencyOn);
    {
        std::optional<TPartialView> part;
        if (area) part.emplace(*device, *area);
        Scene->RenderScene(0);
    }
    DXDraw->Flip(area);
    Pacing.FrameDrawn(*Scene, DXInput.States(), active);
}

void TDXViewerForm::createPacing() {
    Pacing.OnFrame = [this](const TD3DRect* area) {
        // The time the eye stood still is no time to move it for.
        Eye.LastInputTime = TD3DScene::TickSeconds();
        std::lock_guard lock(FrameLock);
        DrawFrame(area);
    };
    Pacing.OnPollInput = [this] {
        DXInput.Update();
        return !DXInput.States().Empty();
    };
    Pacing.IsView = [this](QObject* target) {
        auto* widget = qobject_cast<QWidget*>(target);
        return target == DXDraw->SurfaceWindow() || (widget && (widget == DXDraw || widget == DXDraw->FullScreenWindow()));
    };
}

void TDXViewerForm::DXTimerTimer() {
    std::lock_guard lock(FrameLock);
    DrawFrame();
}

void TDXViewerForm::DrawThreadExecute() {
    std::lock_guard lock(FrameLock);
    if (!Scene) return;
    Scene->Drawing = true;
    try {
        DrawFrame();
    } catch (...) {
        Scene->Drawing = false;
        throw;
    }
    Scene->Drawing = false;
}

void TDXViewerForm::fillDisplayModes() {
    for (int i = 0; i < DXDraw->Display().Count(); ++i) {
        const TDisplayMode mode = DXDraw->Display().Modes(i);
        if (mode.BitCount != 16 && mode.BitCount != 32) continue;
        displayParams_.push_back({mode.Width, mode.Height, mode.BitCount});
        DisplayModeBox->addItem(DisplayModeText(mode.Width, mode.Height, mode.BitCount));
    }
    const TSceneDisplayMode stored = settings_->ReadDisplayMode();
    int index = DisplayModeBox->findText(DisplayModeText(stored.Width, stored.Height, stored.BitCount));
    if (index < 0) index = DisplayModeBox->findText(DisplayModeText(640, 480, 16));
    DisplayModeBox->setCurrentIndex(index);
}

void TDXViewerForm::DXDrawInitialize() {
    if (DisplayModeBox->count() == 0) fillDisplayModes();
    DXDraw->setFocus();
    if (TD3DDevice* device = DXDraw->D3DDevice7())
        device->SetTransform(D3DTRANSFORMSTATE_VIEW, TD3DMatrix::Diagonal(0.75f, 1, 1, 0));
    DrawThread.SetEnabled(true);
    if (Initialized) return;
    Initialized = true;
    fileDrag_->SetEnableDrop(true);
    if (!arguments_.isEmpty()) {
        // Opened once the display has finished initialising; kept by its absolute path, so that the
        // recent-files menu finds it from any folder.
        const std::string path = QFileInfo(arguments_.front()).absoluteFilePath().toStdString();
        QMetaObject::invokeMethod(
            this,
            [this, path] {
                OpenLevelFile(path);
                if (Scene->Level) applyStartOptions();
            },
            Qt::QueuedConnection);
    }
}

// What follows the level on the command line: --goto-item N or --goto-room N selects that and goes
// there, --flip [GROUP] shows the flip state (over the one a go to chose). Anything else is named on
// standard error and left alone.
void TDXViewerForm::applyStartOptions() {
    std::vector<std::string> args;
    for (const QString& arg : arguments_.mid(1)) args.push_back(arg.toStdString());
    std::optional<TGoToRequest> goTo;
    std::optional<TFlipState> flip;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--flip") {
            flip = ReadFlipOption(args, i);
            if (!flip) std::fprintf(stderr, "grottix-viewer: --flip takes %s; left alone\n", kFlipOptionTakes);
        } else if (i + 1 < args.size() && ParseGoToOption(args[i], args[i + 1], goTo)) ++i;
        else std::fprintf(stderr, "grottix-viewer: %s is not understood after the level; left alone\n", args[i].c_str());
    }
    if (goTo && goTo->kind == TGoToRequest::TKind::Item) Selection.SelectItem(int(goTo->index));
    else if (goTo && goTo->kind == TGoToRequest::TKind::Room) Selection.SelectRoom(int(goTo->index));
    else if (goTo) Selection.SelectSector(int(goTo->index), goTo->x, goTo->z);
    if (goTo) Selection.RequestGoTo();
    if (flip) levelView_->ShowState(*flip);
}

void TDXViewerForm::DXDrawInitializeSurface() {
    SetFixedDeviceState(*DXDraw, Scene.get());
    Pacing.Request();
}

void TDXViewerForm::DXDrawFinalize() { DrawThread.SetEnabled(false); }

void TDXViewerForm::ApplicationActivated(bool active) {
    DXTimer.ApplicationActivated(active);
    if (!active) {
        DrawThread.SetEnabled(false);
        return;
    }
    if (!DXDraw->isVisible() && !DXDraw->Options().Contains(doFullScreen)) return;
    try {
        if (QWidget* view = DXDraw->FullScreenWindow()) {
            // The full-screen view is the window being activated: rebuilding it here would destroy
            // it under its own activation, and the new one's activation would start this again.
            view->setFocus();
        } else {
            DXDraw->Finalize();
            DXDraw->Initialize();
            DXDraw->setFocus();
        }
        Scene->Refresh();
        DrawThread.SetEnabled(true);
    } catch (...) {
        // A display that cannot be rebuilt now is tried again on the next activation.
    }
}

}  // namespace grottix
