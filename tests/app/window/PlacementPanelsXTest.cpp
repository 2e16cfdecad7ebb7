// The Lights, Static Meshes, Cameras and Sound Sources panels, their marks in the view and Find, as
// a person uses them in a real window of the X server (Xvfb in the test script): View menu entries
// clicked, rows double-clicked, Ctrl+F, typing and Enter, the view's pixels.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <cstdlib>

#include "app/panels/FindDock.h"
#include "app/panels/LevelTableDock.h"
#include "app/panels/PlacementModels.h"
#include "app/window/MainWindow.h"
#include "app/window/ViewerWindow.h"
#include "codecs/ImageCodecs.h"
#include "device/qt/QtTestApplication.h"
#include "level/LevelGoTo.h"
#include "level/ObjectNames.h"
#include "settings/SettingsFileStore.h"
#include "support/PlacementLevel.h"
#include "support/TempDir.h"

namespace grottix::test {
namespace {

class PlacementPanelsXTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("DISPLAY")) {
            if (OpenGLRequired()) FAIL() << "an X server is required but DISPLAY is not set";
            GTEST_SKIP() << "no X server";
        }
        GROTTIX_REQUIRE_OPENGL();
        NameViewerApplication();
        InitializeImageCodecs();
    }

    // A new window on the level of the code, as the program starts with a file named; it reads the
    // settings the window before it left.
    void open(int code) {
        static const char* const names[] = {"", "a.phd", "a.tub", "a.tr2", "a.trg", "a.tr2", "a.tr4", "a.trc"};
        const std::string path = dir.file(names[code]);
        levelwriter::WriteLevelFile(PlacementLevel(code), path);
        window.reset();
        window = std::make_unique<TDXViewerForm>(store, QStringList{QString::fromStdString(path)});
        window->resize(1100, 700);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->Scene->Level && window->windowTitle().contains(QString::fromLatin1(names[code])); }, 20000));
        ASSERT_EQ(window->Scene->LevelVersionCode, code);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->DXDraw->CanDraw(); }, 20000));
    }
    // Opens View with Alt+V and clicks the entry.
    void clickViewEntry(const QString& text) {
        QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->text() == text) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        FAIL() << "no entry " << text.toStdString();
    }
    TLevelTableDock* dock(const char* name) { return window->findChild<TLevelTableDock*>(QString::fromLatin1(name)); }
    // How many pixels of the view are of the kind, in the picture Edit > Copy puts on the clipboard
    // (a screen grab of Qt's offscreen platform holds no OpenGL pixels).
    template <typename Wanted>
    int countInView(Wanted wanted) {
        QAction* copy = nullptr;
        for (QAction* menu : window->menuBar()->actions())
            if (menu->menu() && menu->text() == QStringLiteral("&Edit"))
                for (QAction* item : menu->menu()->actions())
                    if (item->text() == QStringLiteral("Copy")) copy = item;
        if (!copy) return -1;
        copy->trigger();
        const QImage shown = QApplication::clipboard()->image();
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) count += wanted(shown.pixelColor(x, y));
        return count;
    }
    void expectEyeAt(const TEyePlacement& expected) {
        const TD3DVector eye = window->Scene->GetCameraPosition();
        EXPECT_NEAR(eye.x, expected.x / 128, 1e-3);
        EXPECT_NEAR(eye.y, -expected.y / 128, 1e-3);
        EXPECT_NEAR(eye.z, expected.z / 128, 1e-3);
    }
    bool statusShows(const QString& text) {
        for (const QLabel* label : window->statusBar()->findChildren<QLabel*>())
            if (label->text().contains(text)) return true;
        return false;
    }
    static bool raised(QWidget* dock) { return dock->isVisible() && !dock->visibleRegion().isEmpty(); }

    TempDir dir;
    TSettingsFileStore store{QString::fromStdString(dir.file("config/GrottixViewer.json"))};
    std::unique_ptr<TDXViewerForm> window;
};

// The light marks' orange, none of the selection outline's yellow or the reach's pale orange.
bool lightMark(QColor c) { return c.red() > 200 && c.green() > 100 && c.green() < 170 && c.blue() < 80; }

