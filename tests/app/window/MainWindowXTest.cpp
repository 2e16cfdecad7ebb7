// The main window as a person uses it, in real windows of the X server (Xvfb in the test script):
// key presses, the keyboard focus going to another program and coming back, the boxes and
// dialogs that come up and what the screen shows. Runs on the xcb platform, so it has a program
// of its own, and alone, since it moves the server's keyboard focus.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QSysInfo>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <functional>

#include "app/cli/CommandLine.h"
#include "app/window/HelpWindow.h"
#include "app/dialogs/EngineSetupDialog.h"
#include "app/window/MainWindow.h"
#include "app/window/OtherXClient.h"
#include "app/window/ViewerWindow.h"
#include "codecs/ImageCodecs.h"
#include "device/qt/OpenGLDevice.h"
#include "device/qt/QtTestApplication.h"
#include "level_writer/LevelWriter.h"
#include "settings/SettingsFileStore.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace grottix::test {
namespace {

const QString kGenerated = QStringLiteral(GROTTIX_GENERATED_DIR);
const QString kDemo = kGenerated + QStringLiteral("/demo/demo-tr4.tr4");

// What a message box showed when it came up; it is then answered with Enter.
struct TShownBox {
    QString Text;
    std::string Caption;  // as the X server holds it
    bool BusyCursor = false;
};

// Stands in for the desktop's handler of web, mail and file addresses while it lives: remembers
// what the program asked it to open.
class TUrlRecorder : public QObject {
    Q_OBJECT
public:
    TUrlRecorder() {
        for (const QString& scheme : schemes()) QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~TUrlRecorder() override {
        for (const QString& scheme : schemes()) QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> Opened;
public slots:
    void open(const QUrl& url) { Opened.append(url); }

private:
    static QStringList schemes() { return {"file", "http", "https", "mailto"}; }
};

class MainWindowXTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("DISPLAY")) {
            if (OpenGLRequired()) FAIL() << "an X server is required but DISPLAY is not set";
            GTEST_SKIP() << "no X server";
        }
        GROTTIX_REQUIRE_OPENGL();
        // OpenGL even where it is Mesa's software renderer, as under Xvfb.
        qputenv("GROTTIX_OPENGL", "1");
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        ASSERT_TRUE(other.Connected());
        NameViewerApplication();
        InitializeImageCodecs();
        // Message boxes are answered as they come up, whoever opened them.
        QObject::connect(&boxWatch, &QTimer::timeout, [this] { answerBox(); });
        boxWatch.start(20);
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(startFolder);
    }

