// The drawing-surface widget: automatic initialisation when shown, the 3D device the options ask
// for, presenting, following the widget's size, full screen, and the display-mode list.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>

#include "device/DeviceScenes.h"
#include "device/qt/DXDraw.h"
#include "device/qt/DXForm.h"
#include "device/qt/OpenGLDevice.h"
#include "device/qt/QtTestApplication.h"

namespace grottix::test {
namespace {

using ::testing::ElementsAre;

class DXDrawTest : public ::testing::Test {
protected:
    DXDrawTest() {
        TestApplication();
        window_.resize(200, 150);
        window_.setCentralWidget(draw_);
        draw_->OnInitialize = [this](TCustomDXDraw&) { events_.push_back("Initialize"); };
        draw_->OnInitializeSurface = [this](TCustomDXDraw&) { events_.push_back("InitializeSurface"); };
        draw_->OnFinalize = [this](TCustomDXDraw&) { events_.push_back("Finalize"); };
    }
    ~DXDrawTest() override { draw_->Finalize(); }

    void showSoftware() {
        TDXDrawOptions options = draw_->Options();
        options.Exclude(doHardware);
        draw_->SetOptions(options);
        window_.show();
        QCoreApplication::processEvents();
    }

    std::vector<std::string> events_;
    TDXForm window_;
    TDXDraw* draw_ = new TDXDraw;  // owned by the window
};

TEST_F(DXDrawTest, InitialisesItselfWhenFirstShownWithABackBufferOfItsSize) {
    EXPECT_FALSE(draw_->CanDraw());
    showSoftware();
    ASSERT_TRUE(draw_->CanDraw());
    EXPECT_THAT(events_, ElementsAre("Initialize", "InitializeSurface"));
    EXPECT_EQ(draw_->SurfaceWidth(), draw_->width());
    EXPECT_EQ(draw_->SurfaceHeight(), draw_->height());
    EXPECT_EQ(draw_->SurfaceBitCount(), 32);
    EXPECT_TRUE(draw_->HasZBuffer());
    EXPECT_NE(draw_->D3DDevice7(), nullptr);
}

TEST_F(DXDrawTest, StaysUninitialisedWhenAutomaticInitialisationIsOff) {
    draw_->SetAutoInitialize(false);
    showSoftware();
    EXPECT_FALSE(draw_->CanDraw());
    EXPECT_TRUE(events_.empty());
}

TEST_F(DXDrawTest, FlipPresentsTheBackBuffer) {
    showSoftware();
    draw_->D3DDevice7()->Clear(0, nullptr, D3DCLEAR_TARGET, D3DRGBA(10, 200, 30, 0), 1, 0);
    draw_->Flip();
    const QImage shown = draw_->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(draw_->SurfaceWidth(), draw_->SurfaceHeight()));
    EXPECT_EQ(shown.pixel(5, 5) & 0xFFFFFF, 0x0AC81Eu);
    const TBitmap copy = draw_->BackBufferBitmap();
    EXPECT_EQ(copy.Width(), draw_->SurfaceWidth());
    EXPECT_EQ(copy.Pixel(5, 5), RGB(10, 200, 30));
}

TEST_F(DXDrawTest, TheBackBufferFollowsTheWidgetsSizeAndTheSurfaceIsSetUpAgain) {
    showSoftware();
    events_.clear();
    window_.resize(260, 190);
    QCoreApplication::processEvents();
    EXPECT_EQ(draw_->SurfaceWidth(), draw_->width());
    EXPECT_EQ(draw_->SurfaceHeight(), draw_->height());
    EXPECT_THAT(events_, ElementsAre("InitializeSurface"));
    EXPECT_EQ(draw_->D3DDevice7()->GetViewport().dwWidth, uint32_t(draw_->width()));
}

TEST_F(DXDrawTest, WithoutHardwareTheCpuDrawsAndWithItOpenGL) {
    showSoftware();
    EXPECT_FALSE(draw_->NowOptions().Contains(doHardware));
    TDXDrawOptions options = draw_->Options();
    options.Include(doHardware);
    draw_->SetOptions(options);
    draw_->Initialize();
    EXPECT_TRUE(draw_->CanDraw()) << "OpenGL, or the CPU when OpenGL cannot be had";
    EXPECT_EQ(draw_->NowOptions().Contains(doHardware), TOpenGLDevice::Available());
}

TEST_F(DXDrawTest, OpenGLFramesAreReadBackOnlyForTheBitmapAndMatchTheCpusPicture) {
    GROTTIX_REQUIRE_OPENGL();
    showSoftware();
    TImage pictures[2];
    for (int i = 0; i < 2; ++i) {
        TDXDrawOptions options = draw_->Options();
        if (i == 1) options.Include(doHardware);
        draw_->SetOptions(options);
        draw_->Initialize();
        ASSERT_EQ(draw_->NowOptions().Contains(doHardware), i == 1);
        TD3DDevice& device = *draw_->D3DDevice7();
        const int w = draw_->SurfaceWidth(), h = draw_->SurfaceHeight();
        PrepareFlat(device, D3DRGBA(0, 0, 90, 0));
        auto texture = CheckerTexture(8, 2, RGB(250, 200, 0), RGB(0, 100, 250));
        device.SetTexture(0, texture.get());
        DrawQuad(device, PixelVertex(10.5f, 10.5f, 0.5f, ~0u, 0.01f, 0.01f, w, h), PixelVertex(float(w) - 10.5f, 12.5f, 0.5f, ~0u, 2.01f, 0.01f, w, h),
                 PixelVertex(12.5f, float(h) - 10.5f, 0.5f, ~0u, 0.01f, 2.01f, w, h),
                 PixelVertex(float(w) - 12.5f, float(h) - 12.5f, 0.5f, ~0u, 2.01f, 2.01f, w, h));
        for (int frame = 0; frame < 3; ++frame) draw_->Flip();
        QCoreApplication::processEvents();
        auto* openGL = dynamic_cast<TOpenGLDevice*>(draw_->D3DDevice7());
        if (openGL) {
            EXPECT_EQ(openGL->FramesReadBack(), 0u);
        }
        const TBitmap shown = draw_->BackBufferBitmap();
        if (openGL) {
            EXPECT_EQ(openGL->FramesReadBack(), 1u);
        }
        pictures[i] = TImage{shown.Width(), shown.Height(), {}};
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x) pictures[i].pixels.push_back(shown.Pixel(x, y));  // the same channel order in both
    }
    EXPECT_LE(CountDifferences(pictures[0], pictures[1], 8), 4) << DescribeDifferences(pictures[0], pictures[1], 8);
}

