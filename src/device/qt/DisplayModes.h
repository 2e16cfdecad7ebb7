#pragma once
// Full-screen display modes. We render into a back buffer of our own and stretch it to the screen,
// so every size the screen can show is offered at 16 and at 32 bits per pixel.

#include <utility>
#include <vector>

namespace grottix {

struct TDisplayMode {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    bool operator==(const TDisplayMode&) const = default;
};

// The sizes the window system reports (may be few, or none) joined with the common sizes that fit
// the largest of them (or the screen, when none is reported); each at 16 and 32 bits, ordered by
// width, height and depth.
std::vector<TDisplayMode> BuildDisplayModes(const std::vector<std::pair<int, int>>& reportedSizes, int screenWidth,
                                            int screenHeight);

// Sizes from SDL2's list of modes of the first display; empty when SDL has no video here.
std::vector<std::pair<int, int>> SdlDisplaySizes();

// The modes of this machine (enumerated once by the caller).
std::vector<TDisplayMode> EnumerateDisplayModes();

// The full-screen mode of a drawing surface and the list of modes, enumerated on first use.
class TDXDrawDisplay {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitCount() const { return bitCount_; }
    void SetWidth(int width) { width_ = width; }
    void SetHeight(int height) { height_ = height; }
    void SetBitCount(int bitCount) { bitCount_ = bitCount; }

    int Count();
    // The mode at index (0 <= index < Count()); an index outside gives an empty mode.
    TDisplayMode Modes(int index);
    // Replaces the enumerated list (tests, or a caller that knows better).
    void SetModes(std::vector<TDisplayMode> modes);

private:
    void enumerate();

    int width_ = 640, height_ = 480, bitCount_ = 16;
    bool enumerated_ = false;
    std::vector<TDisplayMode> modes_;
};

}  // namespace grottix