    // Starts the program's window as the command line would and waits until it has the focus.
    void start(const QStringList& arguments = {}) {
        window = std::make_unique<TDXViewerForm>(store, arguments);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // Waits for a level opened from the command line to be in the scene.
    void waitForLevel() {
        QTRY_VERIFY_WITH_TIMEOUT(window->windowTitle() != QStringLiteral("Grottix Viewer") || !boxes.empty(), 20000);
    }
    std::string caption(QWidget& widget) { return other.WindowName(widget.winId()); }
    TOpenGLDevice* openGL() const { return dynamic_cast<TOpenGLDevice*>(window->DXDraw->D3DDevice7()); }
    // The level from its start: neither black nor one flat colour from top to bottom.
    static void expectLevel(const QImage& shown) {
        const QRgb top = shown.pixel(shown.width() / 2, shown.height() / 8), below = shown.pixel(shown.width() / 2, shown.height() * 7 / 8);
        EXPECT_NE(top, below);
        EXPECT_NE(top & 0xFFFFFF, 0u);
    }
    // After an animation step, when no frame follows at once: the screen shows the back buffer.
    void expectScreenShowsTheFrame(const std::function<QImage()>& shown) {
        QTest::qWait(300);  // past the whole frames asked for before: the next ones are steps
        for (int attempt = 0; attempt < 5; ++attempt) {
            const uint64_t before = window->Pacing.Frames();
            QTRY_VERIFY(window->Pacing.Frames() != before);
            const uint64_t drawn = window->Pacing.Frames();
            QTest::qWait(40);  // the frame reaches the screen
            const QImage screen = shown();
            TBitmap frame = window->DXDraw->BackBufferBitmap();
            if (window->Pacing.Frames() != drawn) continue;
            ASSERT_EQ(frame.PixelFormat(), TPixelFormat::pf32bit);
            const QImage back(frame.ScanLine(0), frame.Width(), frame.Height(), frame.BytesPerRow(), QImage::Format_RGB32);
            ASSERT_EQ(screen.size(), back.size());
            int differing = 0;
            for (int y = 0; y < back.height(); ++y)
                for (int x = 0; x < back.width(); ++x) differing += (screen.pixel(x, y) ^ back.pixel(x, y)) & 0xFFFFFF ? 1 : 0;
            EXPECT_EQ(differing, 0);
            return;
        }
        FAIL() << "no quiet moment between the animation's frames";
    }
    // Waits until the frames asked for so far are drawn: no frame for a while (on a loaded machine
    // the window's first frames and a step already due come late).
    void waitForQuiet() {
        for (int tries = 0; tries < 25; ++tries) {
            const uint64_t frames = window->Pacing.Frames();
            QTest::qWait(400);
            if (window->Pacing.Frames() == frames) return;
        }
    }
    // Without a window manager nobody gives the window the focus back when a box closes: the user
    // clicks it.
    void focusWindow() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void answerBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("answered").toBool()) return;
        box->setProperty("answered", true);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        boxes.push_back({box->text(), caption(*box), cursor && cursor->shape() == Qt::WaitCursor});
        QTest::keyClick(box, Qt::Key_Return);
    }

    // Runs `inDialog` once the modal dialog that `open` brings up is showing; `open` returns when
    // the dialog has closed.
    void whileModal(const std::function<void()>& open, const std::function<void(QWidget&)>& inDialog) {
        bool ran = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (ran || !dialog || qobject_cast<QMessageBox*>(dialog) || !dialog->isVisible()) return;
            ran = true;
            inDialog(*dialog);
            // A dialog the keys did not close fails the test instead of hanging it.
            QTimer::singleShot(3000, dialog, [dialog] {
                if (auto* open = qobject_cast<QDialog*>(dialog); open && open->isVisible()) {
                    ADD_FAILURE() << "the dialog stayed open";
                    open->reject();
                }
            });
        });
        poll.start(20);
        open();
        EXPECT_TRUE(ran) << "no dialog came up";
    }

    const QString startFolder = QDir::currentPath();
    TempDir dir;
    TSettingsFileStore store{QString::fromStdString(dir.file("config/GrottixViewer.json"))};
    std::unique_ptr<TDXViewerForm> window;
    TOtherXClient other;
    QTimer boxWatch;
    std::vector<TShownBox> boxes;
};

TEST_F(MainWindowXTest, FullScreenSurvivesFocusGoingToAnotherProgramAndBackTwiceAndEscapeLeavesIt) {
    start({kDemo});
    waitForLevel();
    // The window shows the level as OpenGL draws it, without reading a frame back.
    QTRY_VERIFY_WITH_TIMEOUT(openGL() && openGL()->FramesPresented() >= 3, 20000);
    EXPECT_EQ(openGL()->FramesReadBack(), 0u);
    const QPoint corner = window->DXDraw->mapToGlobal(QPoint(0, 0));
    const QImage shown = window->screen()->grabWindow(0, corner.x(), corner.y(), window->DXDraw->width(), window->DXDraw->height()).toImage();
    expectLevel(shown);

    QTest::keyClick(window->DXDraw, Qt::Key_Return, Qt::AltModifier);
    const QPointer<QWidget> view = window->DXDraw->FullScreenWindow();
    ASSERT_TRUE(view);
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    EXPECT_EQ(view->cursor().shape(), Qt::BlankCursor) << "no mouse pointer over the full-screen view";

    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        other.TakeFocus();
        QTRY_COMPARE(QGuiApplication::applicationState(), Qt::ApplicationInactive);
        ASSERT_TRUE(view);
        other.GiveFocus(view->winId());
        QTRY_COMPARE(QGuiApplication::applicationState(), Qt::ApplicationActive);
        QTest::qWait(300);
        ASSERT_TRUE(view) << "the full-screen view was rebuilt under its own activation";
        EXPECT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
        EXPECT_TRUE(window->DXDraw->CanDraw());
    }
    // The screen shows the level stretched over it, still without frames read back.
    QTRY_VERIFY_WITH_TIMEOUT(openGL() && openGL()->FramesPresented() >= 3, 20000);
    EXPECT_EQ(openGL()->FramesReadBack(), 0u);
    const QImage screen = view->screen()->grabWindow(0).toImage();
    ASSERT_EQ(screen.size(), view->screen()->size());
    expectLevel(screen);

    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(window->DXDraw->NowOptions().Contains(doFullScreen));
    QTRY_VERIFY(!view);
    EXPECT_TRUE(window->isVisible());
    EXPECT_NE(window->DXDraw->cursor().shape(), Qt::BlankCursor) << "the pointer is back";
    window.reset();
    EXPECT_TRUE(boxes.empty());
    QFile settings(store.FileName());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("demo-tr4.tr4"))
        << "the run's settings were written";
}

