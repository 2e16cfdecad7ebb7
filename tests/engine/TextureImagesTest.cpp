#include <gtest/gtest.h>

#include "engine/TextureImages.h"

namespace grottix {
namespace {

// A 24-bit image whose pixels have red x, green y, blue 7.
TBitmap gradient(int width, int height) {
    TBitmap image(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, RGB(uint8_t(x), uint8_t(y), 7));
    return image;
}

TEST(BuiltInColors, NamesInAnyCaseGiveTheirColourAndOtherNamesNone) {
    EXPECT_EQ(BuiltInColor("GRAY8"), RGB(128, 128, 128));
    EXPECT_EQ(BuiltInColor("gray8"), RGB(128, 128, 128));
    EXPECT_EQ(BuiltInColor("gray15"), RGB(240, 240, 240));
    EXPECT_EQ(BuiltInColor("White"), RGB(255, 255, 255));
    for (const char* name : {"gray16", "gray0", "gray08", "green", "black.bmp", ""}) EXPECT_FALSE(BuiltInColor(name)) << name;
}

TEST(FittedSides, PowerOfTwoSquaresStayOthersRoundUpToAtMost1024) {
    EXPECT_EQ(FittedSide(64, 64), 0);
    EXPECT_EQ(FittedSide(1024, 1024), 0);
    EXPECT_EQ(FittedSide(100, 100), 128);
    EXPECT_EQ(FittedSide(64, 32), 64);
    EXPECT_EQ(FittedSide(1, 1), 2);
    EXPECT_EQ(FittedSide(513, 513), 1024);
    EXPECT_EQ(FittedSide(2048, 2048), 1024);
}

TEST(FitToSquare, WithoutRedrawPixelsKeepTheirPlace) {
    TBitmap image = gradient(100, 100);
    FitToSquare(image, false);
    ASSERT_EQ(image.Width(), 128);
    EXPECT_EQ(image.Pixel(99, 99), RGB(99, 99, 7));
    EXPECT_EQ(image.Pixel(120, 120), RGB(0, 0, 0));
}

TEST(QualityModes, HalfQuarterAndTwoByTwoSizes) {
    const auto sideAfter = [](int side, int mode, bool fit) {
        TBitmap image = gradient(side, side);
        ApplyTextureQuality(image, mode, fit);
        return image.Width();
    };
    EXPECT_EQ(sideAfter(64, 1, true), 32);
    EXPECT_EQ(sideAfter(100, 1, true), 64);
    EXPECT_EQ(sideAfter(100, 1, false), 50);
    EXPECT_EQ(sideAfter(64, 2, true), 16);
    EXPECT_EQ(sideAfter(64, 4, true), 2);
    EXPECT_EQ(sideAfter(100, 0, true), 128);
    EXPECT_EQ(sideAfter(100, 9, true), 128);
}

TEST(QualityModes, DoubleSizeIsSmoothedAndKeepsBlackBlack) {
    TBitmap image(16, 16, TPixelFormat::pf24bit);
    image.Pixels().assign(image.Pixels().size(), 100);
    image.SetPixel(8, 8, RGB(0, 0, 0));
    image.SetPixel(4, 4, RGB(200, 200, 200));
    ApplyTextureQuality(image, 3, true);
    ASSERT_EQ(image.Width(), 32);
    EXPECT_EQ(image.Pixel(16, 16), RGB(0, 0, 0));
    EXPECT_EQ(image.Pixel(8, 8), RGB(200, 200, 200));  // all four of the block bright
    EXPECT_EQ(image.Pixel(9, 8), RGB(150, 150, 150));  // two bright, two plain
}

TEST(Smoothing, LeavesPixelsWithAZeroByteAndTheLastRowAndColumn) {
    TBitmap image(3, 3, TPixelFormat::pf24bit);
    image.Pixels().assign(27, 40);
    image.SetPixel(0, 0, RGB(0, 200, 200));
    image.SetPixel(1, 1, RGB(80, 80, 80));
    image.SetPixel(2, 2, RGB(80, 80, 80));
    Smooth(image);
    EXPECT_EQ(image.Pixel(0, 0), RGB(0, 200, 200));
    EXPECT_EQ(image.Pixel(1, 0), RGB(50, 50, 50));
    EXPECT_EQ(image.Pixel(1, 1), RGB(60, 60, 60));  // read from the unsmoothed image
    EXPECT_EQ(image.Pixel(2, 2), RGB(80, 80, 80));
}

TEST(TextureFormats, LoadedImagesKeepBlackOrRaiseDarkBytes) {
    TBitmap fourBit(4, 4, TPixelFormat::pf4bit);
    fourBit.SetPalette({{0, 0, 0}, {250, 3, 9}});
    fourBit.SetPixel(1, 0, RGB(250, 3, 9));
    TBitmap kept = fourBit;
    PrepareLoadedImageFormat(kept, true);
    EXPECT_EQ(kept.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(kept.Pixel(0, 0), RGB(0, 0, 0));

    TBitmap raised = fourBit;
    PrepareLoadedImageFormat(raised, false);
    EXPECT_EQ(raised.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(raised.Pixel(0, 0), RGB(8, 8, 8));
    EXPECT_EQ(raised.Pixel(1, 0), RGB(250, 8, 9));

    TBitmap eightBit(8, 8, TPixelFormat::pf8bit);
    PrepareRegisteredBitmapFormat(eightBit);
    EXPECT_EQ(eightBit.PixelFormat(), TPixelFormat::pf24bit);
}

}  // namespace
}  // namespace grottix
