#include <gtest/gtest.h>

#include <cstdlib>

#include "codecs/CodecSupport.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/Jpeg.h"

namespace grottix {
namespace {

// JPEG is lossy: a smooth image comes back within a few levels per channel.
int largestDifference(const TBitmap& a, const TBitmap& b) {
    int largest = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            for (int shift = 0; shift < 24; shift += 8)
                largest = std::max(largest, std::abs(int((a.Pixel(x, y) >> shift) & 0xFF) - int((b.Pixel(x, y) >> shift) & 0xFF)));
    return largest;
}

TBitmap smoothImage(int width, int height) {
    TBitmap image(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, RGB(uint8_t(x * 4), uint8_t(y * 4), 128));
    return image;
}

TEST(Jpeg, ImagesOfAnyFormatComeBackAsTwentyFourBitsCloseToTheOriginal) {
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pf8bit}) {
        TBitmap image = smoothImage(40, 30);
        if (format != TPixelFormat::pf24bit) image.SetPixelFormat(format);
        const TJPEGImage back = test::RoundTrip<TJPEGImage>(image);
        EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf24bit);
        EXPECT_EQ(back.Width(), 40);
        EXPECT_LE(largestDifference(image, back), 24) << BitsPerPixel(format);
    }
}

TEST(Jpeg, BrokenFilesRaiseLibjpegsMessageAndEmptyImagesAreNotSaved) {
    EXPECT_THROW(test::Decode<TJPEGImage>(test::Bytes("not a jpeg")), EJPEG);
    EXPECT_THROW(test::Decode<TJPEGImage>({}), EJPEG);
    std::vector<uint8_t> file = test::Encode<TJPEGImage>(smoothImage(16, 16));
    file.resize(file.size() - 40);
    EXPECT_THROW(test::Decode<TJPEGImage>(file), EImageEndsEarly);
    EXPECT_THROW(test::Encode<TJPEGImage>(TBitmap()), EJPEG);
}

}  // namespace
}  // namespace grottix