TEST_F(MainWindowXTest, AltEnterInADialogLeavesTheMainWindowAloneAndWorksInTheWindow) {
    start();
    bool fullScreenUnderTheDialog = true;
    whileModal([&] { QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier); },
               [&](QWidget& dialog) {
                   QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Return, Qt::AltModifier);
                   fullScreenUnderTheDialog = window->DXDraw->Options().Contains(doFullScreen) || !window->isVisible();
                   QTest::keyClick(&dialog, Qt::Key_Escape);
               });
    EXPECT_FALSE(fullScreenUnderTheDialog);
    EXPECT_FALSE(window->DXDraw->NowOptions().Contains(doFullScreen));
    EXPECT_TRUE(window->isVisible());

    QTest::keyClick(window->DXDraw, Qt::Key_Return, Qt::AltModifier);
    ASSERT_TRUE(window->DXDraw->NowOptions().Contains(doFullScreen));
    QTest::keyClick(window->DXDraw->FullScreenWindow(), Qt::Key_Escape);
    EXPECT_FALSE(window->DXDraw->NowOptions().Contains(doFullScreen));
}

TEST_F(MainWindowXTest, DrawEveryRoomInTheEngineSetupDrawsTheRoomOutOfSightAndIsKept) {
    start({kDemo});
    waitForLevel();
    QTRY_COMPARE_WITH_TIMEOUT(window->Scene->CellsDrawnCount, size_t(3), 20000);  // the storeroom is out of sight
    QAction* setup = nullptr;
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == QStringLiteral("3D Engine Setup...")) setup = action;
    ASSERT_NE(setup, nullptr);
    whileModal([&] { setup->trigger(); },
               [&](QWidget& dialog) {
                   QCheckBox* everyRoom = nullptr;
                   for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
                       if (box->text() == QStringLiteral("Draw every room")) everyRoom = box;
                   ASSERT_NE(everyRoom, nullptr);
                   EXPECT_FALSE(everyRoom->isChecked()) << "off by default";
                   QTest::mouseClick(everyRoom, Qt::LeftButton);
                   QTest::keyClick(&dialog, Qt::Key_Return);
               });
    QTRY_COMPARE_WITH_TIMEOUT(window->Scene->CellsDrawnCount, size_t(4), 20000);
    window.reset();
    start();
    EXPECT_TRUE(window->DrawEveryRoomOn) << "kept in the settings";
}