TEST_F(DXDrawTest, FullScreenDrawsAtTheDisplayModeInAWindowOfItsOwnUntilFinalised) {
    showSoftware();
    draw_->Display().SetWidth(320);
    draw_->Display().SetHeight(240);
    draw_->Display().SetBitCount(16);
    TDXDrawOptions options = draw_->Options();
    options.Include(doFullScreen);
    options.Include(doStretch);
    draw_->SetOptions(options);
    draw_->Initialize();
    EXPECT_TRUE(draw_->NowOptions().Contains(doFullScreen));
    EXPECT_EQ(draw_->SurfaceWidth(), 320);
    EXPECT_EQ(draw_->SurfaceHeight(), 240);
    EXPECT_EQ(draw_->SurfaceBitCount(), 16);
    ASSERT_NE(draw_->FullScreenWindow(), nullptr);
    EXPECT_TRUE(draw_->FullScreenWindow()->isVisible());
    draw_->Flip();
    QCoreApplication::processEvents();
    window_.resize(300, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(draw_->SurfaceWidth(), 320) << "full screen keeps the mode's size";
    draw_->Finalize();
    EXPECT_EQ(draw_->FullScreenWindow(), nullptr);
}

TEST_F(DXDrawTest, TheMainWindowPutsItsPlacementBackAfterFullScreen) {
    window_.show();
    window_.setGeometry(60, 70, 210, 160);
    QCoreApplication::processEvents();
    const QRect before = window_.geometry();
    window_.StoreWindowPos();
    window_.setGeometry(0, 0, 400, 400);
    window_.RestoreWindowPos();
    QCoreApplication::processEvents();
    EXPECT_EQ(window_.geometry().size(), before.size());
}

TEST(DisplayModes, EverySizeComesAtSixteenAndThirtyTwoBitsInOrder) {
    const std::vector<TDisplayMode> modes = BuildDisplayModes({{800, 600}, {800, 600}, {-1, 5}}, 0, 0);
    ASSERT_FALSE(modes.empty());
    EXPECT_THAT(std::vector<TDisplayMode>(modes.end() - 2, modes.end()),
                ElementsAre(TDisplayMode{800, 600, 16}, TDisplayMode{800, 600, 32}));
    for (size_t i = 1; i < modes.size(); ++i) {
        const auto key = [](const TDisplayMode& m) { return std::tuple(m.Width, m.Height, m.BitCount); };
        EXPECT_LT(key(modes[i - 1]), key(modes[i]));
    }
}

TEST(DisplayModes, ASingleReportedModeStillOffersTheCommonSizesThatFit) {
    const std::vector<TDisplayMode> modes = BuildDisplayModes({{1280, 1024}}, 1280, 1024);
    const auto has = [&](int w, int h, int bits) {
        return std::find(modes.begin(), modes.end(), TDisplayMode{w, h, bits}) != modes.end();
    };
    EXPECT_TRUE(has(640, 480, 16));
    EXPECT_TRUE(has(640, 480, 32));
    EXPECT_TRUE(has(1280, 1024, 32));
    EXPECT_FALSE(has(1920, 1080, 32)) << "larger than the screen";
}

TEST(DisplayModes, WithoutReportedModesTheScreenSizeLimitsTheList) {
    const std::vector<TDisplayMode> modes = BuildDisplayModes({}, 1024, 768);
    EXPECT_EQ(modes.back(), (TDisplayMode{1024, 768, 32}));
    EXPECT_FALSE(BuildDisplayModes({}, 0, 0).empty()) << "640 x 480 at least";
}

TEST(DisplayModes, TheDisplayEnumeratesOnFirstUseAndAnswersBadIndicesWithNothing) {
    TestApplication();
    TDXDrawDisplay display;
    display.SetModes({{640, 480, 16}});
    EXPECT_EQ(display.Count(), 1);
    EXPECT_EQ(display.Modes(0), (TDisplayMode{640, 480, 16}));
    EXPECT_EQ(display.Modes(1), TDisplayMode{});
    EXPECT_EQ(display.Modes(-1), TDisplayMode{});
    TDXDrawDisplay machine;
    EXPECT_GT(machine.Count(), 0);
}

}  // namespace
}  // namespace grottix::test
