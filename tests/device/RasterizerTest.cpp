// The CPU rasterizer, one rule at a time, through the scenes the OpenGL backend is compared on.

#include <gtest/gtest.h>

#include <cmath>

#include "device/DeviceScenes.h"
#include "device/SoftwareDevice.h"

namespace grottix::test {
namespace {

struct TRgb {
    int r, g, b;
    bool operator==(const TRgb&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TRgb& c) { return out << "(" << c.r << "," << c.g << "," << c.b << ")"; }
TRgb rgb(uint32_t pixel) { return {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)}; }

class RasterizerTest : public ::testing::Test {
protected:
    TImage render(const std::string& name, int workers = 1) {
        const TDeviceScene& scene = SceneNamed(name);
        device_ = std::make_unique<TSoftwareDevice>(TSurfaceDesc{scene.width, scene.height, scene.bitCount, true}, workers);
        device_->BeginScene();
        scene.draw(*device_, scene.width, scene.height);
        device_->EndScene();
        TImage image{scene.width, scene.height, std::vector<uint32_t>(size_t(scene.width) * size_t(scene.height))};
        device_->ReadBackBuffer(image.pixels.data());
        return image;
    }
    TRgb at(const TImage& image, int x, int y) { return rgb(image.At(x, y)); }

    std::unique_ptr<TSoftwareDevice> device_;
};

TEST_F(RasterizerTest, KeyedTexelsAreNotDrawnWhileColorKeyingIsOnAndDrawnWhenOff) {
    const TImage on = render("ColorKeyOn");
    EXPECT_EQ(at(on, 32, 32), (TRgb{200, 0, 0})) << "background shows through the hole";
    EXPECT_EQ(at(on, 3, 3), (TRgb{0, 200, 0}));
    const TImage off = render("ColorKeyOff");
    EXPECT_EQ(at(off, 32, 32), (TRgb{0, 0, 0}));
    EXPECT_EQ(at(off, 3, 3), (TRgb{0, 200, 0}));
}

TEST_F(RasterizerTest, AKeyGivenToTheBoundTextureTakesEffectAtTheNextDraw) {
    TSoftwareDevice device({16, 16, 32, true}, 1);
    PrepareFlat(device, D3DRGBA(0, 0, 255, 0));
    auto texture = HoledTexture(8, RGB(255, 255, 255));
    device.SetTexture(0, texture.get());
    device.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1);
    auto quad = [&] {
        DrawQuad(device, PixelVertex(0, 0, 0.5f, 0xFFFFFFFF, 0, 0, 16, 16), PixelVertex(16, 0, 0.5f, 0xFFFFFFFF, 1, 0, 16, 16),
                 PixelVertex(0, 16, 0.5f, 0xFFFFFFFF, 0, 1, 16, 16), PixelVertex(16, 16, 0.5f, 0xFFFFFFFF, 1, 1, 16, 16));
    };
    quad();
    texture->SetColorKey(RGB(0, 0, 0));
    device.Clear(0, nullptr, D3DCLEAR_TARGET, D3DRGBA(0, 0, 255, 0), 1, 0);
    quad();
    uint32_t pixels[16 * 16];
    device.ReadBackBuffer(pixels);
    EXPECT_EQ(rgb(pixels[8 * 16 + 8]), (TRgb{0, 0, 255}));
}

TEST_F(RasterizerTest, BlendingCombinesSourceAndDestinationWithEachFactorPair) {
    struct TCase {
        const char* scene;
        TRgb overYellow, overBlue;
    };
    for (const TCase& c : {TCase{"BlendInvSrcColorSrcColor", {159, 216, 51}, {76, 135, 93}},
                           TCase{"BlendInvDestColorInvSrcColor", {154, 96, 71}, {109, 129, 166}},
                           TCase{"BlendSrcAlphaInvSrcAlpha", {175, 205, 40}, {70, 140, 130}},
                           TCase{"BlendOneOne", {255, 255, 80}, {140, 255, 255}},
                           TCase{"BlendDestColorZero", {98, 157, 5}, {16, 75, 47}}}) {
        const TImage image = render(c.scene);
        EXPECT_EQ(at(image, 16, 32), c.overYellow) << c.scene;
        EXPECT_EQ(at(image, 48, 32), c.overBlue) << c.scene;
        EXPECT_EQ(at(image, 2, 2), (TRgb{250, 250, 20})) << c.scene << ": nothing drawn outside the quad";
    }
}

TEST_F(RasterizerTest, CullModesRemoveTrianglesByTheirWindingOnScreen) {
    const TRgb red{255, 0, 0}, green{0, 255, 0}, black{0, 0, 0};
    const TImage none = render("CullNone");
    EXPECT_EQ(at(none, 8, 16), red);
    EXPECT_EQ(at(none, 40, 16), green);
    const TImage clockwise = render("CullClockwise");
    EXPECT_EQ(at(clockwise, 8, 16), black);
    EXPECT_EQ(at(clockwise, 40, 16), green);
    const TImage counterClockwise = render("CullCounterClockwise");
    EXPECT_EQ(at(counterClockwise, 8, 16), red);
    EXPECT_EQ(at(counterClockwise, 40, 16), black);
}

int litPixels(const TImage& image) {
    int count = 0;
    for (uint32_t p : image.pixels) count += (p & 0xFFFFFF) != 0;
    return count;
}

TEST_F(RasterizerTest, FillModesDrawTheAreaTheEdgesOrTheCorners) {
    const TImage solid = render("FillSolid");
    const TImage wire = render("FillWireframe");
    const TImage points = render("FillPoint");
    EXPECT_EQ(at(solid, 28, 28), (TRgb{255, 255, 255}));
    EXPECT_EQ(at(wire, 28, 28), (TRgb{0, 0, 0}));
    EXPECT_GT(litPixels(solid), 900);
    EXPECT_GT(litPixels(wire), 100);
    EXPECT_LT(litPixels(wire), 160);
    EXPECT_EQ(litPixels(points), 3);
    EXPECT_EQ(at(points, 10, 7), (TRgb{255, 255, 255}));
    EXPECT_EQ(at(points, 55, 20), (TRgb{255, 255, 255}));
    EXPECT_EQ(at(points, 21, 57), (TRgb{255, 255, 255}));
}

TEST_F(RasterizerTest, WireframeEdgesRunAlongTheTriangleBorder) {
    const TImage solid = render("FillSolid");
    const TImage wire = render("FillWireframe");
    for (int y = 1; y < 63; ++y)
        for (int x = 1; x < 63; ++x) {
            if ((wire.At(x, y) & 0xFFFFFF) == 0) continue;
            bool nearBorder = false;  // some neighbour inside the triangle and some outside
            bool seenIn = false, seenOut = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) ((solid.At(x + dx, y + dy) & 0xFFFFFF) ? seenIn : seenOut) = true;
            nearBorder = seenIn && seenOut;
            EXPECT_TRUE(nearBorder) << "edge pixel away from the border at " << x << "," << y;
        }
}

