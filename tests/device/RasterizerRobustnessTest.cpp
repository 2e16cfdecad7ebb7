// The CPU rasterizer under input it should refuse or survive, and primitives other than the engine's
// strips and lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "device/DeviceScenes.h"
#include "device/SoftwareDevice.h"

namespace grottix::test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

class RasterizerInput : public ::testing::Test {
protected:
    RasterizerInput() : device_({32, 32, 32, true}, 2) { PrepareFlat(device_); }

    std::vector<uint32_t> pixels() {
        std::vector<uint32_t> result(32 * 32);
        device_.ReadBackBuffer(result.data());
        return result;
    }
    int lit() {
        int count = 0;
        for (uint32_t p : pixels()) count += (p & 0xFFFFFF) != 0;
        return count;
    }

    TSoftwareDevice device_;
};

TEST_F(RasterizerInput, CallsWithoutVerticesOrInAnotherFormatAreRefused) {
    const TD3DLVertex triangle[3] = {PixelVertex(0, 0, 0.5f, ~0u, 0, 0, 32, 32), PixelVertex(30, 0, 0.5f, ~0u, 0, 0, 32, 32),
                                     PixelVertex(0, 30, 0.5f, ~0u, 0, 0, 32, 32)};
    EXPECT_FALSE(device_.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, nullptr, 3, 0));
    EXPECT_FALSE(device_.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_XYZ, triangle, 3, 0));
    EXPECT_FALSE(device_.DrawPrimitive(TD3DPrimitiveType(0), D3DFVF_LVERTEX, triangle, 3, 0));
    EXPECT_FALSE(device_.DrawPrimitive(TD3DPrimitiveType(7), D3DFVF_LVERTEX, triangle, 3, 0));
    EXPECT_TRUE(device_.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, triangle, 2, 0)) << "too few vertices: nothing to draw";
    EXPECT_FALSE(device_.Clear(2, nullptr, D3DCLEAR_TARGET, 0, 1, 0));
    EXPECT_FALSE(device_.Clear(0, nullptr, 0x80, 0, 1, 0));
    EXPECT_EQ(lit(), 0);
}

TEST_F(RasterizerInput, VerticesThatAreNotFiniteDropTheirPrimitivesOnly) {
    device_.SetTexture(0, nullptr);
    const TD3DLVertex good[3] = {PixelVertex(0, 0, 0.5f, ~0u, 0, 0, 32, 32), PixelVertex(16, 0, 0.5f, ~0u, 0, 0, 32, 32),
                                 PixelVertex(0, 16, 0.5f, ~0u, 0, 0, 32, 32)};
    for (float bad : {kNaN, kInfinity, -kInfinity, 3e38f}) {
        TD3DLVertex list[6] = {good[0], good[1], good[2], good[0], good[1], good[2]};
        list[4].x = bad;
        list[5].z = bad;
        EXPECT_TRUE(device_.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, list, 6, 0));
    }
    EXPECT_EQ(lit(), 16 * 17 / 2) << "the good triangle (rows 0 to 15, 16 - row pixels each) and nothing else";
}

TEST_F(RasterizerInput, HugeAndUndefinedTextureCoordinatesStillSampleTheTexture) {
    auto texture = CheckerTexture(4, 1, RGB(255, 0, 0), RGB(0, 255, 0));
    device_.SetTexture(0, texture.get());
    for (uint32_t filter : {D3DTFG_POINT, D3DTFG_LINEAR}) {
        device_.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
        device_.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
        for (float coordinate : {kNaN, kInfinity, -1e30f, 1e30f, 123456.7f}) {
            DrawQuad(device_, PixelVertex(0, 0, 0.5f, ~0u, coordinate, 0, 32, 32), PixelVertex(32, 0, 0.5f, ~0u, 0, coordinate, 32, 32),
                     PixelVertex(0, 32, 0.5f, ~0u, coordinate, coordinate, 32, 32), PixelVertex(32, 32, 0.5f, ~0u, 1, 1, 32, 32));
            device_.Flush();
        }
    }
    for (uint32_t p : pixels()) {  // red, green or a mix of them: always taken from the texture
        EXPECT_EQ(p & 0xFF, 0u);
        EXPECT_NE(p & 0xFFFF00, 0u);
    }
}

