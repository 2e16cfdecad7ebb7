#include <gtest/gtest.h>

#include <QApplication>

#include <filesystem>

#include "app/window/AppIcons.h"
#include "app/window/MainWindow.h"
#include "app/window/ViewerSettings.h"
#include "codecs/ImageCodecs.h"
#include "settings/FormRestorer.h"
#include "settings/MemorySettingsStore.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

// Never destroyed: the window system's plugins stay loaded, so what their drivers keep for the whole
// process is still recognisable (and not taken for this program's leaks) at exit.
QApplication& application() {
    static int argc = 1;
    static char name[] = "main-window-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

const std::string kDemo = std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr4.tr4";

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        application();
        InitializeImageCodecs();
        window = std::make_unique<TDXViewerForm>(store, QStringList{});
        window->ErrorMessageBox.OnBeforeExecute = [this](TMessageBox& box, bool& allow) {
            shown.push_back(box.Text);
            allow = false;
        };
        window->show();
        QApplication::processEvents();
    }
    TMemorySettingsStore store;
    std::unique_ptr<TDXViewerForm> window;
    std::vector<QString> shown;
};

TEST_F(MainWindowTest, OpeningALevelShowsItAndRemembersIt) {
    ASSERT_TRUE(window->DXDraw->CanDraw());
    EXPECT_GT(window->DisplayModeBox->count(), 0);
    EXPECT_EQ(window->DisplayModeBox->currentText(), QStringLiteral("640x480 16bit")) << "the default mode";
    window->OpenLevelFile(kDemo);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(window->windowTitle().toStdString(), "Grottix Viewer - " + kDemo);
    EXPECT_NE(window->Scene->SkyTexture, nullptr);
    EXPECT_GT(window->Scene->Objects.size(), 2u);
    EXPECT_FALSE(window->Loading);
    window->DrawFrame();
    const TBitmap view = window->DXDraw->BackBufferBitmap();
    EXPECT_GT(view.Width(), 0);
}

TEST_F(MainWindowTest, AMissingLevelShowsTheMessageAndLeavesAnEmptyScene) {
    window->OpenLevelFile("/nonexistent/level.tr4");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QStringLiteral("File /nonexistent/level.tr4: Map not found"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Grottix Viewer"));
    EXPECT_TRUE(window->LevelFileName.empty());
    EXPECT_TRUE(window->Scene->Objects.empty()) << "neither floor nor sky after a failed load";
}

TEST_F(MainWindowTest, AFileThatIsNoLevelKeepsTheLevelOnScreen) {
    window->OpenLevelFile(kDemo);
    const auto level = window->Scene->Level;
    const size_t objects = window->Scene->Objects.size();
    test::TempDir dir;
    const std::string notALevel = dir.file("notes.tr4");
    WriteFileAtomically(notALevel, "not a level", 11);
    window->OpenLevelFile(notALevel);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].startsWith(QString::fromStdString("File " + notALevel + ": "))) << shown[0].toStdString();
    EXPECT_EQ(window->Scene->Level, level);
    EXPECT_EQ(window->Scene->Objects.size(), objects);
    EXPECT_EQ(window->LevelFileName, kDemo);
    EXPECT_EQ(window->windowTitle().toStdString(), "Grottix Viewer - " + kDemo);
}

TEST_F(MainWindowTest, FullScreenUsesTheSelectedModeAndComesBack) {
    window->OpenLevelFile(kDemo);
    window->ToggleFullScreen();
    EXPECT_TRUE(window->DXDraw->NowOptions().Contains(doFullScreen));
    EXPECT_EQ(window->DXDraw->SurfaceWidth(), 640) << "the default mode is 640 x 480 x 16";
    EXPECT_EQ(window->DXDraw->SurfaceBitCount(), 16);
    EXPECT_FALSE(window->isVisible());
    window->DrawFrame();
    window->ToggleFullScreen();
    EXPECT_FALSE(window->DXDraw->NowOptions().Contains(doFullScreen));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->DXDraw->CanDraw());
}

TEST_F(MainWindowTest, SettingsAreWrittenWhenTheWindowGoesAndReadWhenItComes) {
    window->OpenLevelFile(kDemo);
    window->LightFactorValue = 0.25f;
    window->TransparencyOn = false;
    EXPECT_TRUE(window->Scene->CullCells) << "rooms are culled by default";
    window->DrawEveryRoomOn = true;
    window.reset();
    window = std::make_unique<TDXViewerForm>(store, QStringList{});
    EXPECT_FLOAT_EQ(window->LightFactorValue, 0.25f);
    EXPECT_FALSE(window->TransparencyOn);
    EXPECT_TRUE(window->FilteringOn);
    EXPECT_TRUE(window->DrawEveryRoomOn);
    EXPECT_FALSE(window->Scene->CullCells);
}

