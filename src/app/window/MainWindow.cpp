// The main window: creation, menus, tool bar, status bar, input, settings and destruction.

#include "app/window/MainWindow.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <iterator>

#include "app/window/AppIcons.h"
#include "viewer/DeviceSetup.h"
#include "app/window/FloorInspector.h"
#include "app/window/HelpDialogs.h"
#include "app/window/LevelInspector.h"
#include "app/window/MeasureTool.h"
#include "app/window/ModelInspector.h"
#include "app/window/TopViewActions.h"
#include "app/window/PlacementInspector.h"
#include "app/panels/FindDock.h"
#include "app/panels/LevelTableDock.h"
#include "app/panels/SectorMapDock.h"
#include "app/panels/TriggersDock.h"
#include "viewer/SkyBlobs.h"
#include "app/window/ViewerKeys.h"
#include "app/window/LevelViewActions.h"
#include "app/window/ViewerSettings.h"
#include "settings/AnotherReg.h"
#include "settings/FileDrag.h"
#include "settings/FileMenuHistory.h"
#include "settings/FormRestorer.h"
#include "settings/QtKeyTimer.h"
#include "settings/SettingsStore.h"

namespace grottix {

namespace {

constexpr int kDockWidth = 460;  // pixels: a row of the items or triggers table without scrolling
const QString kTitle = QStringLiteral("Grottix Viewer");

QAction* action(QWidget* owner, const QString& text, const QString& hint, const QKeySequence& shortcut = {}) {
    auto* item = new QAction(text, owner);
    item->setStatusTip(hint);
    item->setToolTip(hint);
    if (!shortcut.isEmpty()) item->setShortcut(shortcut);
    return item;
}

// Widgets whose keys are their own: text boxes, tables and lists, drop-down boxes.
bool TakesTypedKeys(const QWidget* focus) {
    return qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractItemView*>(focus) ||
           qobject_cast<const QComboBox*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus);
}

}  // namespace

