#include <gtest/gtest.h>

#include <vector>

#include "codecs/Bitmap.h"
#include "device/DirectDrawSurface.h"
#include "level/TileTexels.h"

namespace grottix {
namespace {

// Every possible 16-bit texel converts to what the fix-up followed by a 5:6:5 picture widened to a
// texture gives; an odd count takes the path for the last few texels too.
TEST(TileTexels, SixteenBitTexelsBecomeWhatTheFixedUpPictureGives) {
    constexpr size_t kCount = 65536;
    std::vector<uint8_t> source(kCount * 2);
    TBitmap picture(256, 256, TPixelFormat::pf16bit);
    for (size_t i = 0; i < kCount; ++i) {
        source[i * 2] = uint8_t(i);
        source[i * 2 + 1] = uint8_t(i >> 8);
        const uint16_t fixed = FixTilePixel(uint16_t(i));
        picture.ScanLine(int(i / 256))[i % 256 * 2] = uint8_t(fixed);
        picture.ScanLine(int(i / 256))[i % 256 * 2 + 1] = uint8_t(fixed >> 8);
    }
    picture.SetPixelFormat(TPixelFormat::pf24bit);
    const auto expected = TDirectDrawSurface::Create(picture)->Image();
    std::vector<uint32_t> texels(kCount);
    ConvertTileTexels16(source.data(), kCount - 3, texels.data());
    ConvertTileTexels16(source.data() + (kCount - 3) * 2, 3, texels.data() + kCount - 3);
    for (size_t i = 0; i < kCount; ++i) ASSERT_EQ(texels[i], expected->texels[i]) << std::hex << "texel 0x" << i;
}

}  // namespace
}  // namespace grottix
