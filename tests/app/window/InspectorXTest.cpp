// The Triggers and Sector Map docks and View > Show Triggers as a person uses them, in a real X
// window, on the demo level: its hall holds a trigger waking the statue (item 1) in column 2,
// row 2, a switch by the crate (item 2) and portals to the corridor (room 1) in row 5.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include "app/window/MainWindow.h"
#include "app/window/ViewerWindow.h"
#include "app/panels/SectorMapDock.h"
#include "app/panels/SectorMapWidget.h"
#include "app/panels/TriggersDock.h"
#include "codecs/ImageCodecs.h"
#include "device/qt/QtTestApplication.h"
#include "settings/SettingsFileStore.h"
#include "support/TempDir.h"

namespace grottix::test {
namespace {

const QString kDemo = QStringLiteral(GROTTIX_GENERATED_DIR) + QStringLiteral("/demo/demo-tr4.tr4");

class InspectorXTest : public ::testing::Test {
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
        window = std::make_unique<TDXViewerForm>(store, QStringList{kDemo});
        window->resize(1100, 700);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY_WITH_TIMEOUT(window->windowTitle() != QStringLiteral("Grottix Viewer"), 20000);
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
    QImage view() {
        QTest::qWait(300);  // a few frames
        const QPoint corner = window->DXDraw->mapToGlobal(QPoint(0, 0));
        return window->screen()->grabWindow(0, corner.x(), corner.y(), window->DXDraw->width(), window->DXDraw->height()).toImage();
    }

    TempDir dir;
    TSettingsFileStore store{QString::fromStdString(dir.file("config/GrottixViewer.json"))};
    std::unique_ptr<TDXViewerForm> window;
};

TEST_F(InspectorXTest, TriggersActingOnTheSelectedItemAreListedAndGoToShowsTheirSquare) {
    auto* dock = window->findChild<TTriggersDock*>();
    ASSERT_NE(dock, nullptr);
    EXPECT_FALSE(dock->isVisible());
    clickViewEntry(QStringLiteral("Triggers Panel"));
    QTRY_VERIFY(dock->isVisible());
    QTableView* table = dock->Table();
    EXPECT_EQ(table->model()->rowCount(), 2);

    window->Selection.SelectItem(1);  // as the items dock or a pick in the view would
    ASSERT_EQ(table->model()->rowCount(), 1);
    EXPECT_TRUE(dock->FilterLabel()->text().startsWith("1 trigger acting on #1")) << dock->FilterLabel()->text().toStdString();
    const QString actions = table->model()->index(0, 6).data().toString();
    EXPECT_TRUE(actions.startsWith("activate #1 ")) << actions.toStdString();
    EXPECT_TRUE(actions.contains("; camera 0; music track 5")) << actions.toStdString();

    // Go To puts the eye above the square, looking down at it; Show Triggers tints it orange.
    const QRect row = table->visualRect(table->model()->index(0, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->Selection.Kind(), TSelection::TKind::Sector);
    EXPECT_EQ(window->Selection.Column(), 2);
    EXPECT_EQ(window->Selection.Row(), 2);
    const TD3DVector eye = window->Scene->GetCameraPosition();
    EXPECT_NEAR(eye.x * 128, -3072 + 2.5 * 1024, 1);
    EXPECT_EQ(table->model()->rowCount(), 1) << "going to a square keeps the list";
    const QImage plain = view();
    clickViewEntry(QStringLiteral("Show &Triggers"));
    const QImage tinted = view();
    const QColor before = plain.pixelColor(plain.rect().center()), after = tinted.pixelColor(tinted.rect().center());
    EXPECT_GT(after.red() - before.red(), after.blue() - before.blue() + 20)
        << "the square in the middle of the view turns orange";
}

TEST_F(InspectorXTest, TheSectorMapShowsTheEyesRoomAndClicksSelectSquaresAndCrossPortals) {
    auto* dock = window->findChild<TSectorMapDock*>();
    ASSERT_NE(dock, nullptr);
    clickViewEntry(QStringLiteral("Sector Map Panel"));
    QTRY_VERIFY(dock->isVisible());
    QTRY_COMPARE(dock->ShownRoom(), 0);  // the eye starts in the hall
    TSectorMapWidget* map = dock->Map();
    // Hovering names the square, its heights and what its trigger does.
    const QPoint trigger = map->SquareCentre(2, 2);
    QTest::mouseMove(map, trigger);
    QHelpEvent hover(QEvent::ToolTip, trigger, map->mapToGlobal(trigger));
    QApplication::sendEvent(map, &hover);
    const QString tip = QToolTip::text();
    EXPECT_TRUE(tip.startsWith("Room 0, column 2, row 2\nFloor 3840 (15 clicks), ceiling 768 (3 clicks)")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("\ntrigger, timer 0, once, mask 11111\n  activate #1 ")) << tip.toStdString();

    QTest::mouseClick(map, Qt::LeftButton, {}, map->SquareCentre(2, 2));
    EXPECT_EQ(window->Selection.Kind(), TSelection::TKind::Sector);
    EXPECT_EQ(window->Selection.Room(), 0);
    EXPECT_EQ(window->Selection.Column(), 2);
    EXPECT_EQ(window->Selection.Row(), 2);
    EXPECT_FALSE(window->Scene->Overlay.at(0).empty()) << "the picked square is marked in the view";
    ASSERT_TRUE(window->Scene->Outlined);
    EXPECT_FLOAT_EQ(window->Scene->Outlined->max.x - window->Scene->Outlined->min.x, 1024 / 128.0f) << "the square, not its room";

    QTest::mouseClick(map, Qt::LeftButton, {}, map->SquareCentre(2, 5));
    QTest::mouseDClick(map, Qt::LeftButton, {}, map->SquareCentre(2, 5));  // the doorway to the corridor
    EXPECT_EQ(window->Selection.Kind(), TSelection::TKind::Room);
    EXPECT_EQ(window->Selection.Room(), 1);
    EXPECT_EQ(dock->ShownRoom(), 1);
    const float z = window->Scene->GetCameraPosition().z * 128;
    EXPECT_TRUE(z > 3072 && z < 7168) << "the eye went into the corridor: z " << z;
}

}  // namespace
}  // namespace grottix::test
