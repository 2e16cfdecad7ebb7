// The items and rooms panels, picking and mouse look as a person uses them, in a real window of
// the X server (Xvfb in the test script): clicks and drags in the view, typing in the filter,
// double-clicks and Enter in the tables, the view's pixels.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include <cmath>

#include "support/ItemLevel.h"
#include "app/window/MainWindow.h"
#include "app/window/ViewerWindow.h"
#include "app/panels/LevelTableDock.h"
#include "codecs/ImageCodecs.h"
#include "device/qt/QtTestApplication.h"
#include "level/LevelGoTo.h"
#include "level/ObjectNames.h"
#include "settings/SettingsFileStore.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace grottix::test {
namespace {

class LevelInspectorXTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("DISPLAY")) {
            if (OpenGLRequired()) FAIL() << "an X server is required but DISPLAY is not set";
            GTEST_SKIP() << "no X server";
        }
        GROTTIX_REQUIRE_OPENGL();
        // OpenGL even where it is Mesa's software renderer, as under Xvfb.
        qputenv("GROTTIX_OPENGL", "1");
        NameViewerApplication();
        InitializeImageCodecs();
        levelwriter::WriteLevelFile(ItemLevel(1), dir.file("items.phd"));
        window = std::make_unique<TDXViewerForm>(store, QStringList{QString::fromStdString(dir.file("items.phd"))});
        window->resize(900, 600);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY_WITH_TIMEOUT(window->Scene->Level != nullptr && window->windowTitle().contains(QStringLiteral("items.phd")), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(window->DXDraw->CanDraw(), 20000);
    }

    // The View menu's entry of that text.
    QAction* viewAction(const QString& text) {
        for (QAction* menu : window->menuBar()->actions())
            if (menu->menu())
                for (QAction* item : menu->menu()->actions())
                    if (item->text() == text) return item;
        return nullptr;
    }
    TLevelTableDock* dock(const char* name) { return window->findChild<TLevelTableDock*>(QString::fromLatin1(name)); }
    // Where the mouse goes to reach the view: the OpenGL window in it, or the widget itself.
    QWindow* viewWindow() { return window->DXDraw->SurfaceWindow() ? window->DXDraw->SurfaceWindow() : window->windowHandle(); }
    QPoint inView(QPointF fraction) {
        const QPoint local(int(fraction.x() * window->DXDraw->width()), int(fraction.y() * window->DXDraw->height()));
        return window->DXDraw->SurfaceWindow() ? local : window->DXDraw->mapTo(window.get(), local);
    }
    QImage viewPixels() {
        const QPoint corner = window->DXDraw->mapToGlobal(QPoint(0, 0));
        return window->screen()->grabWindow(0, corner.x(), corner.y(), window->DXDraw->width(), window->DXDraw->height()).toImage();
    }
    bool statusShows(const QString& text) {
        for (const QLabel* label : window->statusBar()->findChildren<QLabel*>())
            if (label->text().contains(text)) return true;
        return false;
    }

    TempDir dir;
    TSettingsFileStore store{QString::fromStdString(dir.file("config/GrottixViewer.json"))};
    std::unique_ptr<TDXViewerForm> window;
};

TEST_F(LevelInspectorXTest, AClickOnTheItemSelectsItInThePanelOutlinesItAndAClickOnTheFloorSelectsTheRoom) {
    QAction* itemsPanel = viewAction(QStringLiteral("Items Panel"));
    ASSERT_NE(itemsPanel, nullptr);
    ASSERT_NE(viewAction(QStringLiteral("Items")), nullptr) << "showing and hiding the items in the view stays";
    itemsPanel->trigger();
    TLevelTableDock* items = dock("ItemsPanel");
    ASSERT_TRUE(items && items->isVisible());
    ASSERT_EQ(items->Table()->model()->rowCount(), 2) << "the player's start is listed too";

    // Straight ahead, half a sector up from the floor at 16 units away: 0.25 of the half height
    // below the middle (see ItemLevel).
    QTest::mouseClick(viewWindow(), Qt::LeftButton, {}, inView({0.5, 0.625}));
    EXPECT_EQ(window->Selection.Item(), 1);
    ASSERT_TRUE(items->Table()->currentIndex().isValid());
    EXPECT_EQ(items->IndexAtRow(items->Table()->currentIndex().row()), 1);
    EXPECT_TRUE(statusShows(QStringLiteral("Item 1"))) << "the status bar names the selection";
    EXPECT_TRUE(statusShows(QStringLiteral("Room 0"))) << "and the eye's room";
    // The outline shows in the OpenGL frame: yellow pixels below the middle.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QImage shown = viewPixels();
            int yellow = 0;
            for (int y = shown.height() / 2; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const QColor c = shown.pixelColor(x, y);
                    yellow += c.red() > 200 && c.green() > 180 && c.blue() < 80;
                }
            return yellow > 40;
        }(),
        5000);

    QTest::mouseClick(viewWindow(), Qt::LeftButton, {}, inView({0.1, 0.95}));
    EXPECT_EQ(window->Selection.Item(), -1);
    EXPECT_EQ(window->Selection.Room(), 0);
    EXPECT_FALSE(items->Table()->currentIndex().isValid()) << "no item row stays selected";
}

