#pragma once
// TDXViewerForm: the program's main window. A menu bar, a tool bar, the drawing surface and a status
// bar; it owns the scene, the rendering options, the display modes, the recent-files menu, the drop
// target and the settings, and carries out the user's commands.

#include <QComboBox>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "viewer/EyeMovement.h"
#include "app/window/FrameScheduler.h"
#include "app/window/ScreenSaverInhibitor.h"
#include "app/window/ThreadComponent.h"
#include "viewer/ViewerScene.h"
#include "app/panels/Selection.h"
#include "device/qt/DXDraw.h"
#include "device/qt/DXForm.h"
#include "device/qt/DXInput.h"
#include "device/qt/DXTimer.h"
#include "widgets/MessageBox.h"

class QAction;
class QMenu;

namespace grottix {

class TAppConfigKey;
class TFileDrag;
class TFileMenuHistory;
class TFormRestorer;
class TFloorInspector;
class TLevelInspector;
class TMeasureTool;
class TTopViewActions;
class TFindDock;
class TLevelViewActions;
class TModelInspector;
class TPlacementInspector;
class TSettingsStore;
struct TFindHit;
struct TKeptView;
class TLevelFileWatcher;
class TFindingsDock;
class TViewerSettings;

// One full-screen display mode of the mode list.
struct TD3DSceneDisplayParam {
    int32_t Width = 0, Height = 0, BitsPerPixel = 0;
};

// What the view shows while no level is open.
constexpr const char* kEmptyViewHint = "Open a level with File > Open, or drop one here";

// "%dx%d %dbit", as the mode list shows a mode.
QString DisplayModeText(int width, int height, int bits);

class TDXViewerForm : public TDXForm {
public:
    // arguments: the command line after the program name; the first names a level to open.
    TDXViewerForm(TSettingsStore& store, QStringList arguments);
    ~TDXViewerForm() override;

    // Loads LevelFileName into the scene; a file that cannot be loaded is named in ErrorMessageBox.
    void OpenLevel();
    // Opens a level as a command does: any failure is shown in a message box.
    void OpenLevelFile(const std::string& path);
    void ToggleFullScreen();
    // Reads the level on screen again, keeping the view where the new build allows (File > Reload).
    void ReloadLevel();
    // Opens the next (1) or previous (-1) level of the folder that can be read.
    void StepLevel(int step);
    // Lists in the Differences panel what changed from the level file at path to the one on screen.
    void CompareWith(const QString& path);
    // Writes the level on screen as a binary glTF file, with a progress box; failures are shown.
    void ExportLevel(const std::string& out);
    void SetHardwareAcceleration(bool on, bool atStart);
    void ApplySafeMode(bool on, bool atStart);
    void FocusView();
    // Draws a frame; with an area, only that part of the screen, when the eye has not moved.
    void DrawFrame(const TD3DRect* area = nullptr);

    TDXDraw* DXDraw = nullptr;
    std::unique_ptr<TGrottixViewerScene> Scene;
    std::string LevelFileName;
    int LevelScale = 128;
    float LightFactorValue = 0.5f;
    bool HardwareOn = true, SafeModeOn = true, TransparencyOn = true, FilteringOn = true;
    // The user turned hardware acceleration on where OpenGL draws on the CPU (see UsesOpenGL).
    bool HardwareChosen = false;
    // Whether the window draws through OpenGL: with hardware acceleration on, unless OpenGL here is
    // a software renderer and the user did not choose it anyway (GROTTIX_OPENGL=1 chooses it too).
    bool UsesOpenGL() const;
    bool DrawEveryRoomOn = false;  // off: each frame draws only the rooms the portals show
    bool ItemsOn = true;  // the level's items are shown
    bool Initialized = false;
    bool Loading = false;
    TD3DQuadrangleInfo FloorRecord;
    TBitmap SkyPicture;
    std::recursive_mutex FrameLock;
    TDXInput DXInput;
    TDXTimer DXTimer;
    TThreadComponent DrawThread;
    TFrameScheduler Pacing{DXTimer, DrawThread};  // holds both sources while nothing moves
    TEyeMovement Eye;
    // What the user has picked in the level: the docks and the view follow it.
    TSelection Selection;
    TMessageBox ErrorMessageBox, ClipboardErrorMessageBox, MessageBox1, DamagedLevelMessageBox;
    QComboBox* DisplayModeBox = nullptr;

protected:
    // Escape (full screen) and Alt+Enter, whichever of this window's widgets or the full-screen
    // view has the keyboard; never from a dialog, a box or a menu. And the window's close, which
    // starts holding back the settings written at shut-down (the form restorer's come first).
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createInput();
    void createPacing();
    void createReloadActions();
    void createFindingsDocks();
    // Fills the Problems panel with the check of the level on screen.
    void showLevelProblems();
    void CompareWithClick();
    TKeptView keepView() const;
    void restoreView(const TKeptView& kept);
    // Opens path with failures kept in quietFailure_ instead of shown in a box; true when it opened.
    bool openQuietly(const std::string& path);
    void readSettings();
    void arrangeDocks();
    // Selects what Find found, shows and raises the dock that lists it, and goes there.
    void chooseFound(const TFindHit& hit);
    void applyStartOptions();
    // Writes the run's settings in one go: nothing on success, else what the user is told.
    std::optional<QString> writeSettings();

