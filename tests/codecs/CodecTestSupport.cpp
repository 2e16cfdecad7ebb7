#include <gtest/gtest.h>

#include "codecs/CodecTestSupport.h"

#include <cstdlib>
#include <filesystem>

namespace grottix::test {

TBitmap GradientImage(int width, int height, TPixelFormat format) {
    TBitmap image(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixel(x, y, RGB(uint8_t(x * 7 + 3), uint8_t(y * 11 + 5), uint8_t((x + y) * 13 + 1)));
    if (format != TPixelFormat::pf24bit) image.SetPixelFormat(format);
    return image;
}

std::vector<TPaletteEntry> DistinctPalette(int count) {
    std::vector<TPaletteEntry> palette(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t((i * 37) & 0xFF)};
    return palette;
}

TBitmap IndexedImage(int width, int height) {
    TBitmap image(width, height, TPixelFormat::pf8bit);
    image.SetPalette(DistinctPalette(256));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.ScanLine(y)[x] = uint8_t(x + 3 * y);
    return image;
}

::testing::AssertionResult SamePixels(const TBitmap& expected, const TBitmap& actual) {
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height())
        return ::testing::AssertionFailure() << "size " << actual.Width() << "x" << actual.Height() << ", expected "
                                             << expected.Width() << "x" << expected.Height();
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            if (expected.Pixel(x, y) != actual.Pixel(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << actual.Pixel(x, y) << ", expected " << expected.Pixel(x, y);
    return ::testing::AssertionSuccess();
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

bool HaveTool(const std::string& tool) { return std::filesystem::exists("/usr/bin/" + tool); }

// /usr/local/bin may hold a stand-in; the tests want the real encoder.
const std::string& ImageMagick() {
    static const std::string path = "/usr/bin/convert";
    return path;
}

bool RunTool(const std::string& command) { return std::system(("( " + command + " ) >/dev/null 2>&1").c_str()) == 0; }

}  // namespace grottix::test
