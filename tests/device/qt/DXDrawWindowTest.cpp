// The drawing surface in a real window of the X server (Xvfb in the test script): what the screen
// shows, in the window and stretched full screen, drawn by OpenGL (presented by swapping buffers,
// never read back) and by the CPU rasterizer. Runs on the xcb platform, so it has a program of its
// own.

#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <QWindow>

#include "device/DeviceScenes.h"
#include "device/qt/DXDraw.h"
#include "device/qt/DXForm.h"
#include "device/qt/OpenGLDevice.h"
#include "device/qt/QtTestApplication.h"

namespace grottix::test {
namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;

// Blue, with a red rectangle from an eighth to a half of the width and height: the top left
// quarter, so that a picture turned upside down or mirrored shows.
void drawMarker(TDXDraw& draw) {
    TD3DDevice& device = *draw.D3DDevice7();
    const float w = float(draw.SurfaceWidth()), h = float(draw.SurfaceHeight());
    PrepareFlat(device, D3DRGBA(0, 0, 255, 0));
    device.SetTexture(0, nullptr);
    const auto vertex = [&](float x, float y) { return PixelVertex(x, y, 0.5f, 0xFFFF0000, 0, 0, int(w), int(h)); };
    DrawQuad(device, vertex(w / 8, h / 8), vertex(w / 2, h / 8), vertex(w / 8, h / 2), vertex(w / 2, h / 2));
    draw.Flip();
}

// The screen's pixels (as the X server holds them) under a widget.
QImage screenshot(QWidget& widget) {
    const QPoint at = widget.mapToGlobal(QPoint(0, 0));
    return widget.screen()->grabWindow(0, at.x(), at.y(), widget.width(), widget.height()).toImage();
}

uint32_t rgb(const QImage& image, QPointF at) { return image.pixel(at.toPoint()) & 0xFFFFFF; }

// The screenshot once the marker's red shows at `redAt` (fraction of the widget), or after five
// seconds: on a loaded machine the X server may show the last frame a little later.
QImage settledScreenshot(QWidget& widget, QPointF redAt) {
    QImage shown = screenshot(widget);
    for (int waited = 0; waited < 5000; waited += 20) {
        if (rgb(shown, QPointF(redAt.x() * shown.width(), redAt.y() * shown.height())) == kRed) break;
        QTest::qWait(20);
        shown = screenshot(widget);
    }
    return shown;
}

// The marker as drawn by drawMarker, shown in `placed` of the picture.
void expectMarker(const QImage& shown, const QRectF& placed) {
    const auto at = [&](double x, double y) { return QPointF(placed.x() + x * placed.width(), placed.y() + y * placed.height()); };
    EXPECT_EQ(rgb(shown, at(5.0 / 16, 5.0 / 16)), kRed);
    EXPECT_EQ(rgb(shown, at(3.0 / 4, 3.0 / 4)), kBlue);
    EXPECT_EQ(rgb(shown, at(5.0 / 16, 3.0 / 4)), kBlue) << "upside down";
    EXPECT_EQ(rgb(shown, at(3.0 / 4, 5.0 / 16)), kBlue) << "mirrored";
    if (placed.top() >= 2) {
        EXPECT_EQ(rgb(shown, QPointF(placed.center().x(), 1)), 0u) << "black above";
    }
}

class DXDrawWindowTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("DISPLAY")) {
            if (OpenGLRequired()) FAIL() << "an X server is required but DISPLAY is not set";
            GTEST_SKIP() << "no X server";
        }
        GROTTIX_REQUIRE_OPENGL();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        window_ = std::make_unique<TDXForm>();
        draw_ = new TDXDraw;
        window_->setCentralWidget(draw_);
        window_->resize(240, 180);
        TDXDrawOptions options = draw_->Options();
        if (!hardware()) options.Exclude(doHardware);
        draw_->SetOptions(options);
    }
    void TearDown() override {
        if (draw_) draw_->Finalize();
    }

    bool hardware() const { return GetParam(); }
    TOpenGLDevice* openGL() const { return dynamic_cast<TOpenGLDevice*>(draw_->D3DDevice7()); }
    // Draws a number of frames as the frame loop does, the events between them handled.
    void drawFrames(int count) {
        for (int i = 0; i < count; ++i) {
            drawMarker(*draw_);
            QCoreApplication::processEvents();
        }
        QTest::qWait(50);
    }

    std::unique_ptr<TDXForm> window_;
    TDXDraw* draw_ = nullptr;
};

TEST_P(DXDrawWindowTest, TheWindowShowsTheFramesAndOpenGLNeverReadsThemBack) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    ASSERT_TRUE(draw_->CanDraw());
    ASSERT_EQ(draw_->NowOptions().Contains(doHardware), hardware());
    ASSERT_EQ(draw_->SurfaceWindow() != nullptr, hardware());
    if (hardware()) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(draw_->SurfaceWindow()));
        EXPECT_EQ(draw_->SurfaceWindow()->format().swapInterval(), 1) << "doWaitVBlank asks for vertical sync";
    }
    drawFrames(30);
    expectMarker(settledScreenshot(*draw_, {5.0 / 16, 5.0 / 16}), QRectF(QPointF(0, 0), draw_->size()));

    window_->resize(300, 220);
    drawFrames(3);
    ASSERT_EQ(draw_->SurfaceWidth(), draw_->width());
    expectMarker(screenshot(*draw_), QRectF(QPointF(0, 0), draw_->size()));
    if (hardware()) {
        EXPECT_EQ(openGL()->FramesReadBack(), 0u);
        EXPECT_GE(openGL()->FramesPresented(), 30u);
        const TBitmap saved = draw_->BackBufferBitmap();  // as Save As and Copy take it
        EXPECT_EQ(openGL()->FramesReadBack(), 1u);
        EXPECT_EQ(saved.Pixel(draw_->width() * 5 / 16, draw_->height() * 5 / 16), RGB(255, 0, 0));
        EXPECT_EQ(saved.Pixel(draw_->width() * 5 / 16, draw_->height() * 3 / 4), RGB(0, 0, 255));
    }
}

TEST_P(DXDrawWindowTest, FullScreenStretchesTheModeOverTheScreen) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    draw_->Display().SetWidth(320);
    draw_->Display().SetHeight(240);
    draw_->Display().SetBitCount(16);
    TDXDrawOptions options = draw_->Options();
    options.Include(doFullScreen);
    options.Include(doStretch);
    draw_->SetOptions(options);
    draw_->Initialize();
    QWidget* screenWindow = draw_->FullScreenWindow();
    ASSERT_NE(screenWindow, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screenWindow));
    if (hardware()) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(draw_->SurfaceWindow()));
    }
    QTest::qWait(50);
    EXPECT_EQ(screenWindow->size(), screenWindow->screen()->size());
    drawFrames(20);
    const QImage shown = settledScreenshot(*screenWindow, {0.5 - 3.0 / 16, 0.5 - 3.0 / 16});
    const double scale = std::min(shown.width() / 320.0, shown.height() / 240.0);
    const QSizeF stretched(320 * scale, 240 * scale);
    expectMarker(shown, QRectF(QPointF(shown.width() - stretched.width(), shown.height() - stretched.height()) / 2, stretched));
    if (hardware()) {
        EXPECT_EQ(openGL()->FramesReadBack(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, DXDrawWindowTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "OpenGL" : "Cpu"; });

}  // namespace
}  // namespace grottix::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
