// Items playing in a real window of the X server (Xvfb in the test script): frames run on while an
// animated item is in view, and View > Animate Items stops them, stands the item in its first pose
// and is kept in the settings. The Models panel shows a moveable alone and plays it; Escape goes
// back to the level.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "app/panels/ModelsDock.h"
#include "app/window/MainWindow.h"
#include "app/window/ModelInspector.h"
#include "app/window/ViewerWindow.h"
#include "codecs/ImageCodecs.h"
#include "device/qt/QtTestApplication.h"
#include "settings/SettingsFileStore.h"
#include "support/AnimatedLevel.h"
#include "support/TempDir.h"

namespace grottix::test {
namespace {

class ItemAnimationXTest : public ::testing::Test {
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

    // A new window on the TR4 animated level, reading the settings the window before it left.
    void open() {
        const std::string path = dir.file("a.tr4");
        levelwriter::WriteLevelFile(AnimatedLevel(6), path);
        window.reset();
        window = std::make_unique<TDXViewerForm>(store, QStringList{QString::fromStdString(path)});
        window->resize(800, 600);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->Scene->ItemAnimator && window->DXDraw->CanDraw(); }, 20000));
    }
    QAction* viewEntry(const QString& text) {
        for (QAction* menu : window->menuBar()->actions())
            if (menu->menu() && menu->text() == QStringLiteral("&View"))
                for (QAction* item : menu->menu()->actions())
                    if (item->text() == text) return item;
        return nullptr;
    }
    // Opens View with Alt+V and clicks the entry.
    void clickViewEntry(const QString& text) {
        QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* item = viewEntry(text);
        ASSERT_NE(item, nullptr) << text.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
    double itemOffsetX() const { return window->Scene->ItemAnimator->PoseOf(1)->offset[0]; }

    TempDir dir;
    TSettingsFileStore store{QString::fromStdString(dir.file("config/GrottixViewer.json"))};
    std::unique_ptr<TDXViewerForm> window;
};

TEST_F(ItemAnimationXTest, FramesRunWhileTheItemPlaysAndAnimateItemsStopsItAndIsKept) {
    open();
    ASSERT_EQ(window->Scene->ItemAnimator->Count(), 1u);
    ASSERT_TRUE(viewEntry(QStringLiteral("Animate Items"))->isChecked()) << "on by default";
    // The item stands in the room the eye is in: frames keep coming and the item leaves key 0 (its
    // offset x 10) for the frames between the keys and the idle.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Pacing.Continuous(); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return itemOffsetX() != 10; }, 10000));
    const uint64_t frames = window->Pacing.Frames();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Pacing.Frames() > frames + 5; }, 10000));

    clickViewEntry(QStringLiteral("Animate Items"));
    EXPECT_FALSE(window->Scene->ItemsAnimated());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Pacing.Continuous(); }, 10000)) << "the window idles";
    EXPECT_EQ(itemOffsetX(), 10) << "the item stands in its first pose";

    open();
    EXPECT_FALSE(viewEntry(QStringLiteral("Animate Items"))->isChecked()) << "kept in the settings";
    EXPECT_FALSE(window->Scene->ItemsAnimated());
    QTest::qWait(300);
    EXPECT_FALSE(window->Pacing.Continuous());
    clickViewEntry(QStringLiteral("Animate Items"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Pacing.Continuous(); }, 10000));
}

TEST_F(ItemAnimationXTest, AMoveableChosenInTheModelsPanelShowsAloneAndPlaysAndEscapeGoesBack) {
    open();
    clickViewEntry(QStringLiteral("Models Panel"));
    auto* models = dynamic_cast<TModelsDock*>(window->findChild<QDockWidget*>(QStringLiteral("ModelsPanel")));
    ASSERT_NE(models, nullptr);
    const TModelInspector* inspector = nullptr;
    for (QObject* child : window->children())
        if (auto* found = dynamic_cast<TModelInspector*>(child)) inspector = found;
    ASSERT_NE(inspector, nullptr);
    const TModelShowcase& showcase = inspector->Showcase();
    ASSERT_TRUE(QTest::qWaitFor([&] { return models->isVisible(); }));
    QTableView* table = models->Table();
    ASSERT_EQ(table->model()->rowCount(), 1) << "the level's one moveable, no static mesh";
    EXPECT_EQ(table->model()->index(0, TModelsModel::Id).data().toString(), "30");

    const TD3DVector eye = window->Scene->GetCameraPosition();
    size_t levelObjects = window->Scene->Objects.size(), shownBefore = 0;
    for (size_t i = 0; i < levelObjects; ++i) shownBefore += !window->Scene->Objects[i].Item->Hidden;
    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, TModelsModel::Name));
    QTest::keyClick(table, Qt::Key_Return);
    ASSERT_TRUE(showcase.Showing());
    for (size_t i = 0; i < levelObjects; ++i) EXPECT_TRUE(window->Scene->Objects[i].Item->Hidden) << "the level is hidden";
    EXPECT_GT(window->Scene->Objects.size(), levelObjects) << "the model's own objects";

    // Animation 0 sounds 7 at frame 2; the idle (1) goes back to 0 on a change to state 1.
    EXPECT_EQ(models->AnimationBox()->value(), 0);
    EXPECT_TRUE(models->Facts()->toPlainText().contains("sound 7 at frame 2")) << models->Facts()->toPlainText().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Scene->GetCameraPosition() != eye && window->Pacing.Continuous(); }))
        << "the eye goes round the model";
    QPushButton* pause = nullptr;
    for (QPushButton* button : models->findChildren<QPushButton*>())
        if (button->text() == "Pause") pause = button;
    ASSERT_NE(pause, nullptr);
    QTest::mouseClick(pause, Qt::LeftButton);
    models->AnimationBox()->setValue(1);
    EXPECT_EQ(showcase.Animation(), 1);
    EXPECT_EQ(showcase.Frame(), 10) << "the idle's first frame";
    EXPECT_TRUE(models->Facts()->toPlainText().contains(QStringLiteral("state 1 → animation 0")))
        << models->Facts()->toPlainText().toStdString();
    for (QPushButton* button : models->findChildren<QPushButton*>())
        if (button->text() == "Step") QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(showcase.Frame(), 11);
    EXPECT_EQ(models->FrameLabel()->text(), "Frame 11");

    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(showcase.Showing());
    EXPECT_EQ(window->Scene->Objects.size(), levelObjects) << "the model's objects are gone";
    size_t shownAfter = 0;
    for (size_t i = 0; i < levelObjects; ++i) shownAfter += !window->Scene->Objects[i].Item->Hidden;
    EXPECT_EQ(shownAfter, shownBefore) << "the level as it was";
    EXPECT_EQ(window->Scene->GetCameraPosition(), eye);
}

}  // namespace
}  // namespace grottix::test