TEST_F(MainWindowXTest, OnASoftwareOpenGLTheWindowDrawsOnTheCpuUntilTheUserTicksHardwareAcceleration) {
    if (!TOpenGLDevice::SoftwareRenderer()) GTEST_SKIP() << "OpenGL here is " << TOpenGLDevice::RendererName();
    qunsetenv("GROTTIX_OPENGL");
    start({kDemo});
    waitForLevel();
    EXPECT_EQ(openGL(), nullptr) << "the CPU rasterizer draws";
    QAction* setup = nullptr;
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == QStringLiteral("3D Engine Setup...")) setup = action;
    ASSERT_NE(setup, nullptr);
    whileModal([&] { setup->trigger(); },
               [&](QWidget& dialog) {
                   auto* form = dynamic_cast<TGrottix3DEngineSetupForm*>(&dialog);
                   ASSERT_NE(form, nullptr);
                   EXPECT_TRUE(form->Note()->isVisible());
                   EXPECT_TRUE(form->Note()->text().contains(QString::fromStdString(TOpenGLDevice::RendererName())));
                   EXPECT_FALSE(form->CheckBox1()->isChecked()) << "the box shows what the window does";
                   QTest::mouseClick(form->CheckBox1(), Qt::LeftButton);
                   QTest::keyClick(&dialog, Qt::Key_Return);
               });
    QTRY_VERIFY_WITH_TIMEOUT(openGL() != nullptr, 20000);
    window.reset();
    start();
    EXPECT_NE(openGL(), nullptr) << "the choice is kept";
}

TEST_F(MainWindowXTest, LoadAndSaveErrorsComeUnderTheNormalCursorAndNameTheFile) {
    // Bytes of no known level.
    const QString unknown = QString::fromStdString(dir.file("unknown.tr4"));
    QFile file(unknown);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(64, '\xAB'));
    file.close();
    start({unknown});
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), size_t(1), 20000);
    EXPECT_TRUE(boxes[0].Text.startsWith(QStringLiteral("File %1: ").arg(unknown))) << boxes[0].Text.toStdString();
    EXPECT_GT(boxes[0].Text.size(), unknown.size() + 8) << "and says what is wrong with it";
    EXPECT_FALSE(boxes[0].BusyCursor);
    EXPECT_EQ(boxes[0].Caption, "Grottix Viewer");
    EXPECT_EQ(caption(*window), "Grottix Viewer");
    EXPECT_TRUE(window->Scene->Objects.empty()) << "nothing of the file stays";

    window->OpenLevelFile("/nonexistent/level.tr4");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, QStringLiteral("File /nonexistent/level.tr4: Map not found"));
    EXPECT_FALSE(boxes[1].BusyCursor);

    focusWindow();
    whileModal([&] { QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier); },
               [&](QWidget& dialog) {
                   auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                   ASSERT_NE(name, nullptr);
                   name->setText(QString::fromStdString(dir.file("view.jpg")));
                   QTest::keyClick(name, Qt::Key_Return);
               });
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].Text, QStringLiteral("Can not determine file type!"));
    EXPECT_FALSE(boxes[2].BusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowXTest, ADamagedLevelShowsWhatCouldBeReadAndSaysWhereItIsDamaged) {
    // A TR1 level cut inside its third room.
    const QString damaged = QString::fromStdString(dir.file("damaged.phd"));
    ASSERT_TRUE(QFile::copy(kGenerated + "/demo/demo-tr1.phd", damaged));
    ASSERT_TRUE(QFile::resize(damaged, QFile(damaged).size() * 9 / 10));
    start({damaged});
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), size_t(1), 20000);
    EXPECT_TRUE(boxes[0].Text.startsWith(QStringLiteral("File %1: Damaged file: ").arg(damaged))) << boxes[0].Text.toStdString();
    EXPECT_TRUE(boxes[0].Text.contains("in the rooms (room 2)")) << boxes[0].Text.toStdString();
    EXPECT_FALSE(boxes[0].BusyCursor);
    EXPECT_EQ(caption(*window), "Grottix Viewer - " + damaged.toStdString());
    // Its object textures lie beyond the damage: the rooms read before it are shown untextured.
    const auto shown = std::count_if(window->Scene->Objects.begin(), window->Scene->Objects.end(),
                                     [](const auto& entry) { return entry.Name.empty() && !entry.Item->Hidden; });
    EXPECT_GT(shown, 0);
}

