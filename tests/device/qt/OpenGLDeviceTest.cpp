// The OpenGL backend draws every test scene as the CPU rasterizer does, within a small tolerance:
// the two agree on pixel centres, depth range, winding, colour key, filters and blending.

#include <gtest/gtest.h>

#include "device/DeviceScenes.h"
#include "device/SoftwareDevice.h"
#include "device/qt/OpenGLDevice.h"
#include "device/qt/QtTestApplication.h"

namespace grottix::test {
namespace {

TImage renderWith(TD3DBackend& device, const TDeviceScene& scene) {
    device.BeginScene();
    scene.draw(device, scene.width, scene.height);
    device.EndScene();
    TImage image{scene.width, scene.height, std::vector<uint32_t>(size_t(scene.width) * size_t(scene.height))};
    device.ReadBackBuffer(image.pixels.data());
    return image;
}

// Colour tolerance per channel, and how many pixels may differ by more: rounding of interpolated
// values lands a few edge pixels on the other side of their centre.
struct TTolerance {
    int channel;
    int pixels;
};

TTolerance toleranceFor(const std::string& scene) {
    // Far away, texels shrink below a pixel and which one a centre hits comes down to rounding.
    if (scene == "PerspectiveTexture" || scene == "EngineFrame") return {8, 48};
    return {8, 4};
}

class OpenGLMatchesRasterizer : public ::testing::TestWithParam<TDeviceScene> {};

TEST_P(OpenGLMatchesRasterizer, OnTheScene) {
    GROTTIX_REQUIRE_OPENGL();
    const TDeviceScene& scene = GetParam();
    const TSurfaceDesc surface{scene.width, scene.height, scene.bitCount, true};
    TSoftwareDevice cpu(surface, 1);
    TOpenGLDevice gl(surface);
    const TImage expected = renderWith(cpu, scene);
    const TImage actual = renderWith(gl, scene);
    const TTolerance tolerance = toleranceFor(scene.name);
    EXPECT_LE(CountDifferences(expected, actual, tolerance.channel), tolerance.pixels)
        << DescribeDifferences(expected, actual, tolerance.channel);
}

INSTANTIATE_TEST_SUITE_P(Scenes, OpenGLMatchesRasterizer, ::testing::ValuesIn(AllScenes()),
                         [](const ::testing::TestParamInfo<TDeviceScene>& info) { return info.param.name; });

TEST(OpenGLDevice, RefusesBadCallsWithoutDrawing) {
    GROTTIX_REQUIRE_OPENGL();
    TOpenGLDevice gl({16, 16, 32, true});
    const TD3DLVertex vertex{};
    EXPECT_FALSE(gl.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, nullptr, 3, 0));
    EXPECT_FALSE(gl.DrawPrimitive(D3DPT_TRIANGLELIST, 0x102, &vertex, 1, 0));
    EXPECT_FALSE(gl.DrawPrimitive(TD3DPrimitiveType(9), D3DFVF_LVERTEX, &vertex, 1, 0));
    EXPECT_FALSE(gl.Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1, 0));
    EXPECT_FALSE(gl.SetViewport({8, 8, 16, 16, 0, 1})) << "reaches beyond the surface";
}

TEST(OpenGLDevice, KeepsTexturesAcrossFramesAndDropsThoseOfFreedSurfaces) {
    GROTTIX_REQUIRE_OPENGL();
    TOpenGLDevice gl({16, 16, 32, true});
    TSoftwareDevice cpu({16, 16, 32, true}, 1);
    for (TD3DBackend* device : {static_cast<TD3DBackend*>(&gl), static_cast<TD3DBackend*>(&cpu)}) {
        for (int frame = 0; frame < 3; ++frame) {
            auto texture = CheckerTexture(4, 1, RGB(frame * 100, 0, 0), RGB(0, 0, 255));
            PrepareFlat(*device);
            device->SetTexture(0, texture.get());
            DrawQuad(*device, PixelVertex(0, 0, 0.5f, 0xFFFFFFFF, 0, 0, 16, 16), PixelVertex(16, 0, 0.5f, 0xFFFFFFFF, 1, 0, 16, 16),
                     PixelVertex(0, 16, 0.5f, 0xFFFFFFFF, 0, 1, 16, 16), PixelVertex(16, 16, 0.5f, 0xFFFFFFFF, 1, 1, 16, 16));
            device->SetTexture(0, nullptr);
            device->Flush();
        }
    }
    uint32_t a[256], b[256];
    gl.ReadBackBuffer(a);
    cpu.ReadBackBuffer(b);
    EXPECT_EQ(a[0] & 0xFFFFFF, 0xC80000u) << "the last frame's texture, not a stale one";
    EXPECT_EQ(a[0], b[0]);
}

}  // namespace
}  // namespace grottix::test
