#include <gtest/gtest.h>

#include <QApplication>

#include "app/MainWindow.h"
#include "app/ViewerSettings.h"
#include "codecs/ImageCodecs.h"
#include "settings/FormRestorer.h"
#include "settings/MemorySettingsStore.h"

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
    window.reset();
    window = std::make_unique<TDXViewerForm>(store, QStringList{});
    EXPECT_FLOAT_EQ(window->LightFactorValue, 0.25f);
    EXPECT_FALSE(window->TransparencyOn);
    EXPECT_TRUE(window->FilteringOn);
}

}  // namespace
}  // namespace grottix