TEST_F(MainWindowXTest, ATr4LevelCutInItsSamplesOpensWholeWithTheWarningBox) {
    const QString cut = QString::fromStdString(dir.file("cut.tr4"));
    ASSERT_TRUE(QFile::copy(kDemo, cut));
    ASSERT_TRUE(QFile::resize(cut, QFile(cut).size() - 1));
    start({cut});
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), size_t(1), 20000);
    EXPECT_TRUE(boxes[0].Text.startsWith(QStringLiteral("File %1: Damaged file: the data ends early in the samples at byte ").arg(cut)))
        << boxes[0].Text.toStdString();
    EXPECT_EQ(caption(*window), "Grottix Viewer - " + cut.toStdString());
    EXPECT_FALSE(window->Scene->Shared->Textures.empty()) << "everything before the samples is shown, textures too";
}

TEST_F(MainWindowXTest, ALevelNamedRelativeToTheStartFolderOpensFromTheRecentFilesAnywhere) {
    QDir::setCurrent(kGenerated);
    start({QStringLiteral("demo/demo-tr4.tr4")});
    waitForLevel();
    EXPECT_EQ(caption(*window), "Grottix Viewer - " + kDemo.toStdString());
    window->Scene->Reset();

    QDir::setCurrent(QString::fromStdString(dir.path()));
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    auto* fileMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(fileMenu, nullptr);
    QTest::keyClick(fileMenu, Qt::Key_1);
    EXPECT_TRUE(boxes.empty()) << boxes.front().Text.toStdString();
    EXPECT_FALSE(window->Scene->Objects.empty()) << "the level opened again";
    EXPECT_EQ(caption(*window), "Grottix Viewer - " + kDemo.toStdString());
}

TEST_F(MainWindowXTest, HelpOpensTheGuideInItsOwnWindowWithWorkingLinksAndAboutNamesTheVersion) {
    const TUrlRecorder desktop;
    start();
    QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier);
    THelpWindow* help = THelpWindow::Of(window.get());
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    QTextBrowser& browser = *help->Browser();
    const QUrl guide = browser.source();
    EXPECT_TRUE(guide.isLocalFile()) << guide.toString().toStdString();
    EXPECT_TRUE(browser.toPlainText().contains("PageUp")) << "the guide lists the keys";
    // A link of the contents line, reached with the keyboard, leads to its section in the window.
    browser.setFocus();
    QTest::keyClick(&browser, Qt::Key_Tab);
    QTest::keyClick(&browser, Qt::Key_Return);
    QTRY_VERIFY(browser.isBackwardAvailable());
    EXPECT_FALSE(browser.source().fragment().isEmpty()) << browser.source().toString().toStdString();
    EXPECT_TRUE(desktop.Opened.isEmpty()) << "no browser needed";
    help->close();

    focusWindow();
    whileModal([&] { QTest::keyClick(window.get(), Qt::Key_F1); },
               [&](QWidget& dialog) {
                   EXPECT_EQ(caption(dialog), "Quick Info");
                   EXPECT_TRUE(dialog.findChild<QPlainTextEdit*>()->toPlainText().contains("<W>, <A>, <S>, <D>"));
                   bool linked = false;
                   for (const QLabel* label : dialog.findChildren<QLabel*>()) linked |= label->text().contains(guide.toString());
                   EXPECT_TRUE(linked) << "Quick Info links the user guide";
                   QTest::keyClick(&dialog, Qt::Key_Escape);
               });

    QMenuBar* bar = window->menuBar();
    QAction* helpMenu = nullptr;
    for (QAction* item : bar->actions()) if (item->text() == QStringLiteral("Help")) helpMenu = item;
    ASSERT_NE(helpMenu, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(helpMenu).center());
    QMenu* menu = helpMenu->menu();
    QTRY_VERIFY(menu->isVisible());
    QAction* about = menu->actions().back();
    ASSERT_EQ(about->text(), QStringLiteral("About"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(about).center());
    ASSERT_EQ(boxes.size(), 1u);
    testing::internal::CaptureStdout();
    RunCommandLine({"--version"});
    const QString version = QString::fromStdString(testing::internal::GetCapturedStdout()).trimmed();
    EXPECT_TRUE(boxes[0].Text.contains(version)) << boxes[0].Text.toStdString() << " lacks " << version.toStdString();
    EXPECT_TRUE(boxes[0].Text.contains(QSysInfo::prettyProductName())) << boxes[0].Text.toStdString();
    EXPECT_TRUE(boxes[0].Text.contains(QString::fromLatin1(qVersion())));
    EXPECT_EQ(boxes[0].Caption, "About Grottix Viewer");
    EXPECT_TRUE(desktop.Opened.isEmpty());
}

