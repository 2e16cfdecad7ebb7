#include "sky_data/SkyData.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace grottix::sky {

namespace {

// Centre (0, 2000, 0), horizontal semi-axis 10000, vertical 5000.
TD3DLVertex ringVertex(int ring, int meridian) {
    const double polar = ring * 18.0 * std::numbers::pi / 180;
    const double around = meridian * 24.0 * std::numbers::pi / 180;
    const double radius = 10000 * std::sin(polar);
    TD3DLVertex v;
    v.x = float(radius * std::sin(around));
    v.y = float(2000 + 5000 * std::cos(polar));
    v.z = float(radius * std::cos(around));
    v.color = 0x00FFFFFF;
    v.tu = -2.0f * float(meridian) / 15;
    v.tv = float(ring) / 10;
    return v;
}

struct Band {
    double at;  // 0 top row, 1 bottom row
    double r, g, b;
};

// Pale near the top, bright in the middle, dark towards the bottom.
constexpr Band kBands[] = {{0.0, 137, 171, 181}, {0.3, 174, 214, 224}, {0.7, 174, 214, 224}, {1.0, 75, 110, 125}};

}  // namespace

std::vector<TD3DLVertex> SkyVertices() {
    std::vector<TD3DLVertex> vertices;
    vertices.reserve(kVertexCount);
    for (int band = 0; band < kRings - 1; ++band)
        for (int meridian = 0; meridian < kMeridians; ++meridian) {
            vertices.push_back(ringVertex(band, meridian));
            vertices.push_back(ringVertex(band + 1, meridian));
        }
    return vertices;
}

TBitmap SkyPicture() {
    TBitmap picture(64, 64, TPixelFormat::pf24bit);
    for (int y = 0; y < 64; ++y) {
        const double at = y / 63.0;
        size_t i = 0;
        while (i + 2 < std::size(kBands) && at > kBands[i + 1].at) ++i;
        const Band& a = kBands[i];
        const Band& b = kBands[i + 1];
        const double f = (at - a.at) / (b.at - a.at);
        for (int x = 0; x < 64; ++x) {
            // A faint wave along the row keeps the bands from looking painted.
            const double wave = 1 + 0.015 * std::sin((x + y * 3) * std::numbers::pi / 16);
            const auto channel = [&](double p, double q) { return uint8_t(std::clamp((p + (q - p) * f) * wave, 1.0, 255.0)); };
            picture.SetPixel(x, y, RGB(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)));
        }
    }
    return picture;
}

}  // namespace grottix::sky
