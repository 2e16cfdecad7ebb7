#include "device/raster/FrameBuffer.h"

#include <algorithm>
#include <cstring>

namespace grottix::raster {

void TFrameBuffer::Resize(int width, int height, int bitCount, bool zBuffer) {
    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
    const size_t pixels = size_t(width) * size_t(height);
    color_.assign(pixels, 0xFF000000u);
    depth_.assign(zBuffer ? pixels : 0, 1.0f);
}

void TFrameBuffer::Clear(const TRasterClear& clear, const TRowBand& band) {
    const uint32_t r = ArgbRed(clear.color), g = ArgbGreen(clear.color), b = ArgbBlue(clear.color);
    const uint32_t color = Is16Bit() ? QuantizeTo565(r, g, b) : (0xFF000000u | (clear.color & 0xFFFFFF));
    const bool target = clear.flags & D3DCLEAR_TARGET;
    const bool depth = (clear.flags & D3DCLEAR_ZBUFFER) && HasDepth();
    const float z = clear.z >= 0 ? std::min(clear.z, 1.0f) : 0.0f;  // NaN clears to 0
    for (int y = std::max(clear.top, band.begin); y < std::min(clear.bottom, band.end); ++y) {
        if (target) std::fill(ColorRow(y) + clear.left, ColorRow(y) + clear.right, color);
        if (depth) std::fill(DepthRow(y) + clear.left, DepthRow(y) + clear.right, z);
    }
}

void TFrameBuffer::CopyTo(uint32_t* pixels) const {
    if (!color_.empty()) std::memcpy(pixels, color_.data(), color_.size() * sizeof(uint32_t));
}

}  // namespace grottix::raster