TEST_F(RasterizerTest, PointFilteringTakesTheNearestTexelAndBilinearBlendsNeighbours) {
    const TImage point = render("FilterPoint");
    EXPECT_EQ(at(point, 15, 8), (TRgb{255, 255, 255}));
    EXPECT_EQ(at(point, 16, 8), (TRgb{0, 0, 255}));
    const TImage bilinear = render("FilterBilinear");
    EXPECT_EQ(at(bilinear, 8, 8), (TRgb{255, 255, 255})) << "a texel centre keeps its colour";
    const TRgb between = at(bilinear, 16, 8);
    EXPECT_NEAR(between.r, 128, 3);
    EXPECT_EQ(between.b, 255);
    const TRgb wrapped = at(bilinear, 0, 8);  // halfway between the last texel of the row and the first
    EXPECT_NEAR(wrapped.r, 128, 40);
}

TEST_F(RasterizerTest, TheDepthTestKeepsTheNearerSurfaceWhateverTheDrawingOrder) {
    const TImage image = render("DepthOrder");
    EXPECT_EQ(at(image, 16, 8), (TRgb{255, 0, 0}));
    EXPECT_EQ(at(image, 48, 8), (TRgb{255, 0, 0}));
    EXPECT_EQ(at(image, 16, 25), (TRgb{0, 0, 255})) << "equal depth passes: less or equal";
    EXPECT_EQ(at(image, 16, 30), (TRgb{255, 255, 0}));
}