TDXViewerForm::TDXViewerForm(TSettingsStore& store, QStringList arguments) : store_(store), arguments_(std::move(arguments)) {
    setObjectName(QStringLiteral("DXViewerForm"));
    setWindowTitle(kTitle);
    resize(648, 574);
    move(216, 128);
    setMinimumSize(384, 300);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    FloorRecord = MakeFloorRecord();

    applicationKey_ = std::make_unique<TAppConfigKey>(store, "Application", QtKeyTimers());
    ConfigureApplicationKey(*applicationKey_);
    restorer_ = new TFormRestorer(*this, store, "FormRestorer1", QtKeyTimers());
    restorer_->SetParentKey(applicationKey_.get());
    settings_ = std::make_unique<TViewerSettings>(*restorer_);

    DXDraw = new TDXDraw(this);
    DXDraw->setObjectName(QStringLiteral("DXDraw"));
    DXDraw->SetOptions({doAllowReboot, doWaitVBlank, doAllowPalette256, doStretch, doCenter, doFlip, do3D, doDirectX7Mode,
                        doHardware, doSelectDriver, doZBuffer});
    DXDraw->OnInitialize = [this](TCustomDXDraw&) { DXDrawInitialize(); };
    DXDraw->OnInitializeSurface = [this](TCustomDXDraw&) { DXDrawInitializeSurface(); };
    DXDraw->OnFinalize = [this](TCustomDXDraw&) { DXDrawFinalize(); };
    DXDraw->SetEmptyText(QString::fromLatin1(kEmptyViewHint));
    setCentralWidget(DXDraw);

    Scene = std::make_unique<TGrottixViewerScene>(DXDraw, false);
    Scene->SetNearDistance(0.5f);
    Scene->OnProcessMessages = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    Scene->SkyVertices = ExpandSkyVertices();
    SkyPicture = ExpandSkyPicture();

    createActions();
    createMenus();
    createReloadActions();
    createToolBar();
    createStatusBar();
    createInput();
    // Find first: the first dock of the right side stands above the others.
    findDock_ = new TFindDock(this);
    addDockWidget(Qt::RightDockWidgetArea, findDock_);
    findDock_->hide();
    findDock_->OnChosen = [this](const TFindHit& hit) { chooseFound(hit); };
    inspector_ = new TLevelInspector(*this, *viewMenu_);
    inspector_->OnShowRoom = [this](int room) { levelView_->ShowRoom(room); };
    inspector_->NameOtherSelection = [this] { return placements_->SelectionText(); };
    topView_ = new TTopViewActions(*this, *inspector_, *viewMenu_);
    measure_ = new TMeasureTool(*this, *inspector_, *toolsMenu_);
    inspector_->OnViewClick = [this](double x, double y) { return measure_->Click(x, y); };
    floorInspector_ = new TFloorInspector(*this, Selection, *Scene, *viewMenu_);
    floorInspector_->OnViewChanged = [this] { Pacing.Request(); };
    placements_ = new TPlacementInspector(*this, Selection, *Scene, *viewMenu_);
    placements_->OnViewChanged = [this] { Pacing.Request(); };
    placements_->OnShowRoom = [this](int room) { levelView_->ShowRoom(room); };
    createFindingsDocks();
    models_ = new TModelInspector(*this, *viewMenu_);
    arrangeDocks();
    connect(&Selection, &TSelection::Changed, this, [this] { Pacing.Request(); });

    DXTimer.SetInterval(1);
    DXTimer.SetActiveOnly(true);
    DXTimer.OnTimer = [this](TDXTimer&, int) { DXTimerTimer(); };
    DXTimer.SetEnabled(true);
    DrawThread.OnExecute = [this](TThreadComponent&) { DrawThreadExecute(); };
    createPacing();
    // Handled once the activation is over: the window being activated may be one that rebuilding the
    // display destroys (the OpenGL window in the view, where the platform activates child windows).
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { ApplicationActivated(state == Qt::ApplicationActive); },
            Qt::QueuedConnection);

    for (TMessageBox* box : {&ErrorMessageBox, &ClipboardErrorMessageBox, &MessageBox1, &DamagedLevelMessageBox}) {
        box->Caption = kTitle;
        box->Buttons = TMessageBoxButtons::mbxOK;
    }
    ErrorMessageBox.Icon = TMessageBoxIcon::mbxIconStop;
    ErrorMessageBox.Modality = TMessageBoxModality::mbxTaskModal;
    ClipboardErrorMessageBox.Icon = TMessageBoxIcon::mbxIconError;
    ClipboardErrorMessageBox.Modality = TMessageBoxModality::mbxTaskModal;
    ClipboardErrorMessageBox.Text = QStringLiteral("Can not copy to clipboard an empty bitmap!");
    MessageBox1.Icon = TMessageBoxIcon::mbxIconStop;
    MessageBox1.Text = QStringLiteral("Can not determine file type!");
    DamagedLevelMessageBox.Icon = TMessageBoxIcon::mbxIconWarning;
    DamagedLevelMessageBox.Modality = TMessageBoxModality::mbxTaskModal;

    readSettings();
    restorer_->Loaded();
    Eye.LastInputTime = TD3DScene::TickSeconds();
    QGuiApplication::restoreOverrideCursor();
}

TDXViewerForm::~TDXViewerForm() {
    Pacing.OnFrame = nullptr;  // a box shown while shutting down draws no frame
    DXInput.Keyboard.Enabled = false;
    DXInput.Mouse.Enabled = false;
    DrawThread.SetEnabled(false);
    DXTimer.SetEnabled(false);
    if (const std::optional<QString> failure = writeSettings()) ErrorMessageBox.Execute(*failure);
    DXDraw->Finalize();
    Scene.reset();
}