// Holds a key of the view for a moment, as a person does, and on a slow machine until a frame has
// done what the key does (moved) or a few seconds have gone by.
void hold(QWidget* view, Qt::Key key, const std::function<bool()>& moved, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyPress(view, key, modifiers);
    QTest::qWait(250);
    QTRY_VERIFY_WITH_TIMEOUT(moved(), 5000);
    QTest::keyRelease(view, key, modifiers);
    QTest::qWait(50);
}

TEST_F(MainWindowXTest, TheMainKeyboardDoesEveryMoveAndHomeGoesBackToTheStart) {
    start({kDemo});
    waitForLevel();
    QWidget* view = window->DXDraw;
    const auto eye = [&] { return window->Scene->GetCameraPosition(); };
    const auto angles = [&] { return window->Scene->GetCameraRotation(); };
    const TD3DVector start = eye(), startAngles = angles();

    // Looking up, away from the animated water, the window draws nothing for a while.
    hold(view, Qt::Key_PageUp, [&] { return angles().x > startAngles.x; });
    QTest::qWait(1500);
    const TD3DVector stood = eye();
    QTest::keyPress(view, Qt::Key_W);
    QTRY_VERIFY(window->Pacing.Continuous());
    QTest::qWait(250);
    QTest::keyRelease(view, Qt::Key_W);
    QTRY_VERIFY(!window->Pacing.Continuous());  // frames stop with the key
    EXPECT_GT(DistanceBetween(eye(), stood), 0.5f) << "W walks";
    EXPECT_LT(DistanceBetween(eye(), stood), 12 * 1.0f) << "no jump for the time the eye stood still";

    float before = angles().y;
    hold(view, Qt::Key_D, [&] { return angles().y > before; });
    EXPECT_GT(angles().y, before) << "D turns right";
    EXPECT_GT(angles().x, startAngles.x) << "PageUp looked up";
    before = angles().x;
    hold(view, Qt::Key_PageDown, [&] { return angles().x < before; });
    EXPECT_LT(angles().x, before) << "PageDown looks down";
    before = eye().y;
    hold(view, Qt::Key_Equal, [&] { return eye().y > before; });
    EXPECT_GT(eye().y, before) << "= (the + key) rises";
    before = eye().y;
    hold(view, Qt::Key_Minus, [&] { return eye().y < before; });
    EXPECT_LT(eye().y, before) << "- descends";
    const TD3DVector here = eye();
    hold(view, Qt::Key_8, [&] { return DistanceBetween(eye(), here) > 0.5f; }, Qt::KeypadModifier);
    EXPECT_GT(DistanceBetween(eye(), here), 0.5f) << "the keypad still walks";

    hold(view, Qt::Key_Home, [&] { return eye() == start; });
    EXPECT_EQ(eye(), start);
    EXPECT_EQ(angles(), startAngles);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowXTest, AnIdleWindowDrawsNothingWithoutALevelAndOnlyTheAnimationWithOne) {
    start();
    waitForQuiet();
    const QPoint corner = window->DXDraw->mapToGlobal(QPoint(0, 0));
    const auto shown = [&] {
        return window->screen()->grabWindow(0, corner.x(), corner.y(), window->DXDraw->width(), window->DXDraw->height()).toImage();
    };
    const QImage empty = shown();
    const QRect middle(empty.width() / 4, empty.height() * 2 / 5, empty.width() / 2, empty.height() / 5);
    int lit = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x) lit += (empty.pixel(x, y) & 0xFFFFFF) != 0;
    EXPECT_GT(lit, 50) << "the hint is written across the middle";
    EXPECT_EQ(empty.pixel(4, 4) & 0xFFFFFF, 0u) << "on black";
    const uint64_t drawn = window->Pacing.Frames();
    QTest::qWait(1000);
    EXPECT_EQ(window->Pacing.Frames(), drawn) << "no level, no frames";

    window->OpenLevelFile(kDemo.toStdString());
    QTest::qWait(500);
    const uint64_t opened = window->Pacing.Frames();
    QTest::qWait(2000);
    const uint64_t animated = window->Pacing.Frames() - opened;
    EXPECT_GE(animated, 2u) << "the water's animation goes on";
    EXPECT_LE(animated, 2u * 6 + 3) << "at its own pace, not the display's";
    EXPECT_FALSE(window->Pacing.Continuous());
    expectLevel(shown());
    // The animation's steps draw only the pool's part of the view: the screen still shows the
    // whole frame, through OpenGL and through the CPU rasterizer.
    expectScreenShowsTheFrame(shown);
    window->HardwareOn = false;
    window->SetHardwareAcceleration(false, false);
    ASSERT_FALSE(openGL());
    expectScreenShowsTheFrame(shown);

    // Looking straight up, the water is out of view: its steps would change nothing on the screen.
    window->Scene->SetCameraRotation({1.5707964f, 0, 0});
    window->Pacing.Request();
    waitForQuiet();
    const uint64_t away = window->Pacing.Frames();
    QTest::qWait(1000);
    EXPECT_EQ(window->Pacing.Frames(), away);
}