TEST_F(RasterizerTest, StoredDepthIsOneMinusNearOverDistanceWithTheEngineMatrices) {
    TSoftwareDevice device({32, 32, 32, true}, 1);
    PrepareEngine(device, 0.5f);
    device.SetTexture(0, nullptr);
    for (float z : {2.0f, 8.0f}) {
        device.Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1, 0);
        DrawQuad(device, {-9, 9, z, 0, 0xFFFFFFFF, 0, 0, 0}, {9, 9, z, 0, 0xFFFFFFFF, 0, 0, 0},
                 {-9, -9, z, 0, 0xFFFFFFFF, 0, 0, 0}, {9, -9, z, 0, 0xFFFFFFFF, 0, 0, 0});
        device.Flush();
        EXPECT_NEAR(device.Frame().DepthRow(16)[16], 1 - 0.5 / z, 1e-6) << z;
    }
}

TEST_F(RasterizerTest, GeometryBehindTheNearPlaneIsClippedAway) {
    const TImage image = render("NearPlaneClipping");
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 96; ++x) ASSERT_EQ(image.At(x, y) & 0xFFFFFF, 0u) << "drawn above the horizon at " << x << "," << y;
    EXPECT_NE(image.At(48, 71) & 0xFFFFFF, 0u) << "the floor reaches the bottom row";
    EXPECT_NE(image.At(0, 71) & 0xFFFFFF, 0u);
}

// The grid covers exactly [2, 17) x [2, 17): its edges run through pixel centres, so only the fill
// rule decides. The fan's edges do not, so only consistent edge arithmetic keeps it whole.
TEST_F(RasterizerTest, TrianglesSharingEdgesCoverEveryPixelExactlyOnce) {
    const TImage image = render("SharedEdges");
    const TRgb once{60, 60, 60}, none{0, 0, 0};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const TRgb c = at(image, x, y);
            ASSERT_TRUE(c == none || c == once) << "overlap at " << x << "," << y << " " << c;
            const bool inGrid = x >= 2 && x < 17 && y >= 2 && y < 17;
            const double fromFanCentre = std::hypot(x - 38.37, y - 38.11);
            if (inGrid || fromFanCentre < 21) {
                EXPECT_EQ(c, once) << "gap at " << x << "," << y;
            } else if (fromFanCentre > 24) {
                EXPECT_EQ(c, none) << "outside at " << x << "," << y;
            }
        }
}

// The floor quad spans x -3.01..3.01 and z 1..8.01 at height -1 with u = (x + 3.01) * 3 / 6.02 and
// v = (8.01 - z) * 3 / 7.01.
// Each pixel centre below the horizon sees the floor point found by inverting the projection; the
// checker cell of that point (2 texels of 16) is what the pixel must show.
TEST_F(RasterizerTest, TexturesFollowThePerspectiveOfTheSurface) {
    const TImage image = render("PerspectiveTexture");
    int checked = 0;
    for (int py = 37; py < 72; ++py)
        for (int px = 0; px < 96; ++px) {
            const double z = 36.0 / (py - 36), x = (px - 48) / 48.0 * z / 0.75;
            if (z < 1.05 || z > 7.95 || std::fabs(x) > 2.95) continue;
            const double cu = (x + 3.01) * 3 / 6.02 * 8, cv = (8.01 - z) * 3 / 7.01 * 8;  // in cells
            if (std::fabs(cu - std::round(cu)) < 0.1 || std::fabs(cv - std::round(cv)) < 0.1) continue;
            const bool dark = (int(std::floor(cu)) + int(std::floor(cv))) % 2 == 1;
            const TRgb c = at(image, px, py);
            EXPECT_EQ(c.b > c.r + 40, dark) << "pixel " << px << "," << py << " sees floor point " << x << "," << z << " " << c;
            ++checked;
        }
    EXPECT_GT(checked, 1000);
}

TEST_F(RasterizerTest, SpecularIsAddedAfterModulatingTheTexture) {
    const TImage image = render("Specular");
    const TRgb corner = at(image, 63, 0);  // (100, 200, 50) x nearly white + nearly full red specular
    EXPECT_EQ(corner.r, 255) << "saturated";
    EXPECT_NEAR(corner.g, 198, 2);
    EXPECT_NEAR(corner.b, 50, 1);
    EXPECT_EQ(at(image, 0, 0), (TRgb{100, 50, 25})) << "(200, 100, 50) x grey, no specular";
}