TEST_F(RasterizerInput, PrimitivesFarOutsideTheViewOrAtTheEyeAreClippedWithoutTrouble) {
    device_.SetTexture(0, nullptr);
    PrepareEngine(device_, 0);
    const TD3DLVertex far[3] = {{-1e30f, -1e30f, 1e30f, 0, ~0u, 0, 0, 0}, {1e30f, -1e30f, 1e30f, 0, ~0u, 0, 0, 0},
                                {0, 1e30f, 1e30f, 0, ~0u, 0, 0, 0}};
    const TD3DLVertex throughTheEye[3] = {{0, 0, 0, 0, ~0u, 0, 0, 0}, {5, -5, 10, 0, ~0u, 0, 0, 0}, {-5, -5, -10, 0, ~0u, 0, 0, 0}};
    EXPECT_TRUE(device_.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, far, 3, 0));
    EXPECT_TRUE(device_.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, throughTheEye, 3, 0));
    device_.Flush();
    SUCCEED();
}

TEST_F(RasterizerInput, ClearRectanglesAreCutToTheViewport) {
    const TD3DRect rects[2] = {{-100, -100, 4, 4}, {30, 30, 1000, 1000}};
    EXPECT_TRUE(device_.Clear(2, rects, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00FFFFFF, kNaN, 0));
    EXPECT_EQ(lit(), 16 + 4);
}

TEST_F(RasterizerInput, AListAStripAndAFanOfTheSameQuadDrawTheSamePixels) {
    auto texture = CheckerTexture(8, 1, RGB(255, 255, 255), RGB(40, 80, 160));
    device_.SetTexture(0, texture.get());
    const TD3DLVertex a = PixelVertex(3.3f, 2.1f, 0.5f, ~0u, 0, 0, 32, 32), b = PixelVertex(28.6f, 4.7f, 0.5f, 0xFF808080, 1, 0, 32, 32);
    const TD3DLVertex c = PixelVertex(5.2f, 29.9f, 0.5f, 0xFF00FFFF, 0, 1, 32, 32), d = PixelVertex(26.4f, 27.3f, 0.5f, ~0u, 1, 1, 32, 32);
    const TD3DLVertex list[6] = {a, b, c, b, d, c}, strip[4] = {a, b, c, d}, fan[4] = {b, d, c, a};
    std::vector<std::vector<uint32_t>> images;
    for (auto [type, vertices, count] : {std::tuple(D3DPT_TRIANGLELIST, list, 6u), std::tuple(D3DPT_TRIANGLESTRIP, strip, 4u),
                                         std::tuple(D3DPT_TRIANGLEFAN, fan, 4u)}) {
        device_.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
        device_.DrawPrimitive(type, D3DFVF_LVERTEX, vertices, count, 0);
        images.push_back(pixels());
    }
    EXPECT_EQ(images[0], images[1]);
    EXPECT_EQ(images[0], images[2]);
}

TEST_F(RasterizerInput, LinePrimitivesDrawOnePixelPerColumnOfAFlatLineAndPointsOnePixelEach) {
    device_.SetTexture(0, nullptr);
    const TD3DLVertex line[2] = {PixelVertex(2, 5, 0.5f, ~0u, 0, 0, 32, 32), PixelVertex(12, 7, 0.5f, ~0u, 0, 0, 32, 32)};
    device_.DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX, line, 2, 0);
    EXPECT_EQ(lit(), 10) << "columns 2 to 11";
    const TD3DLVertex strip[3] = {PixelVertex(20, 2, 0.5f, ~0u, 0, 0, 32, 32), PixelVertex(20, 12, 0.5f, ~0u, 0, 0, 32, 32),
                                  PixelVertex(25, 12, 0.5f, ~0u, 0, 0, 32, 32)};
    device_.DrawPrimitive(D3DPT_LINESTRIP, D3DFVF_LVERTEX, strip, 3, 0);
    EXPECT_EQ(lit(), 10 + 10 + 5);
    const TD3DLVertex points[3] = {PixelVertex(30.4f, 30.6f, 0.5f, ~0u, 0, 0, 32, 32), PixelVertex(-3, 5, 0.5f, ~0u, 0, 0, 32, 32),
                                   PixelVertex(31.4f, 0.2f, 0.5f, ~0u, 0, 0, 32, 32)};
    device_.DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, points, 3, 0);
    const std::vector<uint32_t> image = pixels();
    EXPECT_NE(image[31 * 32 + 30] & 0xFFFFFF, 0u);
    EXPECT_NE(image[0 * 32 + 31] & 0xFFFFFF, 0u);
    EXPECT_EQ(lit(), 25 + 2) << "the point left of the surface is not drawn";
}

