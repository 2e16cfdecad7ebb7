// The main window's commands: opening levels, full screen, the engine options, saving and copying
// the view.

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>

#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "viewer/DeviceSetup.h"
#include "app/window/FloorInspector.h"
#include "app/window/LevelFileWatcher.h"
#include "app/window/LevelInspector.h"
#include "app/window/MeasureTool.h"
#include "app/window/ModelInspector.h"
#include "app/window/TopViewActions.h"
#include "app/window/LevelViewActions.h"
#include "app/window/MainWindow.h"
#include "app/window/PlacementInspector.h"
#include "app/panels/FindDock.h"
#include "app/panels/InspectedLevel.h"
#include "viewer/ViewExport.h"
#include "app/dialogs/EngineSetupDialog.h"
#include "app/dialogs/FileDialogFilter.h"
#include "app/dialogs/OpenLevelDialog.h"
#include "device/qt/OpenGLDevice.h"
#include "export/LevelGltfExport.h"
#include "import/LevelImport.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "settings/AnotherReg.h"
#include "settings/FileDrag.h"
#include "settings/FileMenuHistory.h"

namespace grottix {

namespace {

const QString kTitle = QStringLiteral("Grottix Viewer");

// Keeps the busy cursor up for a scope; the normal cursor comes back on every exit, or earlier
// through Restore, before a message box shows.
class TBusyCursor {
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { Restore(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
    void Restore() {
        if (std::exchange(busy_, false)) QGuiApplication::restoreOverrideCursor();
    }

private:
    bool busy_ = true;
};

// A command's failure is shown the way the application shows any error.
template <typename Command>
void guarded(QWidget* owner, Command command) {
    try {
        command();
    } catch (const std::exception& error) {
        QMessageBox::critical(owner, kTitle, QString::fromUtf8(error.what()));
    }
}

// The view's pixels: the drawing surface's back buffer at the control's size.
TBitmap viewBitmap(TDXDraw& draw) {
    TBitmap view = draw.BackBufferBitmap();
    view.SetPixelFormat(TPixelFormat::pf24bit);
    return view;
}

}  // namespace

QString DisplayModeText(int width, int height, int bits) { return QStringLiteral("%1x%2 %3bit").arg(width).arg(height).arg(bits); }

const TD3DSceneDisplayParam* TDXViewerForm::selectedDisplayMode() const {
    const int index = DisplayModeBox->currentIndex();
    return index >= 0 && size_t(index) < displayParams_.size() ? &displayParams_[size_t(index)] : nullptr;
}

void TDXViewerForm::OpenLevel() {
    std::lock_guard lock(FrameLock);
    TBusyCursor busy;
    Loading = true;
    const bool drawing = DrawThread.Enabled();
    DrawThread.SetEnabled(false);
    models_->LeaveModel();
    const std::shared_ptr<const TTombRaiderLevel> before = Scene->Level;
    // Whether the level on screen is still the one before (the file was no level).
    const auto kept = [&] { return before && Scene->Level == before; };
    const auto finish = [&] {
        if (!kept()) {
            topView_->LevelChanged();
            measure_->SetMeasuring(false);
            inspector_->LevelChanged();
            const std::shared_ptr<const TInspectedLevel> inspected = TInspectedLevel::Read(Scene->Level);
            floorInspector_->LevelOpened(inspected, float(LevelScale));
            placements_->LevelOpened(inspected, float(LevelScale));
            findDock_->SetLevel(inspected);
            showLevelProblems();
            models_->LevelChanged();
        }
        levelWatcher_->Watch(QString::fromStdString(shownLevelFile_));
        Loading = false;
        DrawThread.SetEnabled(drawing);
        Pacing.SetPolling(!LevelFileName.empty());
        DXDraw->SetEmptyText(LevelFileName.empty() ? QString::fromLatin1(kEmptyViewHint) : QString());
        Pacing.Request();
    };
    try {
        QString damage;
        const std::optional<QString> failure = loadLevel(damage);
        // The long part is done: the message box below, or one from the display's rebuild, comes
        // under the normal cursor.
        busy.Restore();
        if (failure) {
            reportOpenFailure(QStringLiteral("File %1: %2").arg(QString::fromStdString(LevelFileName), *failure));
            if (kept()) {
                LevelFileName = shownLevelFile_;
            } else {
                setWindowTitle(kTitle);
                LevelFileName.clear();
                shownLevelFile_.clear();
            }
        } else {
            shownLevelFile_ = LevelFileName;
            history_->AddPath(QString::fromStdString(LevelFileName));
            setWindowTitle(QStringLiteral("Grottix Viewer - %1").arg(QString::fromStdString(LevelFileName)));
            if (!damage.isEmpty() && quietOpen_)
                statusBar()->showMessage(QStringLiteral("File %1: %2").arg(QString::fromStdString(LevelFileName), damage));
            else if (!damage.isEmpty())
                DamagedLevelMessageBox.Execute(
                    QStringLiteral("File %1: %2\n\nThe view shows what could be read before the damage.")
                        .arg(QString::fromStdString(LevelFileName), damage));
        }
        if (!kept()) levelView_->LevelOpened();
        FocusView();
        ApplySafeMode(Scene->SafeMode, false);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TDXViewerForm::reportOpenFailure(const QString& message) {
    if (quietOpen_) quietFailure_ = message;
    else ErrorMessageBox.Execute(message);
}

std::optional<QString> TDXViewerForm::loadLevel(QString& damage) {
    try {
        TImportReport report;
        const uint8_t result =
            OpenLevelIntoScene(*Scene, LevelFileName, float(LevelScale), LightFactorValue, SkyPicture, FloorRecord, &report);
        if (result == kLevelLoaded || result == kLevelDamaged) {
            Scene->SetItemsVisible(ItemsOn);
            Eye.Start = TEyePlace{Scene->GetCameraPosition(), Scene->GetCameraRotation()};
            damage = QString::fromStdString(report.Problem);
            return std::nullopt;
        }
        // The report names a limit the file goes beyond, as the command line does.
        return QString::fromStdString(report.Problem.empty() ? ImportErrorMessage(result) : report.Problem);
    } catch (const EGrottixError& error) {
        // A file that failed while it was being read leaves the scene as it was; one that failed
        // while it was being put into the scene leaves nothing of either.
        if (!Scene->Level) {
            Scene->Reset();
            Eye.Start.reset();
        }
        return QString::fromUtf8(error.what());
    }
}

void TDXViewerForm::OpenLevelFile(const std::string& path) {
    guarded(this, [&] {
        LevelFileName = path;
        OpenLevel();
    });
}

void TDXViewerForm::OpenClick() {
    guarded(this, [this] {
        if (ShowOpenLevelDialog(this, *applicationKey_, LevelFileName, LightFactorValue)) OpenLevel();
    });
}

void TDXViewerForm::FileDrag1Drop() {
    guarded(this, [this] {
        if (fileDrag_->FileCount() == 1) {
            OpenLevelFile(fileDrag_->FullPaths().front().toStdString());
        } else if (fileDrag_->FileCount() > 1) {
            ErrorMessageBox.Execute(QStringLiteral("Only one file at a time!"));
        }
    });
}

void TDXViewerForm::ToggleFullScreen() {
    const bool drawing = DrawThread.Enabled();
    DrawThread.SetEnabled(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(DrawThread.Sleep()));
    DXDraw->Finalize();
    TDXDrawOptions options = DXDraw->Options();
    if (options.Contains(doFullScreen)) {
        options.Exclude(doFullScreen);
        DXDraw->SetOptions(options);
        screenSaver_.Release();
        RestoreWindowPos();
        show();
        unsetCursor();
        menuBar()->show();
        FocusView();
    } else {
        const TD3DSceneDisplayParam* mode = selectedDisplayMode();
        DXDraw->Display().SetWidth(mode ? mode->Width : 640);
        DXDraw->Display().SetHeight(mode ? mode->Height : 480);
        DXDraw->Display().SetBitCount(mode ? mode->BitsPerPixel : 16);
        FocusView();
        StoreWindowPos();
        hide();
        screenSaver_.Inhibit();
        options.Include(doFullScreen);
        DXDraw->SetOptions(options);
    }
    guarded(this, [this] { DXDraw->Initialize(); });
    Scene->Refresh();
    Scene->PrepareScene();
    DrawThread.SetEnabled(drawing);
}

void TDXViewerForm::SetHardwareAcceleration(bool on, bool atStart) {
    if (!atStart) DXDraw->Finalize();
    TDXDrawOptions options = DXDraw->Options();
    if (on) {
        options.Include(doHardware);
        options.Exclude(doSystemMemory);
    } else {
        options.Exclude(doHardware);
        options.Include(doSystemMemory);
    }
    DXDraw->SetOptions(options);
    if (atStart) return;
    guarded(this, [this] { DXDraw->Initialize(); });
    Scene->Refresh();
    Scene->PrepareScene();
}

void TDXViewerForm::ApplySafeMode(bool on, bool atStart) {
    Scene->SetSafeMode(on);
    if (on && DXDraw->Options().Contains(doHardware)) {
        SetHardwareAcceleration(false, atStart);
        SetHardwareAcceleration(true, atStart);
    }
}

bool TDXViewerForm::UsesOpenGL() const {
    if (!HardwareOn) return false;
    if (HardwareChosen || qEnvironmentVariable("GROTTIX_OPENGL") == QLatin1String("1")) return true;
    return !TOpenGLDevice::SoftwareRenderer();
}

void TDXViewerForm::N3DEngineSetup1Click() {
    guarded(this, [this] {
        // The box shows what the window does; where OpenGL is a software renderer, ticking it is the
        // user's choice of OpenGL anyway.
        const bool software = TOpenGLDevice::SoftwareRenderer();
        const bool shown = UsesOpenGL();
        bool hardware = shown;
        const QString note = software ? QStringLiteral("OpenGL here is a software renderer (%1): the CPU rasterizer draws faster, "
                                                       "so hardware acceleration stays off unless you tick it.")
                                            .arg(QString::fromStdString(TOpenGLDevice::RendererName()))
                                      : QString();
        if (!ShowEngineSetupDialog(this, *applicationKey_, hardware, SafeModeOn, FilteringOn, TransparencyOn, RunModal,
                                   &DrawEveryRoomOn, note))
            return;
        if (hardware != shown) {
            HardwareOn = hardware;
            HardwareChosen = hardware && software;
        }
        Scene->CullCells = !DrawEveryRoomOn;
        SetHardwareAcceleration(UsesOpenGL(), false);
        ApplySafeMode(SafeModeOn, false);
    });
}

void TDXViewerForm::Save2Click() {
    guarded(this, [this] {
        QFileDialog dialog(this);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        const QStringList filters = QtFileFilter(QString::fromLatin1(kSaveViewFilter)).split(QStringLiteral(";;"));
        dialog.setNameFilters(filters);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        TBusyCursor busy;
        const int filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        try {
            const std::string path = SaveViewFileName(dialog.selectedFiles().front().toStdString(), filterIndex);
            SaveViewImage(viewPicture(), path);
        } catch (const EUnknownFileType&) {
            busy.Restore();
            MessageBox1.Execute();
        }
    });
}

bool TDXViewerForm::levelOnScreen() {
    if (!LevelFileName.empty()) return true;
    ErrorMessageBox.Execute(tr("Open a level first: Export Level writes the level on screen."));
    return false;
}

void TDXViewerForm::ExportLevelClick() {
    guarded(this, [this] {
        if (!levelOnScreen()) return;
        QFileDialog dialog(this, tr("Export Level"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(tr("glTF binary (*.glb)"));
        dialog.setDefaultSuffix(QStringLiteral("glb"));
        dialog.selectFile(QFileInfo(QString::fromStdString(LevelFileName)).completeBaseName() + QStringLiteral(".glb"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        ExportLevel(dialog.selectedFiles().front().toStdString());
    });
}

void TDXViewerForm::ExportLevel(const std::string& out) {
    if (!levelOnScreen()) return;
    QProgressDialog progress(tr("Exporting the level..."), QString(), 0, 100, this);
    progress.setWindowTitle(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const auto advance = [&progress](double done) {
        progress.setValue(int(done * 100));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    TBusyCursor busy;
    QString failure;
    try {
        TGltfExportReport report;
        TGltfExportOptions options{LightFactorValue, ItemsOn, FilteringOn};
        options.Flip = Scene->FlipState;  // the rooms on screen
        const uint8_t result = ExportLevelToGltf(LevelFileName, out, options, advance, &report);
        if (result != kLevelLoaded) failure = QString::fromStdString(report.Problem);
    } catch (const EGrottixError& error) {
        failure = QString::fromUtf8(error.what());
    }
    progress.reset();
    busy.Restore();
    statusBar()->showMessage(failure.isEmpty() ? tr("Level exported to %1").arg(QString::fromStdString(out))
                                               : tr("The level was not exported: %1").arg(failure));
    if (!failure.isEmpty()) ErrorMessageBox.Execute(QStringLiteral("File %1: %2").arg(QString::fromStdString(LevelFileName), failure));
}

// The view drawn again as it stands: an idle window may have drawn nothing since its surface was
// made anew (a dialog taking the focus does that), and what is saved must be what is shown.
TBitmap TDXViewerForm::viewPicture() {
    std::lock_guard lock(FrameLock);
    if (DXDraw->CanDraw() && !Loading) {
        if (TD3DDevice* device = DXDraw->D3DDevice7()) SetOptionStates(*device, FilteringOn, TransparencyOn);
        Scene->RenderScene(0);
    }
    return viewBitmap(*DXDraw);
}

void TDXViewerForm::CopyClick() {
    const TBitmap view = viewPicture();
    if (view.Width() * view.Height() == 0) {
        ClipboardErrorMessageBox.Execute();
        return;
    }
    const QImage image(view.ScanLine(0), view.Width(), view.Height(), view.BytesPerRow(), QImage::Format_BGR888);
    QApplication::clipboard()->setImage(image.copy());
}

}  // namespace grottix
