#include "export/KeyedTileAlpha.h"

#include <algorithm>
#include <array>

#include "codecs/Bitmap.h"

namespace grottix {

namespace {

// How far the opaque colours grow into the clear texels: enough for the first mipmap levels.
constexpr int kGrowTexels = 4;

class TColourGrower {
public:
    TColourGrower(std::vector<uint8_t>& rgba, int width, int height) : rgba_(rgba), width_(width), height_(height) {}

    // Colours the clear texels (alpha 0) from their neighbours, one ring of texels a pass.
    void grow() {
        std::vector<size_t> clear;
        std::array<uint64_t, 3> sum{};
        size_t opaque = 0;
        for (size_t i = 0; i < rgba_.size() / 4; ++i) {
            if (rgba_[i * 4 + 3] == 0) {
                clear.push_back(i);
                continue;
            }
            for (size_t c = 0; c < 3; ++c) sum[c] += rgba_[i * 4 + c];
            ++opaque;
        }
        if (clear.empty() || opaque == 0) return;
        coloured_.assign(rgba_.size() / 4, 1);
        for (size_t i : clear) coloured_[i] = 0;
        for (int pass = 0; pass < kGrowTexels && !clear.empty(); ++pass) clear = growOnce(clear);
        for (size_t i : clear)
            for (size_t c = 0; c < 3; ++c) rgba_[i * 4 + c] = uint8_t(sum[c] / opaque);
    }

private:
    // Colours every clear texel with a coloured neighbour; the texels coloured in this pass count
    // as neighbours only from the next. Returns the texels still uncoloured.
    std::vector<size_t> growOnce(const std::vector<size_t>& clear) {
        std::vector<size_t> grown, left;
        for (size_t i : clear) {
            const int x = int(i % size_t(width_)), y = int(i / size_t(width_));
            std::array<unsigned, 3> sum{};
            unsigned count = 0;
            for (int ny = std::max(0, y - 1); ny <= std::min(height_ - 1, y + 1); ++ny)
                for (int nx = std::max(0, x - 1); nx <= std::min(width_ - 1, x + 1); ++nx) {
                    const size_t n = size_t(ny) * size_t(width_) + size_t(nx);
                    if (!coloured_[n]) continue;
                    for (size_t c = 0; c < 3; ++c) sum[c] += rgba_[n * 4 + c];
                    ++count;
                }
            if (count == 0) {
                left.push_back(i);
                continue;
            }
            for (size_t c = 0; c < 3; ++c) rgba_[i * 4 + c] = uint8_t((sum[c] + count / 2) / count);
            grown.push_back(i);
        }
        for (size_t i : grown) coloured_[i] = 1;
        return left;
    }

    std::vector<uint8_t>& rgba_;
    int width_, height_;
    std::vector<uint8_t> coloured_;  // opaque or coloured by an earlier pass
};

}  // namespace

bool HasKeyedTexels(const TBitmap& tile) {
    for (int y = 0; y < tile.Height(); ++y) {
        const uint8_t* row = tile.ScanLine(y);
        for (int x = 0; x < tile.Width(); ++x, row += 3)
            if ((row[0] | row[1] | row[2]) == 0) return true;
    }
    return false;
}

std::vector<uint8_t> KeyedTileRgba(const TBitmap& tile) {
    const int width = std::max(tile.Width(), 0), height = std::max(tile.Height(), 0);
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    uint8_t* out = rgba.data();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = tile.ScanLine(y);
        for (int x = 0; x < width; ++x, row += 3, out += 4) {
            out[0] = row[2];
            out[1] = row[1];
            out[2] = row[0];
            out[3] = (row[0] | row[1] | row[2]) ? 255 : 0;
        }
    }
    TColourGrower(rgba, width, height).grow();
    return rgba;
}

}  // namespace grottix
