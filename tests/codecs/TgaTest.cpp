#include <gtest/gtest.h>

#include "codecs/CodecTestSupport.h"
#include "codecs/xTGA.h"

namespace grottix {
namespace {

using test::SamePixels;

std::vector<uint8_t> header(uint8_t type, uint8_t colourMap, uint8_t bits, int width = 2, int height = 2) {
    std::vector<uint8_t> h(18, 0);
    h[1] = colourMap;
    h[2] = type;
    h[12] = uint8_t(width);
    h[13] = uint8_t(width >> 8);
    h[14] = uint8_t(height);
    h[15] = uint8_t(height >> 8);
    h[16] = bits;
    return h;
}

std::string loadError(const std::vector<uint8_t>& file) {
    try {
        test::Decode<TTGABitmap>(file);
    } catch (const EGrottixError& error) {
        return error.what();
    }
    return "";
}

TEST(Tga, TwentyFourAndThirtyTwoBitImagesSurviveAWriteAndReadTopRowIncluded) {
    const TBitmap image = test::GradientImage(5, 3);
    const TTGABitmap back = test::RoundTrip<TTGABitmap>(image);
    EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(back.Pixels(), image.Pixels());

    TBitmap wide = test::GradientImage(5, 3, TPixelFormat::pf32bit);
    wide.ScanLine(0)[3] = 0xA5;
    const TTGABitmap backWide = test::RoundTrip<TTGABitmap>(wide);
    EXPECT_EQ(backWide.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(backWide.Pixels(), wide.Pixels());
}

TEST(Tga, OtherFormatsAreSavedAsTwentyFourBitsWithTheSameColoursAndTheObjectUnchanged) {
    for (TPixelFormat format : {TPixelFormat::pf8bit, TPixelFormat::pf16bit}) {
        TTGABitmap tga;
        tga.Assign(format == TPixelFormat::pf8bit ? test::IndexedImage(4, 3) : test::GradientImage(4, 3, format));
        const TBitmap before = tga;
        TMemoryStream stream;
        tga.SaveToStream(stream);
        EXPECT_EQ(stream.Bytes()[16], 24);
        EXPECT_EQ(tga.PixelFormat(), format);
        stream.SetPosition(0);
        TTGABitmap back;
        back.LoadFromStream(stream);
        EXPECT_TRUE(SamePixels(before, back));
    }
}

TEST(Tga, TheHeaderIsEighteenBytesAndRowsRunBottomUp) {
    const TBitmap image = test::GradientImage(300, 2);
    const std::vector<uint8_t> file = test::Encode<TTGABitmap>(image);
    ASSERT_EQ(file.size(), 18u + 2 * 900);
    EXPECT_EQ(file[12], 300 & 0xFF);
    EXPECT_EQ(file[13], 1);
    EXPECT_EQ(file[17], 0);
    EXPECT_TRUE(std::equal(file.begin() + 18, file.begin() + 18 + 900, image.ScanLine(1)));
}

TEST(Tga, HeaderChecksComeInTheirOrderWithTheirMessages) {
    EXPECT_EQ(loadError(header(1, 1, 8)), "Couldn't load TGA Image. Only 24 and 32bit TGA Images supported.");
    EXPECT_EQ(loadError(header(2, 1, 24)), "Couldn't load TGA Image. Colormapped TGA images not supported.");
    EXPECT_EQ(loadError(header(2, 0, 16)), "Couldn't load TGA Image. Only 24 and 32bit TGA Images supported.");
    EXPECT_EQ(loadError(header(10, 0, 24)), "Couldn't load TGA Image. Only standard 24, 32 bit TGA Images supported.");
    EXPECT_EQ(loadError({}), "TGA image ends early in its header");
}

TEST(Tga, AFailedHeaderLeavesTheObjectAsItWas) {
    TTGABitmap tga;
    tga.Assign(test::GradientImage(2, 2));
    TMemoryStream bad(header(10, 0, 24));
    EXPECT_THROW(tga.LoadFromStream(bad), EGrottixError);
    EXPECT_TRUE(SamePixels(test::GradientImage(2, 2), tga));
}

TEST(Tga, AnIdentificationFieldIsTakenAsPixelDataAndAShortFileEndsEarly) {
    std::vector<uint8_t> file = header(2, 0, 24, 1, 2);
    file[0] = 3;
    file.insert(file.end(), {1, 2, 3, 4, 5, 6});
    const TTGABitmap image = test::Decode<TTGABitmap>(file);
    EXPECT_EQ(image.Pixel(0, 1), RGB(3, 2, 1));  // bottom row first
    EXPECT_EQ(image.Pixel(0, 0), RGB(6, 5, 4));
    file.pop_back();
    EXPECT_EQ(loadError(file), "TGA image ends early in its pixel data (row 2 of 2)");
}

TEST(Tga, AHugeClaimedSizeInATinyFileIsRefused) {
    EXPECT_THROW(test::Decode<TTGABitmap>(header(2, 0, 32, 65535, 65535)), EGrottixError);
}

}  // namespace
}  // namespace grottix