TEST_F(RasterizerInput, ATextureOfAnySizeWrapsLikeAPowerOfTwoOne) {
    TBitmap odd(3, 5, TPixelFormat::pf24bit);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) odd.SetPixel(x, y, RGB(uint8_t(x * 100), uint8_t(y * 50), 7));
    auto texture = TDirectDrawSurface::Create(odd);
    device_.SetTexture(0, texture.get());
    DrawQuad(device_, PixelVertex(0, 0, 0.5f, ~0u, -1, -1, 32, 32), PixelVertex(32, 0, 0.5f, ~0u, 1, -1, 32, 32),
             PixelVertex(0, 32, 0.5f, ~0u, -1, 1, 32, 32), PixelVertex(32, 32, 0.5f, ~0u, 1, 1, 32, 32));
    const std::vector<uint32_t> image = pixels();
    for (int y = 1; y < 32; y += 5)
        for (int x = 1; x < 32; x += 5) {
            const double u = -1 + 2.0 * x / 32, v = -1 + 2.0 * y / 32;
            const int tx = ((int(std::floor(u * 3)) % 3) + 3) % 3, ty = ((int(std::floor(v * 5)) % 5) + 5) % 5;
            EXPECT_EQ(image[size_t(y) * 32 + size_t(x)] & 0xFFFFFF, uint32_t(tx * 100) << 16 | uint32_t(ty * 50) << 8 | 7u) << x << "," << y;
        }
}

}  // namespace
}  // namespace grottix::test

namespace grottix::test {
namespace {

// Blending with ONE and ZERO changes nothing in the picture but sends every pixel through the general
// shader instead of the spans specialised for the engine's usual state.
TImage drawTexturedScene(bool general, uint32_t filter, bool key, bool varyingDiffuse, bool specular) {
    TSoftwareDevice device({48, 40, 32, true}, 1);
    PrepareEngine(device, 0.5f, D3DRGBA(30, 0, 60, 0));
    auto texture = HoledTexture(16, RGB(200, 180, 40));
    texture->SetColorKey(RGB(0, 0, 0));
    device.SetTexture(0, texture.get());
    device.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    device.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    device.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, key);
    device.SetRenderState(D3DRENDERSTATE_SPECULARENABLE, specular);
    if (general) {
        device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO);
    }
    const uint32_t far = varyingDiffuse ? 0xFF4080C0 : 0xFFC0C0C0;
    TD3DLVertex corners[4] = {{-2, -1, 6, 0, far, 0, 0.03f, 0.02f}, {2, -1, 6, 0, far, 0, 3.03f, 0.02f},
                              {-2, -1, 1.2f, 0, 0xFFC0C0C0, 0, 0.03f, 2.02f}, {2, -1, 1.2f, 0, 0xFFC0C0C0, 0, 3.03f, 2.02f}};
    corners[3].specular = 0x00503010;
    DrawQuad(device, corners[0], corners[1], corners[2], corners[3]);
    TImage image{48, 40, std::vector<uint32_t>(48 * 40)};
    device.ReadBackBuffer(image.pixels.data());
    return image;
}

TEST(RasterizerSpans, TheSpecialisedSpansDrawWhatTheGeneralShaderDraws) {
    for (uint32_t filter : {D3DTFG_POINT, D3DTFG_LINEAR})
        for (bool key : {false, true})
            for (bool varying : {false, true})
                for (bool specular : {false, true}) {
                    const TImage fast = drawTexturedScene(false, filter, key, varying, specular);
                    const TImage general = drawTexturedScene(true, filter, key, varying, specular);
                    const long drawn = std::count_if(fast.pixels.begin(), fast.pixels.end(),
                                                     [](uint32_t p) { return (p & 0xFFFFFF) != 0x1E003C; });
                    ASSERT_GT(drawn, 300) << "the floor covers part of the picture";
                    EXPECT_EQ(CountDifferences(fast, general, 1), 0)
                        << "filter " << filter << " key " << key << " varying " << varying << " specular " << specular
                        << ": " << DescribeDifferences(fast, general, 1);
                }
}

}  // namespace
}  // namespace grottix::test
