// The drawing surface in a real window of the X server (Xvfb in the test script): it initialises
// when the window is shown, draws through OpenGL and shows what it drew, in the window and full
// screen. Runs on the xcb platform, so it has a program of its own.

#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include "device/DeviceScenes.h"
#include "device/qt/DXDraw.h"
#include "device/qt/DXForm.h"
#include "device/qt/QtTestApplication.h"

namespace grottix::test {
namespace {

bool windowSystemAvailable() {
    if (qEnvironmentVariableIsSet("DISPLAY")) return true;
    return false;
}

#define GROTTIX_REQUIRE_WINDOW_SYSTEM()                                                              \
    do {                                                                                             \
        if (!windowSystemAvailable()) {                                                              \
            if (OpenGLRequired()) FAIL() << "an X server is required but DISPLAY is not set";        \
            GTEST_SKIP() << "no X server";                                                           \
        }                                                                                            \
    } while (false)

// Draws a red square on blue through the display's device and presents it.
void drawMarker(TDXDraw& draw) {
    TD3DDevice& device = *draw.D3DDevice7();
    const int w = draw.SurfaceWidth(), h = draw.SurfaceHeight();
    PrepareFlat(device, D3DRGBA(0, 0, 255, 0));
    device.SetTexture(0, nullptr);
    DrawQuad(device, PixelVertex(float(w) / 4, float(h) / 4, 0.5f, 0xFFFF0000, 0, 0, w, h),
             PixelVertex(float(w) * 3 / 4, float(h) / 4, 0.5f, 0xFFFF0000, 0, 0, w, h),
             PixelVertex(float(w) / 4, float(h) * 3 / 4, 0.5f, 0xFFFF0000, 0, 0, w, h),
             PixelVertex(float(w) * 3 / 4, float(h) * 3 / 4, 0.5f, 0xFFFF0000, 0, 0, w, h));
    draw.Flip();
}

class DXDrawWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        GROTTIX_REQUIRE_WINDOW_SYSTEM();
        GROTTIX_REQUIRE_OPENGL();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        window_ = std::make_unique<TDXForm>();
        draw_ = new TDXDraw;
        window_->setCentralWidget(draw_);
        window_->resize(240, 180);
    }
    void TearDown() override {
        if (draw_) draw_->Finalize();
    }

    std::unique_ptr<TDXForm> window_;
    TDXDraw* draw_ = nullptr;
};

TEST_F(DXDrawWindowTest, ShowsWhatOpenGLDrewInTheWindow) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    ASSERT_TRUE(draw_->CanDraw());
    ASSERT_TRUE(draw_->NowOptions().Contains(doHardware));
    drawMarker(*draw_);
    const QImage shown = draw_->grab().toImage();
    ASSERT_EQ(shown.size(), draw_->size());
    EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown.pixel(2, 2) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(DXDrawWindowTest, FullScreenStretchesTheModeOverTheScreen) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    draw_->Display().SetWidth(320);
    draw_->Display().SetHeight(240);
    TDXDrawOptions options = draw_->Options();
    options.Include(doFullScreen);
    options.Include(doStretch);
    draw_->SetOptions(options);
    draw_->Initialize();
    QWidget* screenWindow = draw_->FullScreenWindow();
    ASSERT_NE(screenWindow, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screenWindow));
    QTest::qWait(50);
    EXPECT_EQ(screenWindow->size(), screenWindow->screen()->size());
    drawMarker(*draw_);
    const QImage shown = screenWindow->grab().toImage();
    EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2) & 0xFFFFFF, 0xFF0000u);
    const int stretchedWidth = shown.height() * 320 / 240;
    const int left = (shown.width() - stretchedWidth) / 2;
    EXPECT_EQ(shown.pixel(left + stretchedWidth / 8, shown.height() / 2) & 0xFFFFFF, 0x0000FFu);
}

}  // namespace
}  // namespace grottix::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
