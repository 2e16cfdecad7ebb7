#pragma once
// The CPU rasterizer's back buffer: colour words 0xFFRRGGBB and a float z-buffer in [0, 1]. A 16-bit
// buffer stores colours already reduced to 5:6:5 (and widened back), so blending reads exactly what
// a 5:6:5 surface would hold.

#include <cstdint>
#include <vector>

#include "device/raster/RasterTypes.h"

namespace grottix::raster {

class TFrameBuffer {
public:
    void Resize(int width, int height, int bitCount, bool zBuffer);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Is16Bit() const { return bitCount_ == 16; }
    bool HasDepth() const { return !depth_.empty(); }

    uint32_t* ColorRow(int y) { return color_.data() + size_t(y) * size_t(width_); }
    const uint32_t* ColorRow(int y) const { return color_.data() + size_t(y) * size_t(width_); }
    float* DepthRow(int y) { return depth_.data() + size_t(y) * size_t(width_); }
    const float* DepthRow(int y) const { return depth_.data() + size_t(y) * size_t(width_); }

    // Clears the rows of the rectangle that lie in the band.
    void Clear(const TRasterClear& clear, const TRowBand& band);

    void CopyTo(uint32_t* pixels) const;

private:
    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 32;
    std::vector<uint32_t> color_;
    std::vector<float> depth_;
};

// Reduces a colour to 5:6:5 (rounding to nearest) and widens it back to eight bits per channel.
inline uint32_t QuantizeTo565(uint32_t r, uint32_t g, uint32_t b) {
    const uint32_t r5 = (r * 31 + 127) / 255, g6 = (g * 63 + 127) / 255, b5 = (b * 31 + 127) / 255;
    return 0xFF000000u | (((r5 << 3) | (r5 >> 2)) << 16) | (((g6 << 2) | (g6 >> 4)) << 8) | ((b5 << 3) | (b5 >> 2));
}

}  // namespace grottix::raster