    // Loads LevelFileName into the scene: nothing on success, else why it failed (a file that is no
    // level leaves the scene as it was). A damaged file loads as far as it could be read, with
    // `damage` saying what is wrong and where. Only failures other than the file's own raise.
    std::optional<QString> loadLevel(QString& damage);
    // A level that failed to open: a box, or quietFailure_ while opening quietly.
    void reportOpenFailure(const QString& message);
    void OpenClick();
    void Save2Click();
    void ExportLevelClick();
    // Whether a level is open; if not the user is told.
    bool levelOnScreen();
    void CopyClick();
    TBitmap viewPicture();
    void N3DEngineSetup1Click();
    void FileDrag1Drop();
    void DXDrawInitialize();
    void DXDrawInitializeSurface();
    void DXDrawFinalize();
    void DXTimerTimer();
    void DrawThreadExecute();
    void ApplicationActivated(bool active);
    bool ownsKeysOf(QObject* target) const;
    void fillDisplayModes();
    const TD3DSceneDisplayParam* selectedDisplayMode() const;

    TSettingsStore& store_;
    std::unique_ptr<TAppConfigKey> applicationKey_;
    TFormRestorer* restorer_ = nullptr;
    std::unique_ptr<TViewerSettings> settings_;
    TFileMenuHistory* history_ = nullptr;
    TFileDrag* fileDrag_ = nullptr;
    QStringList arguments_;
    std::string shownLevelFile_;  // the file of the level on screen, kept when another fails to open
    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    TLevelViewActions* levelView_ = nullptr;  // Flip Maps, Level Sky
    QAction *open_ = nullptr, *save_ = nullptr, *exportLevel_ = nullptr, *exit_ = nullptr, *copy_ = nullptr, *fullScreen_ = nullptr;
    QAction *setup_ = nullptr, *homePage_ = nullptr, *quickInfo_ = nullptr, *about_ = nullptr, *items_ = nullptr;
    QAction* find_ = nullptr;
    std::vector<TD3DSceneDisplayParam> displayParams_;
    TScreenSaverInhibitor screenSaver_;  // one per entry of DisplayModeBox
    TLevelInspector* inspector_ = nullptr;  // the items and rooms docks, picking, mouse look
    TFloorInspector* floorInspector_ = nullptr;  // the sector map and triggers docks, Show Triggers
    TModelInspector* models_ = nullptr;  // the Models panel and the model shown alone
    TPlacementInspector* placements_ = nullptr;  // lights, statics, cameras, sound sources; their marks
    TFindDock* findDock_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    TTopViewActions* topView_ = nullptr;  // View > Top View
    TMeasureTool* measure_ = nullptr;     // Tools > Measure
    TLevelFileWatcher* levelWatcher_ = nullptr;  // reloads the level on screen when its file changes
    QAction *reload_ = nullptr, *nextLevel_ = nullptr, *previousLevel_ = nullptr, *compare_ = nullptr;
    TFindingsDock *problemsDock_ = nullptr, *differencesDock_ = nullptr;
    bool quietOpen_ = false;  // OpenLevel keeps its failure in quietFailure_ instead of a box
    QString quietFailure_;
};

}  // namespace grottix