void TDXViewerForm::createActions() {
    open_ = action(this, tr("Open"), tr("Open Tomb Raider level to preview"), QKeySequence(Qt::CTRL | Qt::Key_O));
    save_ = action(this, tr("Save As.."), tr("Save current view as an image file on disk"), QKeySequence(Qt::CTRL | Qt::Key_S));
    exportLevel_ = action(this, tr("Export Level..."), tr("Export the level as glTF 2.0 for Blender and the web"));
    exit_ = action(this, tr("Exit"), tr("Exit the program"), QKeySequence(Qt::CTRL | Qt::Key_X));
    copy_ = action(this, tr("Copy"), tr("Copy current view to clipboard as bitmap"), QKeySequence(Qt::CTRL | Qt::Key_C));
    fullScreen_ = action(this, tr("Full Screen"), tr("Full screen 3D preview of the level"));
    setup_ = action(this, tr("3D Engine Setup..."), tr("Select 3D Engine options"));
    homePage_ = action(this, tr("Home page"), tr("Read the user guide"), QKeySequence(Qt::CTRL | Qt::Key_H));
    quickInfo_ = action(this, tr("Quick Info"), tr("Quick information for the application"), QKeySequence(Qt::Key_F1));
    about_ = action(this, tr("About"), tr("Information and copyright notice"));
    items_ = action(this, tr("Items"), tr("Show the level's items: pick-ups, doors, switches, traps and creatures"));
    find_ = action(this, tr("Find..."), tr("Find items, rooms, triggers, lights, static meshes, cameras and sound sources by name or number"),
                   QKeySequence(Qt::CTRL | Qt::Key_F));
    items_->setCheckable(true);
    open_->setIcon(CommandIcon(QStringLiteral("document-open")));
    save_->setIcon(CommandIcon(QStringLiteral("document-save-as")));
    copy_->setIcon(CommandIcon(QStringLiteral("edit-copy")));
    fullScreen_->setIcon(CommandIcon(QStringLiteral("view-fullscreen")));
    connect(open_, &QAction::triggered, this, [this] { OpenClick(); });
    connect(save_, &QAction::triggered, this, [this] { Save2Click(); });
    connect(exportLevel_, &QAction::triggered, this, [this] { ExportLevelClick(); });
    connect(exit_, &QAction::triggered, this, &QWidget::close);
    connect(copy_, &QAction::triggered, this, [this] { CopyClick(); });
    connect(fullScreen_, &QAction::triggered, this, [this] { ToggleFullScreen(); });
    connect(setup_, &QAction::triggered, this, [this] { N3DEngineSetup1Click(); });
    connect(homePage_, &QAction::triggered, this, [this] { OpenHomePage(this); });
    connect(quickInfo_, &QAction::triggered, this, [this] { ShowQuickInfo(this); });
    connect(about_, &QAction::triggered, this, [this] { ShowAbout(this); });
    connect(find_, &QAction::triggered, this, [this] { findDock_->Activate(); });
    connect(items_, &QAction::toggled, this, [this](bool on) {
        ItemsOn = on;
        Scene->SetItemsVisible(on);
        Pacing.Request();
    });
}

