#include <gtest/gtest.h>

#include "codecs/CodecTestSupport.h"

namespace grottix {
namespace {

using test::GradientImage;
using test::SamePixels;

TEST(Bitmap, AFreshlySizedImageIsZeroInEveryFormat) {
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf16bit,
                                TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap image(13, 5, format);
        for (uint8_t byte : image.Pixels()) ASSERT_EQ(byte, 0);
    }
}

TEST(Bitmap, ChangingTo24BitsKeepsEveryColourOfEveryFormat) {
    TBitmap indexed = test::IndexedImage(9, 7);
    TBitmap expected = indexed;
    indexed.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_TRUE(SamePixels(expected, indexed));

    TBitmap wide = GradientImage(9, 7, TPixelFormat::pf32bit);
    wide.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_TRUE(SamePixels(GradientImage(9, 7), wide));
}

TEST(Bitmap, OneAndFourBitImagesBecomeEightBitsWithTheirIndicesAndPalette) {
    TBitmap four(5, 2, TPixelFormat::pf4bit);
    four.SetPalette(test::DistinctPalette(16));
    four.ScanLine(0)[0] = 0x3A;
    four.ScanLine(1)[2] = 0xF0;
    four.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(four.ScanLine(0)[0], 3);
    EXPECT_EQ(four.ScanLine(0)[1], 10);
    EXPECT_EQ(four.ScanLine(1)[5 - 1], 15);
    EXPECT_EQ(four.Palette(), test::DistinctPalette(16));

    TBitmap one(10, 1, TPixelFormat::pf1bit);
    one.SetPalette({{1, 2, 3}, {4, 5, 6}});
    one.ScanLine(0)[1] = 0x40;  // pixel 9
    one.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(one.ScanLine(0)[9], 1);
    EXPECT_EQ(one.ScanLine(0)[8], 0);
}

TEST(Bitmap, ResizingKeepsPixelsInPlaceAndZeroesTheNewOnes) {
    TBitmap image = GradientImage(4, 3);
    const TColor corner = image.Pixel(3, 2);
    image.SetSize(6, 5);
    EXPECT_EQ(image.Pixel(3, 2), corner);
    EXPECT_EQ(image.Pixel(5, 4), 0u);
    image.SetSize(2, 2);
    EXPECT_EQ(image.Pixel(1, 1), GradientImage(4, 3).Pixel(1, 1));
}

TEST(Bitmap, StretchDrawScalesTheSourceRectangleOverTheDestination) {
    const TBitmap source = GradientImage(2, 2);
    TBitmap canvas(4, 4, TPixelFormat::pf24bit);
    canvas.StretchDraw({0, 0, 4, 4}, source);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.Pixel(x, y), source.Pixel(x / 2, y / 2)) << x << "," << y;

    // Shrinking a 3x3 part of a 4x4 image to 2x2 takes every 1.5th pixel; parts outside are clipped.
    TBitmap small(2, 2, TPixelFormat::pf24bit);
    const TBitmap big = GradientImage(4, 4);
    small.StretchDraw({-1, 0, 2, 2}, big, {0, 0, 3, 3});
    EXPECT_EQ(small.Pixel(0, 0), big.Pixel(1, 0));
    EXPECT_EQ(small.Pixel(1, 1), big.Pixel(2, 1));
}

TEST(Bitmap, StretchDrawConvertsTheSourceToTheCanvasFormat) {
    TBitmap canvas(2, 2, TPixelFormat::pf32bit);
    canvas.StretchDraw({0, 0, 2, 2}, test::IndexedImage(2, 2));
    EXPECT_TRUE(SamePixels(test::IndexedImage(2, 2), canvas));
}

}  // namespace
}  // namespace grottix