TEST_F(MainWindowXTest, SaveAsWritesPngAndExportSaysWhereTheLevelWent) {
    start({kDemo});
    waitForLevel();
    const QString picture = QString::fromStdString(dir.file("view.png"));
    whileModal([&] { QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier); },
               [&](QWidget& dialog) {
                   auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                   ASSERT_NE(name, nullptr);
                   name->setText(picture);
                   QTest::keyClick(name, Qt::Key_Return);
               });
    const QImage saved(picture, "PNG");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), window->DXDraw->size());
    expectLevel(saved);

    const std::string glb = dir.file("level.glb");
    window->ExportLevel(glb);
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Level exported to %1").arg(QString::fromStdString(glb)));
    window->ExportLevel("/nonexistent/level.glb");
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith("The level was not exported: "))
        << window->statusBar()->currentMessage().toStdString();
    ASSERT_EQ(boxes.size(), 1u) << "and the box says why";
}

TEST_F(MainWindowXTest, ALevelBeyondTheReadersLimitsIsNamedWithTheLimit) {
    levelwriter::LevelDescription many;
    many.code = 3;
    many.tileCount = 2;
    many.rooms.resize(5000);
    const std::string level = dir.file("many.tr2");
    levelwriter::WriteLevelFile(many, level);
    start({QString::fromStdString(level)});
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), size_t(1), 20000);
    EXPECT_TRUE(boxes[0].Text.startsWith(QString::fromStdString("File " + level + ": File too large: 5000 rooms, more than the 4096 this program reads")))
        << boxes[0].Text.toStdString();
}