void TDXViewerForm::createMenus() {
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    fileMenu_->addAction(open_);
    fileMenu_->addAction(save_);
    fileMenu_->addAction(exportLevel_);
    fileMenu_->addSeparator();
    history_ = new TFileMenuHistory(this);
    for (int i = 0; i < TFileMenuHistory::SlotCount; ++i) {
        QAction* item = action(this, QString(), tr("Open this level"));
        fileMenu_->addAction(item);
        history_->AssignMenuItem(i, item);
    }
    history_->OnOpen = [this](QAction*, const QString& path) { OpenLevelFile(path.toStdString()); };
    fileMenu_->addSeparator();
    fileMenu_->addAction(exit_);
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] { history_->RefreshMenu(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(copy_);
    edit->addAction(find_);
    viewMenu_ = menuBar()->addMenu(tr("&View"));
    viewMenu_->addAction(fullScreen_);
    viewMenu_->addSeparator();
    viewMenu_->addAction(items_);
    levelView_ = new TLevelViewActions(*viewMenu_, *Scene, this);
    levelView_->OnViewChanged = [this] { Pacing.Request(); };
    toolsMenu_ = menuBar()->addMenu(tr("&Tools"));
    menuBar()->addMenu(tr("&Options"))->addAction(setup_);
    QMenu* help = menuBar()->addMenu(tr("Help"));
    help->addAction(homePage_);
    help->addAction(quickInfo_);
    help->addSeparator();
    help->addAction(about_);
}

void TDXViewerForm::createToolBar() {
    QToolBar* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("Tools"));  // named, so that the saved window layout can place it
    bar->setMovable(false);
    bar->addAction(open_);
    bar->addAction(save_);
    bar->addSeparator();
    bar->addAction(copy_);
    bar->addSeparator();
    DisplayModeBox = new QComboBox(bar);
    DisplayModeBox->setFixedWidth(145);
    DisplayModeBox->setStatusTip(tr("Fullscreen display mode"));
    DisplayModeBox->setToolTip(tr("Fullscreen display mode"));
    connect(DisplayModeBox, &QComboBox::activated, this, [this] { FocusView(); });
    bar->addWidget(DisplayModeBox);
    bar->addSeparator();
    bar->addAction(fullScreen_);
}

void TDXViewerForm::createStatusBar() {
    auto* panel = new QLabel(QLatin1Char(' ') + kTitle);
    panel->setMinimumWidth(300);
    statusBar()->addWidget(panel);
    connect(statusBar(), &QStatusBar::messageChanged, this, [panel](const QString& hint) {
        panel->setText(QLatin1Char(' ') + (hint.trimmed().isEmpty() ? kTitle : hint.trimmed()));
    });
}

void TDXViewerForm::createInput() {
    DXInput.Keyboard.Enabled = true;
    DXInput.Keyboard.BindInputStates = true;
    DXInput.Keyboard.KeyAssigns = DefaultKeyAssigns();
    DXInput.Mouse.Enabled = false;
    DXInput.Mouse.BindInputStates = false;
    DXInput.Joystick.Enabled = true;
    DXInput.Joystick.BindInputStates = true;
    DXInput.SetForegroundQuery([this] { return isActiveWindow() || (DXDraw->FullScreenWindow() && DXDraw->FullScreenWindow()->isActiveWindow()); });
    DXInput.SetKeyPressQuery([] { return !TakesTypedKeys(QApplication::focusWidget()); });
    qApp->installEventFilter(&DXInput);
    qApp->installEventFilter(this);
    fileDrag_ = new TFileDrag(this);
    fileDrag_->OnDrop = [this](TFileDrag&) { FileDrag1Drop(); };
}

void TDXViewerForm::readSettings() {
    const TViewerOptions options = settings_->ReadOptions();
    HardwareOn = options.UseHardwareAcceleration;
    HardwareChosen = options.HardwareAccelerationChosen;
    SetHardwareAcceleration(UsesOpenGL(), true);
    SafeModeOn = options.SafeMode;
    ApplySafeMode(SafeModeOn, true);
    TransparencyOn = options.Transparent;
    FilteringOn = options.TextureFiltering;
    ItemsOn = options.ShowItems;
    DrawEveryRoomOn = options.DrawEveryRoom;
    Scene->CullCells = !DrawEveryRoomOn;
    items_->setChecked(ItemsOn);
    levelView_->SetLevelSky(options.LevelSky);
    levelView_->SetAnimateItems(options.AnimateItems);
    levelView_->SetShowLara(options.ShowLara);
    inspector_->SetOrbit(options.OrbitCamera);
    topView_->SetOrthographic(options.TopViewOrthographic);
    for (const std::string& path : options.FileMenuHistoryPaths) history_->Paths().append(QString::fromStdString(path));
    LevelFileName.clear();
    LevelScale = 128;
    LightFactorValue = options.LightFactor;
    restoreState(QByteArray::fromBase64(QByteArray::fromStdString(options.DockLayout)));
}