TEST_F(PlacementPanelsXTest, ALightRowGoesToTheLightAndShowLightsMarksItInEachLayout) {
    struct TLayout {
        int code;
        std::vector<int> shown, hidden;
    };
    const TLayout layouts[] = {
        {1, {TLightsModel::Intensity, TLightsModel::Fade}, {TLightsModel::Colour, TLightsModel::Out, TLightsModel::Range}},
        {6, {TLightsModel::Colour, TLightsModel::In, TLightsModel::Out, TLightsModel::Length, TLightsModel::CutOff},
         {TLightsModel::Fade, TLightsModel::Range}},
        {7, {TLightsModel::Colour, TLightsModel::RadiansIn, TLightsModel::Range}, {TLightsModel::Intensity, TLightsModel::Length}},
    };
    for (const TLayout& layout : layouts) {
        SCOPED_TRACE(layout.code);
        open(layout.code);
        TLevelTableDock* lights = dock("LightsPanel");
        ASSERT_NE(lights, nullptr);
        if (layout.code == 1) clickViewEntry(QStringLiteral("Lights Panel"));
        else EXPECT_TRUE(lights->isVisible()) << "the panel's place is kept in the settings";
        ASSERT_TRUE(QTest::qWaitFor([&] { return lights->isVisible(); }));
        QTableView* table = lights->Table();
        ASSERT_EQ(table->model()->rowCount(), 1);
        for (int column : layout.shown) EXPECT_FALSE(table->isColumnHidden(column)) << column;
        for (int column : layout.hidden) EXPECT_TRUE(table->isColumnHidden(column)) << column;

        const QRect row = table->visualRect(table->model()->index(0, TLightsModel::Kind));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row.center());
        EXPECT_EQ(window->Selection.Index(TSelection::TKind::Light), 0);
        expectEyeAt(GoToPoint(*window->Scene->Level, 0, 0, -1024, 0));
        EXPECT_TRUE(QTest::qWaitFor([&] { return statusShows(QStringLiteral("Light 0 of room 0 (point)")); }));

        const int plain = countInView(lightMark);
        ASSERT_GE(plain, 0);
        clickViewEntry(QStringLiteral("Show &Lights"));
        EXPECT_GT(countInView(lightMark), plain + 100) << "the light's mark in the middle of the view";
        EXPECT_FALSE(window->Scene->Marks.lines.empty()) << "and the selected light's reach";
    }
}

TEST_F(PlacementPanelsXTest, EnterOnACameraRowGoesThereAndShowCamerasMarksCamerasAndSinks) {
    open(6);
    clickViewEntry(QStringLiteral("Cameras Panel"));
    TLevelTableDock* cameras = dock("CamerasPanel");
    ASSERT_TRUE(cameras && cameras->isVisible());
    QTableView* table = cameras->Table();
    ASSERT_EQ(table->model()->rowCount(), 2);
    table->setFocus();
    table->setCurrentIndex(table->model()->index(cameras->RowOfIndex(1), 0));
    EXPECT_EQ(window->Selection.Index(TSelection::TKind::FlybyCamera), 0);
    QTest::keyClick(table, Qt::Key_Return);
    expectEyeAt(GoToPoint(*window->Scene->Level, 0, 1024, -512, -1024));
    ASSERT_TRUE(window->Scene->Outlined) << "the fly-by camera is outlined";

    // The fly-by camera's blue.
    const auto blue = [](QColor c) { return c.blue() > 200 && std::abs(c.red() - 0x60) < 40 && std::abs(c.green() - 0x70) < 40; };
    const int plain = countInView(blue);
    ASSERT_GE(plain, 0);
    clickViewEntry(QStringLiteral("Show &Cameras"));
    EXPECT_GT(countInView(blue), plain + 100) << "the fly-by camera's mark";
    EXPECT_EQ(window->Scene->Marks.triangles.size(), 2u * 36) << "a box for the sink and one for the fly-by camera";
}

class FindXTest : public PlacementPanelsXTest {};

TEST_F(FindXTest, TypingSinkOrAnItemsNameAndEnterSelectsItInItsPanelAndGoesThere) {
    open(6);
    auto* find = window->findChild<TFindDock*>();
    ASSERT_NE(find, nullptr);
    EXPECT_FALSE(find->isVisible());
    const TD3DVector before = window->Scene->GetCameraPosition();
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return find->isVisible() && find->Box()->hasFocus(); }));
    QTest::keyClicks(find->Box(), QStringLiteral("sink"));
    EXPECT_EQ(find->Count()->text(), "2 found");
    EXPECT_TRUE(find->Results()->model()->index(0, 1).data().toString().startsWith("Camera 0 (sink)"));
    EXPECT_EQ(window->Scene->GetCameraPosition(), before) << "the keys typed never walked the eye";
    QTest::keyClick(find->Box(), Qt::Key_Return);
    EXPECT_EQ(window->Selection.Index(TSelection::TKind::Camera), 0);
    TLevelTableDock* cameras = dock("CamerasPanel");
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised(cameras); }));
    ASSERT_TRUE(cameras->Table()->currentIndex().isValid());
    EXPECT_EQ(cameras->IndexAtRow(cameras->Table()->currentIndex().row()), 0);
    expectEyeAt(GoToPoint(*window->Scene->Level, -1, -1024, -512, 1024));
    EXPECT_TRUE(QTest::qWaitFor([&] { return statusShows(QStringLiteral("Camera 0 (sink)")); }));

    // The second time the box's text is selected: typing replaces it.
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(find->Box(), QString::fromStdString(ObjectName(6, 10)));
    QTest::keyClick(find->Box(), Qt::Key_Down);
    QTest::keyClick(find->Results(), Qt::Key_Return);
    EXPECT_EQ(window->Selection.Item(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised(dock("ItemsPanel")); }));
    expectEyeAt(GoToItem(*window->Scene->Level, 1, window->Scene->ItemExtent(1)));
}

}  // namespace
}  // namespace grottix::test