TEST_F(LevelInspectorXTest, TheFilterKeepsTheRowsThatMatchAndColumnsSort) {
    viewAction(QStringLiteral("Items Panel"))->trigger();
    TLevelTableDock* items = dock("ItemsPanel");
    QTest::keyClicks(items->Filter(), QString::fromStdString(ObjectName(1, 10)));
    ASSERT_EQ(items->Table()->model()->rowCount(), 1);
    EXPECT_EQ(items->IndexAtRow(0), 1);
    items->Filter()->clear();
    ASSERT_EQ(items->Table()->model()->rowCount(), 2);

    // Keys typed into the filter are the filter's: the eye does not walk.
    items->Filter()->setFocus();
    QTRY_VERIFY(items->Filter()->hasFocus());
    const TD3DVector eye = window->Scene->EyePosition;
    QTest::keyPress(items->Filter(), Qt::Key_Up);
    QTest::qWait(400);
    QTest::keyRelease(items->Filter(), Qt::Key_Up);
    EXPECT_EQ(window->Scene->EyePosition, eye);
    // The Z column, largest first: the item stands beyond the start.
    items->Table()->sortByColumn(5, Qt::DescendingOrder);
    EXPECT_EQ(items->IndexAtRow(0), 1);
    items->Table()->sortByColumn(5, Qt::AscendingOrder);
    EXPECT_EQ(items->IndexAtRow(0), 0);

    // The panel's place is kept: the next window shows it where it was.
    window->addDockWidget(Qt::LeftDockWidgetArea, items);
    window.reset();
    window = std::make_unique<TDXViewerForm>(store, QStringList{});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    TLevelTableDock* again = dock("ItemsPanel");
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(window->dockWidgetArea(again), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(dock("RoomsPanel")->isVisible());
}

TEST_F(LevelInspectorXTest, DraggingTurnsAndTiltsTheEyeWithoutSelectingAndTheWheelMovesItForward) {
    const TD3DVector before = window->Scene->GetCameraRotation();
    const TD3DVector start = window->Scene->GetCameraPosition();
    QTest::mousePress(viewWindow(), Qt::LeftButton, {}, inView({0.5, 0.5}));
    for (int step = 1; step <= 5; ++step) QTest::mouseMove(viewWindow(), inView({0.5 + step * 0.04, 0.5 - step * 0.02}));
    QTest::mouseRelease(viewWindow(), Qt::LeftButton, {}, inView({0.7, 0.4}));
    const TD3DVector after = window->Scene->GetCameraRotation();
    EXPECT_GT(after.y, before.y + 0.2) << "dragged right: turned right";
    EXPECT_GT(after.x, before.x + 0.05) << "dragged up: looks up";
    EXPECT_EQ(window->Selection.Kind(), TSelection::TKind::None) << "a drag is no click";

    // Far up: the pitch stops at straight up.
    const QPoint top = inView({0.5, 0.05});
    QTest::mousePress(viewWindow(), Qt::LeftButton, {}, inView({0.5, 0.95}));
    for (int step = 1; step <= 8; ++step) QTest::mouseMove(viewWindow(), inView({0.5, 0.95 - step * 0.1}));
    QTest::mouseMove(viewWindow(), top);
    QTest::mouseRelease(viewWindow(), Qt::LeftButton, {}, top);
    EXPECT_FLOAT_EQ(window->Scene->GetCameraRotation().x, 1.5707964f);

    window->Scene->SetCameraRotation({0, 0, 0});
    QWheelEvent wheel(QPointF(inView({0.5, 0.5})), QPointF(), {}, QPoint(0, 240), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewWindow() == window->windowHandle() ? static_cast<QObject*>(window->DXDraw) : viewWindow(), &wheel);
    EXPECT_GT(window->Scene->GetCameraPosition().z, start.z + 1) << "two notches forward";
    QWheelEvent back(QPointF(inView({0.5, 0.5})), QPointF(), {}, QPoint(0, -240), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewWindow() == window->windowHandle() ? static_cast<QObject*>(window->DXDraw) : viewWindow(), &back);
    EXPECT_FLOAT_EQ(window->Scene->GetCameraPosition().z, start.z) << "and two back to where it stood";
}

TEST_F(LevelInspectorXTest, OrbitTurnsRoundTheSelectionComesNearerPansAndIsKept) {
    window->Selection.SelectItem(1);
    QTest::keyClick(window.get(), Qt::Key_O);
    ASSERT_TRUE(window->Eye.Orbit) << "O switches to the orbit camera";
    const TSceneBox box = window->Scene->ItemBounds.at(1);
    const TD3DVector centre = (box.min + box.max) * 0.5f;
    EXPECT_LT(DistanceBetween(window->Eye.Orbit->Centre, centre), 1e-3f) << "round the selected item";
    const auto distance = [&] { return DistanceBetween(window->Scene->GetCameraPosition(), centre); };
    const float far = distance();

    const TD3DVector before = window->Scene->GetCameraPosition();
    QTest::mousePress(viewWindow(), Qt::LeftButton, {}, inView({0.5, 0.5}));
    for (int step = 1; step <= 5; ++step) QTest::mouseMove(viewWindow(), inView({0.5 + step * 0.05, 0.5}));
    QTest::mouseRelease(viewWindow(), Qt::LeftButton, {}, inView({0.75, 0.5}));
    EXPECT_GT(DistanceBetween(window->Scene->GetCameraPosition(), before), 1) << "the drag moved the eye round";
    EXPECT_NEAR(distance(), far, 1e-3) << "at the same distance";

    QWheelEvent wheel(QPointF(inView({0.5, 0.5})), QPointF(), {}, QPoint(0, 240), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewWindow() == window->windowHandle() ? static_cast<QObject*>(window->DXDraw) : viewWindow(), &wheel);
    EXPECT_LT(distance(), far * 0.8f) << "the wheel comes nearer";

    QTest::mousePress(viewWindow(), Qt::RightButton, {}, inView({0.5, 0.5}));
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(viewWindow(), inView({0.5 - step * 0.05, 0.5}));
    QTest::mouseRelease(viewWindow(), Qt::RightButton, {}, inView({0.3, 0.5}));
    EXPECT_GT(DistanceBetween(window->Eye.Orbit->Centre, centre), 0.5f) << "a right drag pans the centre";

    window->Selection.SelectRoom(0);  // as the rooms dock would
    const TSceneBox room = *window->Scene->Outlined;
    EXPECT_LT(DistanceBetween(window->Eye.Orbit->Centre, (room.min + room.max) * 0.5f), 1e-3f) << "the orbit follows the selection";

    window.reset();
    window = std::make_unique<TDXViewerForm>(store, QStringList{});
    EXPECT_TRUE(window->Eye.Orbit) << "kept in the settings";
}

// Top View looks down on the selected item's room and gives the camera back as it was, the orbit
// included; measuring from above joins two clicks on the floor without selecting, and Escape ends it.
TEST_F(LevelInspectorXTest, TopViewLooksDownOnTheRoomAndGivesTheCameraBackAndMeasuringTellsTheDistance) {
    window->Selection.SelectItem(1);
    QTest::keyClick(window.get(), Qt::Key_O);
    ASSERT_TRUE(window->Eye.Orbit);
    const TD3DVector eye = window->Scene->GetCameraPosition(), angles = window->Scene->GetCameraRotation();
    const TD3DVector centre = window->Eye.Orbit->Centre;

    QTest::keyClick(window.get(), Qt::Key_T);
    ASSERT_TRUE(viewAction(QStringLiteral("&Top View"))->isChecked());
    EXPECT_FALSE(window->Eye.Orbit) << "the free camera moves over the plan";
    const TD3DVector above = window->Scene->GetCameraPosition();
    EXPECT_NEAR(above.x, 0, 1e-3) << "over the middle of the room";
    EXPECT_NEAR(above.z, 0, 1e-3);
    EXPECT_GT(above.y, 16) << "above its ceiling";
    EXPECT_FLOAT_EQ(window->Scene->GetCameraRotation().x, -1.5707964f) << "looking straight down";

    viewAction(QStringLiteral("Top View &Orthographic"))->trigger();
    ASSERT_TRUE(window->Scene->Projection.Orthographic);
    const QLabel* measured = window->findChild<QLabel*>(QStringLiteral("MeasureLabel"));
    ASSERT_NE(measured, nullptr);
    QTest::keyClick(window.get(), Qt::Key_M);
    // The middle of the floor, then 0.4 of the half width to the left: x = -0.4 * half height / 0.75.
    QTest::mouseClick(viewWindow(), Qt::LeftButton, {}, inView({0.5, 0.5}));
    EXPECT_TRUE(measured->text().contains(QStringLiteral("second point"))) << measured->text().toStdString();
    QTest::mouseClick(viewWindow(), Qt::LeftButton, {}, inView({0.3, 0.5}));
    ASSERT_TRUE(window->Scene->Measure && window->Scene->Measure->To);
    const QRegularExpressionMatch distance = QRegularExpression(QStringLiteral("^Distance (\\d+) units = ")).match(measured->text());
    ASSERT_TRUE(distance.hasMatch()) << measured->text().toStdString();
    const double across = 0.4 * window->Scene->Projection.HalfHeight / 0.75 * 128;
    EXPECT_NEAR(distance.captured(1).toDouble(), across, 16);
    EXPECT_TRUE(measured->text().endsWith(QStringLiteral("; level"))) << "both points on the floor";
    EXPECT_EQ(window->Selection.Item(), 1) << "measuring clicks select nothing";
    QTest::mouseClick(viewWindow(), Qt::LeftButton, {}, inView({0.5, 0.5}));
    EXPECT_FALSE(window->Scene->Measure->To) << "a third click starts again";
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->Scene->Measure);
    EXPECT_TRUE(measured->text().isEmpty());
    QTest::mouseClick(viewWindow(), Qt::LeftButton, {}, inView({0.3, 0.5}));
    EXPECT_EQ(window->Selection.Room(), 0) << "after Escape a click selects again";

    QTest::keyClick(window.get(), Qt::Key_T);
    EXPECT_EQ(window->Scene->GetCameraPosition(), eye) << "the camera back where it stood";
    EXPECT_EQ(window->Scene->GetCameraRotation(), angles);
    ASSERT_TRUE(window->Eye.Orbit) << "orbiting again";
    EXPECT_EQ(window->Eye.Orbit->Centre, centre);
    EXPECT_FALSE(window->Scene->Projection.Orthographic);
    EXPECT_TRUE(window->Scene->RoomsHidden.empty());
}