// The layout before the settings' own: Find on top on the right, the tables tabbed in one dock
// below it, wide enough to read, and the sector map in a dock of its own below them.
void TDXViewerForm::arrangeDocks() {
    QDockWidget* tables[] = {inspector_->ItemsDock(), inspector_->RoomsDock(), floorInspector_->Triggers,
                             placements_->Lights,     placements_->Statics,    placements_->Cameras,
                             placements_->SoundSources};
    for (size_t i = 1; i < std::size(tables); ++i) tabifyDockWidget(tables[i - 1], tables[i]);
    splitDockWidget(tables[0], floorInspector_->SectorMap, Qt::Vertical);
    resizeDocks({tables[0]}, {kDockWidth}, Qt::Horizontal);
}

void TDXViewerForm::chooseFound(const TFindHit& hit) {
    QDockWidget* dock = nullptr;
    if (hit.kind == TSelection::TKind::Sector) {
        dock = floorInspector_->Triggers;
        Selection.SelectSector(hit.room, hit.column, hit.row);
    } else {
        dock = hit.kind == TSelection::TKind::Item   ? inspector_->ItemsDock()
               : hit.kind == TSelection::TKind::Room ? inspector_->RoomsDock()
                                                     : placements_->DockFor(hit.kind);
        Selection.Select(hit.kind, hit.index);
    }
    if (dock) {
        dock->show();
        dock->raise();
    }
    Selection.RequestGoTo();
}

std::optional<QString> TDXViewerForm::writeSettings() {
    const QString notSaved = QStringLiteral("The settings were not saved. %1");
    store_.BeginChanges();
    try {
        if (const TD3DSceneDisplayParam* mode = selectedDisplayMode())
            settings_->WriteDisplayMode({mode->Width, mode->Height, mode->BitsPerPixel});
        displayParams_.clear();
        TViewerOptions options;
        options.UseHardwareAcceleration = HardwareOn;
        options.HardwareAccelerationChosen = HardwareChosen;
        options.SafeMode = Scene->SafeMode;
        options.Transparent = TransparencyOn;
        options.TextureFiltering = FilteringOn;
        options.ShowItems = ItemsOn;
        options.DrawEveryRoom = DrawEveryRoomOn;
        options.LevelSky = levelView_->LevelSkyOn();
        options.AnimateItems = levelView_->AnimateItemsOn();
        options.ShowLara = levelView_->ShowLaraOn();
        options.OrbitCamera = inspector_->Orbiting();
        options.TopViewOrthographic = topView_->Orthographic();
        for (const QString& path : history_->Paths()) options.FileMenuHistoryPaths.push_back(path.toStdString());
        options.LightFactor = LightFactorValue;
        options.DockLayout = saveState().toBase64().toStdString();
        settings_->WriteOptions(options);
    } catch (const EGrottixError& error) {
        store_.CancelChanges();
        return notSaved.arg(QString::fromUtf8(error.what()));
    }
    if (store_.CommitChanges()) return std::nullopt;
    return notSaved.arg(QString::fromStdString(store_.LastError()));
}

bool TDXViewerForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::Close) store_.BeginChanges();
    if (event->type() == QEvent::KeyPress && ownsKeysOf(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool altEnter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::AltModifier);
        const bool escapeFullScreen = key->key() == Qt::Key_Escape && DXDraw->Options().Contains(doFullScreen);
        if ((altEnter || escapeFullScreen) && !key->isAutoRepeat()) {
            ToggleFullScreen();
            return true;
        }
    }
    return TDXForm::eventFilter(watched, event);
}

bool TDXViewerForm::ownsKeysOf(QObject* target) const {
    const auto* widget = qobject_cast<QWidget*>(target);
    return widget && (widget->window() == this || widget->window() == DXDraw->FullScreenWindow());
}

void TDXViewerForm::showEvent(QShowEvent* event) {
    TDXForm::showEvent(event);
    FocusView();
}

void TDXViewerForm::FocusView() {
    if (isVisible()) DXDraw->setFocus();
}

}  // namespace grottix