// Whether the level's item objects are all shown (true), all hidden (false); there are some.
bool itemsShown(const TGrottixViewerScene& scene) {
    int shown = 0, hidden = 0;
    for (const auto& entry : scene.Objects)
        if (entry.Item->GetID() == scene.ItemsID) (entry.Item->Hidden ? hidden : shown)++;
    EXPECT_GT(shown + hidden, 0);
    EXPECT_TRUE(shown == 0 || hidden == 0);
    return shown > 0;
}

TEST_F(MainWindowTest, TheItemsOptionHidesTheLevelsItemsAndIsKept) {
    QAction* items = nullptr;
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == QStringLiteral("Items")) items = action;
    ASSERT_NE(items, nullptr);
    EXPECT_TRUE(items->isChecked()) << "on by default";
    window->OpenLevelFile(kDemo);
    EXPECT_TRUE(itemsShown(*window->Scene));
    items->trigger();
    EXPECT_FALSE(itemsShown(*window->Scene));
    window->OpenLevelFile(kDemo);
    EXPECT_FALSE(itemsShown(*window->Scene)) << "a level opened later keeps them hidden";
    window.reset();
    window = std::make_unique<TDXViewerForm>(store, QStringList{});
    window->OpenLevelFile(kDemo);
    EXPECT_FALSE(itemsShown(*window->Scene)) << "the option is kept between runs";
}

TEST_F(MainWindowTest, TheLevelSkyOptionIsKeptAndEachLevelOpensUnflipped) {
    const auto action = [&](const QString& text) {
        QAction* found = nullptr;
        for (QAction* item : window->findChildren<QAction*>())
            if (item->text() == text) found = item;
        return found;
    };
    QAction* sky = action(QStringLiteral("Level Sky"));
    ASSERT_NE(sky, nullptr);
    EXPECT_TRUE(sky->isChecked()) << "on by default";
    window->OpenLevelFile(kDemo);
    EXPECT_TRUE(sky->isEnabled()) << "the demo level has its own sky";
    EXPECT_FALSE(window->Scene->LevelSky.empty());
    sky->trigger();
    EXPECT_FALSE(window->Scene->LevelSkyShown);

    QAction* all = action(QStringLiteral("All"));
    ASSERT_NE(all, nullptr);
    all->trigger();
    EXPECT_EQ(window->Scene->FlipState, TFlipState::All());
    window->OpenLevelFile(kDemo);
    EXPECT_EQ(window->Scene->FlipState, TFlipState{});
    EXPECT_FALSE(action(QStringLiteral("All"))->isChecked());

    window.reset();
    window = std::make_unique<TDXViewerForm>(store, QStringList{});
    EXPECT_FALSE(action(QStringLiteral("Level Sky"))->isChecked()) << "kept between runs";
    EXPECT_FALSE(window->Scene->LevelSkyShown);
}

TEST_F(MainWindowTest, ExportLevelWritesTheLevelOnScreenAsGltf) {
    test::TempDir dir;
    window->ExportLevel(dir.file("none.glb"));
    ASSERT_EQ(shown.size(), 1u) << "no level on screen";
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.glb")));
    window->OpenLevelFile(kDemo);
    window->ExportLevel(dir.file("hall.glb"));
    EXPECT_EQ(shown.size(), 1u);
    const std::vector<uint8_t> glb = ReadWholeFile(dir.file("hall.glb"));
    ASSERT_GT(glb.size(), 12u);
    EXPECT_EQ(std::string(glb.begin(), glb.begin() + 4), "glTF");
}

TEST_F(MainWindowTest, TheToolBarCommandsAndTheProgramHaveIcons) {
    for (QAction* action : window->findChildren<QAction*>()) {
        const QString text = action->text();
        if (text == QStringLiteral("Open") || text == QStringLiteral("Copy") || text == QStringLiteral("Full Screen")) {
            EXPECT_FALSE(action->icon().isNull()) << text.toStdString();
        }
    }
    const QIcon icon = ApplicationIcon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
}

}  // namespace
}  // namespace grottix
