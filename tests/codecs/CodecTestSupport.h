#pragma once
// Fixtures for the codec tests: images with known pixels, streams over byte strings, round trips,
// and the reference tools of other encoders (ImageMagick, netpbm) run in a temporary folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/Bitmap.h"
#include "storage/Stream.h"

namespace grottix::test {

// Every pixel different: red from x, green from y, blue from both.
TBitmap GradientImage(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
// 8-bit indices (x + 3y) mod 256 over a palette of 256 distinct colours.
TBitmap IndexedImage(int width, int height);
std::vector<TPaletteEntry> DistinctPalette(int count);

// Pixel colours of two images are equal everywhere (same size required).
::testing::AssertionResult SamePixels(const TBitmap& expected, const TBitmap& actual);

template <typename Codec>
std::vector<uint8_t> Encode(const TBitmap& image) {
    Codec codec;
    codec.Assign(image);
    TMemoryStream stream;
    codec.SaveToStream(stream);
    return stream.TakeBytes();
}

template <typename Codec>
Codec Decode(const std::vector<uint8_t>& bytes) {
    Codec codec;
    TMemoryStream stream(bytes);
    codec.LoadFromStream(stream);
    return codec;
}

template <typename Codec>
Codec RoundTrip(const TBitmap& image) {
    return Decode<Codec>(Encode<Codec>(image));
}

std::vector<uint8_t> Bytes(const std::string& text);

// The real ImageMagick convert and the netpbm tools, when installed.
bool HaveTool(const std::string& tool);
const std::string& ImageMagick();
// Runs a shell command; true when it exits with 0.
bool RunTool(const std::string& command);

}  // namespace grottix::test