TEST_F(RasterizerTest, ASixteenBitBackBufferHoldsOnlyFiveSixFiveColours) {
    const TImage image = render("Gradient16Bit");
    EXPECT_EQ(at(image, 0, 0), (TRgb{16, 77, 198})) << "the clear colour rounded to 5:6:5";
    for (uint32_t p : image.pixels) {
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        ASSERT_EQ(r, ((r >> 3) << 3) | (r >> 5));
        ASSERT_EQ(g, ((g >> 2) << 2) | (g >> 6));
        ASSERT_EQ(b, ((b >> 3) << 3) | (b >> 5));
    }
    const TImage full = render("Gradient32Bit");
    EXPECT_EQ(at(full, 0, 0), (TRgb{13, 77, 201}));
}

TEST_F(RasterizerTest, DrawingAndClearingStayInsideTheViewport) {
    const TImage image = render("Viewport");
    EXPECT_EQ(at(image, 10, 10), (TRgb{0, 0, 80}));
    EXPECT_EQ(at(image, 40, 56), (TRgb{0, 0, 80})) << "below the viewport";
    EXPECT_EQ(at(image, 33, 33), (TRgb{90, 90, 0}));
    EXPECT_EQ(at(image, 48, 40), (TRgb{255, 0, 255}));
    EXPECT_EQ(at(image, 39, 40), (TRgb{90, 90, 0})) << "clip-space -0.5 is pixel 40 of a viewport from 32";
    EXPECT_EQ(at(image, 40, 40), (TRgb{255, 0, 255}));
}

TEST_F(RasterizerTest, PixelCentresLieOnWholeCoordinatesAndLeftAndTopEdgesAreInside) {
    TSoftwareDevice device({8, 8, 32, false}, 1);
    PrepareFlat(device);
    device.SetTexture(0, nullptr);
    auto rect = [&](float x0, float x1) {
        DrawQuad(device, PixelVertex(x0, 0, 0, 0xFFFFFFFF, 0, 0, 8, 8), PixelVertex(x1, 0, 0, 0xFFFFFFFF, 0, 0, 8, 8),
                 PixelVertex(x0, 8, 0, 0xFFFFFFFF, 0, 0, 8, 8), PixelVertex(x1, 8, 0, 0xFFFFFFFF, 0, 0, 8, 8));
    };
    uint32_t pixels[64];
    auto row = [&] {
        device.ReadBackBuffer(pixels);
        std::string s;
        for (int x = 0; x < 8; ++x) s += (pixels[4 * 8 + x] & 0xFFFFFF) ? '#' : '.';
        return s;
    };
    rect(0.5f, 2.5f);
    EXPECT_EQ(row(), ".##.....");
    device.Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1, 0);
    rect(4, 6);
    EXPECT_EQ(row(), "....##..");
}

TEST_F(RasterizerTest, TextureCoordinatesWrapBeyondEitherEnd) {
    const TImage image = render("Wrapping");
    // Pixel (x, y) of the first quad has u = -1.25 + 3x / 32 and v = -0.5 + 3y / 32.
    for (int y = 1; y < 31; y += 3)
        for (int x = 1; x < 31; x += 3) {
            const double u = -1.25 + 3.0 * x / 32, v = -0.5 + 3.0 * y / 32;
            const int tu = int(std::floor(u * 8)) & 7, tv = int(std::floor(v * 8)) & 7;
            const bool second = (tu / 2 + tv / 2) % 2 == 1;
            EXPECT_EQ(at(image, x, y), second ? (TRgb{0, 128, 255}) : (TRgb{255, 255, 0})) << x << "," << y;
        }
}

TEST_F(RasterizerTest, LightingWithoutLightsGivesAmbientTimesMaterialPlusEmissive) {
    const TImage image = render("LightingWithoutLights");
    EXPECT_EQ(at(image, 32, 32), (TRgb{200, 114, 50}));
}

TEST_F(RasterizerTest, ThePictureDoesNotDependOnTheNumberOfWorkers) {
    const TImage one = render("EngineFrame", 1);
    for (int workers : {2, 3}) {
        const TImage more = render("EngineFrame", workers);
        EXPECT_EQ(CountDifferences(one, more, 0), 0) << workers << " workers: " << DescribeDifferences(one, more, 0);
    }
    EXPECT_GT(litPixels(one), 128 * 96 / 2);
}

}  // namespace
}  // namespace grottix::test
