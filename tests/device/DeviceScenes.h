#pragma once
// Test scenes for the 3D devices: each draws one state or rule through the device interface, so the
// CPU rasterizer can be checked pixel by pixel and OpenGL compared with it.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "codecs/Bitmap.h"
#include "device/D3DDevice.h"
#include "device/DirectDrawSurface.h"

namespace grottix::test {

struct TDeviceScene {
    std::string name;
    int width = 64;
    int height = 64;
    int bitCount = 32;
    void (*draw)(TD3DDevice& device, int width, int height) = nullptr;
};

// Test output names a scene by its name.
inline void PrintTo(const TDeviceScene& scene, std::ostream* out) { *out << scene.name; }

// Every scene; the OpenGL comparison runs them all.
const std::vector<TDeviceScene>& AllScenes();
const TDeviceScene& SceneNamed(const std::string& name);

// A vertex placed at pixel (x, y) with depth z while every transform is the identity.
TD3DLVertex PixelVertex(float x, float y, float z, uint32_t color, float u = 0, float v = 0, int width = 64,
                        int height = 64);
// Identity transforms, lighting off, no culling, and a clear of target and z-buffer.
void PrepareFlat(TD3DDevice& device, uint32_t background = 0);
// The engine's device state: 90-degree projection with the near distance carried in the view matrix,
// texture x diffuse, specular on, lighting off.
void PrepareEngine(TD3DDevice& device, float nearDistance, uint32_t background = 0);
// A quadrangle as a strip, corners given clockwise on screen from the top left.
void DrawQuad(TD3DDevice& device, const TD3DLVertex& topLeft, const TD3DLVertex& topRight,
              const TD3DLVertex& bottomLeft, const TD3DLVertex& bottomRight);

std::shared_ptr<TDirectDrawSurface> CheckerTexture(int size, int cell, TColor a, TColor b);
// A texture of one colour with a black hole in the middle half.
std::shared_ptr<TDirectDrawSurface> HoledTexture(int size, TColor color);

// Pixels of a device read back as 0xFFRRGGBB, top row first.
struct TImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
// Pixels whose red, green or blue differ by more than tolerance.
int CountDifferences(const TImage& a, const TImage& b, int tolerance);
std::string DescribeDifferences(const TImage& a, const TImage& b, int tolerance, int maxListed = 8);

}  // namespace grottix::test
