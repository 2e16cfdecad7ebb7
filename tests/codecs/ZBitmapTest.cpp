#include <gtest/gtest.h>

#include <cstring>

#include "codecs/BmpFormat.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/zBitmap.h"
#include "storage/Zlib.h"

namespace grottix {
namespace {

using test::SamePixels;

// The BMP file inside a zBitmap.
std::vector<uint8_t> innerBmp(const std::vector<uint8_t>& file) {
    int32_t length;
    std::memcpy(&length, file.data() + file.size() - 4, 4);
    std::vector<uint8_t> bmp = InflateBytes(std::span(file.data(), file.size() - 4), uint64_t(length));
    EXPECT_EQ(bmp.size(), size_t(length));
    return bmp;
}

TEST(ZBitmap, EightAndTwentyFourBitImagesSurviveAWriteAndRead) {
    const TBitmap indexed = test::IndexedImage(9, 5);
    const TZBitmap backIndexed = test::RoundTrip<TZBitmap>(indexed);
    EXPECT_EQ(backIndexed.Pixels(), indexed.Pixels());
    EXPECT_EQ(backIndexed.Palette(), indexed.Palette());

    const TBitmap colour = test::GradientImage(9, 5);
    EXPECT_EQ(test::RoundTrip<TZBitmap>(colour).Pixels(), colour.Pixels());
}

TEST(ZBitmap, RowsAreDeltaCodedWithWrappingDifferences) {
    TBitmap image(3, 1, TPixelFormat::pf8bit);
    image.SetPalette(test::DistinctPalette(256));
    image.ScanLine(0)[0] = 250;
    image.ScanLine(0)[1] = 5;
    image.ScanLine(0)[2] = 5;
    const std::vector<uint8_t> bmp = innerBmp(test::Encode<TZBitmap>(image));
    const uint8_t* row = bmp.data() + (bmp.size() - 4);
    EXPECT_EQ(row[0], 250);
    EXPECT_EQ(row[1], 11);
    EXPECT_EQ(row[2], 0);
}

TEST(ZBitmap, TrueColourDeltasArePerChannel) {
    TBitmap image(2, 1, TPixelFormat::pf24bit);
    image.SetPixel(0, 0, RGB(10, 20, 30));
    image.SetPixel(1, 0, RGB(5, 25, 30));
    const std::vector<uint8_t> bmp = innerBmp(test::Encode<TZBitmap>(image));
    const uint8_t* row = bmp.data() + 54;
    EXPECT_EQ(std::vector<uint8_t>(row, row + 6), (std::vector<uint8_t>{30, 20, 10, 0, 5, 251}));
}

TEST(ZBitmap, AThirtyTwoBitImageIsWrittenAsTwentyFourAndTheObjectFollows) {
    TZBitmap z;
    z.Assign(test::GradientImage(4, 3, TPixelFormat::pf32bit));
    TMemoryStream stream;
    z.SaveToStream(stream);
    EXPECT_EQ(z.PixelFormat(), TPixelFormat::pf24bit);
    stream.SetPosition(0);
    TZBitmap back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_TRUE(SamePixels(test::GradientImage(4, 3), back));
}

TEST(ZBitmap, FourBitImagesAreStoredWithoutDeltaCoding) {
    TBitmap image = test::IndexedImage(6, 2);
    image.SetPixelFormat(TPixelFormat::pf4bit);
    const std::vector<uint8_t> file = test::Encode<TZBitmap>(image);
    EXPECT_EQ(innerBmp(file), WriteBmp(image));
    const TZBitmap back = test::Decode<TZBitmap>(file);
    EXPECT_EQ(back.Pixels(), image.Pixels());
    EXPECT_EQ(back.Palette(), image.Palette());
}

TEST(ZBitmap, AOnePixelWideImageHasNothingToDeltaCode) {
    const TBitmap image = test::GradientImage(1, 4);
    EXPECT_EQ(innerBmp(test::Encode<TZBitmap>(image)), WriteBmp(image));
}

TEST(ZBitmap, TheTrailerIsReadFromTheEndOfTheStreamWhereverTheBodyStarts) {
    std::vector<uint8_t> bytes = {1, 2, 3};
    const std::vector<uint8_t> file = test::Encode<TZBitmap>(test::GradientImage(3, 3));
    bytes.insert(bytes.end(), file.begin(), file.end());
    TMemoryStream stream(bytes);
    stream.SetPosition(3);
    TZBitmap image;
    image.LoadFromStream(stream);
    EXPECT_TRUE(SamePixels(test::GradientImage(3, 3), image));
}

TEST(ZBitmap, CorruptAndTruncatedBodiesFail) {
    std::vector<uint8_t> file = test::Encode<TZBitmap>(test::GradientImage(8, 8));
    std::vector<uint8_t> corrupt = file;
    corrupt[5] ^= 0xFF;
    corrupt[6] ^= 0xFF;
    EXPECT_THROW(test::Decode<TZBitmap>(corrupt), EGrottixError);
    EXPECT_THROW(test::Decode<TZBitmap>({1, 2}), EGrottixError);
    EXPECT_THROW(test::Decode<TZBitmap>(std::vector<uint8_t>(file.begin(), file.begin() + 20)), EGrottixError);
}

}  // namespace
}  // namespace grottix