TEST_F(LevelInspectorXTest, DoubleClickOnAnItemRowAndEnterOnARoomRowGoThere) {
    viewAction(QStringLiteral("Items Panel"))->trigger();
    viewAction(QStringLiteral("Rooms Panel"))->trigger();
    TLevelTableDock* items = dock("ItemsPanel");
    QTableView* table = items->Table();
    const QRect row = table->visualRect(table->model()->index(1, 1));
    // A person's double-click: the first click, then the second that the view reports as double.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->Selection.Item(), 1);
    const TEyePlacement expected = GoToItem(*window->Scene->Level, 1);
    const TD3DVector eye = window->Scene->GetCameraPosition();
    EXPECT_NEAR(eye.x, expected.x / 128, 1e-3);
    EXPECT_NEAR(eye.y, -expected.y / 128, 1e-3);
    EXPECT_NEAR(eye.z, expected.z / 128, 1e-3);
    // The item is in view: its red picture shows in the frame.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QImage shown = viewPixels();
            int red = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const QColor c = shown.pixelColor(x, y);
                    red += c.red() > 150 && c.green() < 80 && c.blue() < 80;
                }
            return red > 100;
        }(),
        5000);

    TLevelTableDock* rooms = dock("RoomsPanel");
    ASSERT_TRUE(rooms && rooms->isVisible());
    window->Scene->MoveCamera({5, 5, 5});
    rooms->Table()->setFocus();
    rooms->Table()->setCurrentIndex(rooms->Table()->model()->index(0, 0));
    EXPECT_EQ(window->Selection.Room(), 0);
    QTest::keyClick(rooms->Table(), Qt::Key_Return);
    const TEyePlacement room = GoToRoom(*window->Scene->Level, 0);
    EXPECT_NEAR(window->Scene->GetCameraPosition().z, room.z / 128, 1e-3);
    EXPECT_NEAR(window->Scene->GetCameraPosition().x, room.x / 128, 1e-3);
}

}  // namespace
}  // namespace grottix::test