TEST_F(MainWindowXTest, ViewFlipMapsFloodsTheStoreroomForOneGroupAndBackWhileTheEyeStays) {
    start({kDemo});
    waitForLevel();
    // Facing the storeroom from the hall; the flooded alternate stands in its place.
    window->Scene->SetCameraRotation({0, 0.9f, 0});
    const TD3DVector eye = window->Scene->GetCameraPosition();
    const auto view = [&] {
        const auto frames = openGL() ? openGL()->FramesPresented() : 0;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !openGL() || openGL()->FramesPresented() >= frames + 3; }, 5000));
        const QPoint corner = window->DXDraw->mapToGlobal(QPoint(0, 0));
        return window->screen()->grabWindow(0, corner.x(), corner.y(), window->DXDraw->width(), window->DXDraw->height()).toImage();
    };
    const QImage dry = view();
    QMenuBar* bar = window->menuBar();
    QAction* viewItem = nullptr;
    for (QAction* item : bar->actions()) if (item->text() == QStringLiteral("&View")) viewItem = item;
    ASSERT_NE(viewItem, nullptr);
    QAction* flip = nullptr;
    for (QAction* item : viewItem->menu()->actions()) if (item->text() == QStringLiteral("Flip Maps")) flip = item;
    ASSERT_NE(flip, nullptr);
    ASSERT_NE(flip->menu(), nullptr) << "TR4 levels flip by group";
    const auto pick = [&](const QString& text) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(viewItem).center());
        QTRY_VERIFY(viewItem->menu()->isVisible());
        QTest::mouseClick(viewItem->menu(), Qt::LeftButton, {}, viewItem->menu()->actionGeometry(flip).center());
        QMenu* groups = flip->menu();
        QTRY_VERIFY(groups->isVisible());
        QAction* choice = nullptr;
        for (QAction* item : groups->actions()) if (item->text() == text) choice = item;
        ASSERT_NE(choice, nullptr) << text.toStdString();
        QTest::mouseClick(groups, Qt::LeftButton, {}, groups->actionGeometry(choice).center());
    };
    pick(QStringLiteral("Group 1"));
    EXPECT_EQ(window->Scene->FlipState, TFlipState::Group(1));
    const QImage flooded = view();
    EXPECT_EQ(window->Scene->GetCameraPosition(), eye) << "the eye stays where it is";
    pick(QStringLiteral("Group 1"));
    EXPECT_EQ(window->Scene->FlipState, TFlipState{});
    // Back as it was, but for the pool's animated water glimpsed through the door.
    const auto differing = [&](const QImage& a) {
        int count = 0;
        for (int y = 0; y < dry.height(); ++y)
            for (int x = 0; x < dry.width(); ++x) count += a.pixel(x, y) != dry.pixel(x, y);
        return count;
    };
    EXPECT_GT(differing(flooded), dry.width() * dry.height() / 10);
    EXPECT_LT(differing(view()), dry.width() * dry.height() / 200);

    // Go to the flooded storeroom, hidden now: its group is flipped (the menu says so), and back.
    const auto& rooms = window->Scene->Flips.Rooms();
    const auto alternate = int(std::find_if(rooms.begin(), rooms.end(), [](const TRoomFlip& r) { return r.primary >= 0; }) - rooms.begin());
    ASSERT_LT(size_t(alternate), rooms.size());
    const auto goTo = [&](int room) {
        window->Selection.SelectRoom(room);
        window->Selection.RequestGoTo();
        EXPECT_EQ(window->Scene->EyeRoom(), room);
    };
    goTo(alternate);
    EXPECT_EQ(window->Scene->FlipState, TFlipState::Group(1));
    const QList<QAction*> groups = flip->menu()->actions();
    EXPECT_TRUE(std::any_of(groups.begin(), groups.end(), [](QAction* a) { return a->isChecked() && a->text() == "Group 1"; }));
    goTo(rooms[size_t(alternate)].primary);
    EXPECT_EQ(window->Scene->FlipState, TFlipState{});
}

TEST_F(MainWindowXTest, SettingsThatCannotBeWrittenAtShutDownAreReportedAndNoneIsWritten) {
    start();
    QTest::keyClick(window.get(), Qt::Key_X, Qt::ControlModifier);
    window.reset();
    ASSERT_TRUE(boxes.empty());
    QFile file(store.FileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    start({kDemo});
    waitForLevel();
    window->TransparencyOn = false;
    {
        // The recent file does not fit any more, the changed option alone would.
        const TFileSizeLimit full(rlim_t(before.size()) + 16);
        QTest::keyClick(window.get(), Qt::Key_X, Qt::ControlModifier);
        window.reset();
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before) << "nothing of the shut-down was written";
    ASSERT_EQ(boxes.size(), 1u) << "the user is told";
    EXPECT_TRUE(boxes[0].Text.contains(store.FileName())) << boxes[0].Text.toStdString();
    EXPECT_TRUE(boxes[0].Text.contains(QStringLiteral("the disk is full")));
}

}  // namespace
}  // namespace grottix::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "MainWindowXTest.moc"
