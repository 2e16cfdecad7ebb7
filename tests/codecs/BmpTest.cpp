#include <gtest/gtest.h>

#include <cstring>

#include "codecs/BmpFormat.h"
#include "codecs/CodecSupport.h"
#include "codecs/CodecTestSupport.h"

namespace grottix {
namespace {

using test::SamePixels;

// A BMP file with an information header (40 bytes, or 12 for the old core header).
struct BmpBuilder {
    int width = 2, height = 2, bits = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> masks;
    std::vector<TPaletteEntry> palette;
    std::vector<uint8_t> pixels;
    bool core = false;

    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out;
        auto put = [&](uint64_t value, int size) {
            for (int i = 0; i < size; ++i) out.push_back(uint8_t(value >> (8 * i)));
        };
        const size_t headerSize = core ? 12 : 40;
        const size_t offset = 14 + headerSize + masks.size() * 4 + palette.size() * (core ? 3 : 4);
        out.push_back('B');
        out.push_back('M');
        put(uint32_t(offset + pixels.size()), 4);
        put(0, 4);
        put(uint32_t(offset), 4);
        put(uint32_t(headerSize), 4);
        if (core) {
            put(uint32_t(width), 2);
            put(uint32_t(height), 2);
            put(1, 2);
            put(uint32_t(bits), 2);
        } else {
            put(uint32_t(width), 4);
            put(uint32_t(height), 4);
            put(1, 2);
            put(uint32_t(bits), 2);
            put(compression, 4);
            put(uint32_t(pixels.size()), 4);
            put(0, 8);
            put(uint32_t(palette.size()), 4);
            put(0, 4);
        }
        for (uint32_t mask : masks) put(mask, 4);
        for (const TPaletteEntry& e : palette) {
            out.push_back(e.blue);
            out.push_back(e.green);
            out.push_back(e.red);
            if (!core) out.push_back(0);
        }
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

TBitmap read(const std::vector<uint8_t>& file) {
    TBitmap image;
    ReadBmp(file, image);
    return image;
}

TEST(Bmp, EveryPixelFormatSurvivesAWriteAndReadWithItsPalette) {
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf16bit,
                                TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap image = test::GradientImage(13, 6, format == TPixelFormat::pf16bit ? format : TPixelFormat::pf24bit);
        if (BitsPerPixel(format) <= 8) {
            image = test::IndexedImage(13, 6);
            image.SetPixelFormat(format);
        }
        if (format == TPixelFormat::pf32bit) {
            image.SetPixelFormat(format);
            image.ScanLine(2)[3] = 0x7F;  // the fourth byte is kept as it is
        }
        const TBitmap back = test::RoundTrip<TBitmap>(image);
        EXPECT_EQ(back.PixelFormat(), format) << BitsPerPixel(format);
        EXPECT_EQ(back.Pixels(), image.Pixels()) << BitsPerPixel(format);
        EXPECT_EQ(back.Palette(), image.Palette()) << BitsPerPixel(format);
    }
}

TEST(Bmp, RowsAreStoredBottomUpAndPaddedToFourBytes) {
    const TBitmap image = test::GradientImage(3, 2);
    const std::vector<uint8_t> file = WriteBmp(image);
    ASSERT_EQ(file.size(), 14u + 40 + 2 * 12);
    EXPECT_EQ(std::memcmp(file.data() + 54, image.ScanLine(1), 9), 0);
    EXPECT_EQ(std::memcmp(file.data() + 54 + 12, image.ScanLine(0), 9), 0);
}

TEST(Bmp, ANegativeHeightMeansTopDownRows) {
    BmpBuilder b;
    b.height = -2;
    b.width = 1;
    b.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    const TBitmap image = read(b.bytes());
    EXPECT_EQ(image.Pixel(0, 0), RGB(3, 2, 1));
    EXPECT_EQ(image.Pixel(0, 1), RGB(6, 5, 4));
}

TEST(Bmp, CoreHeaderFilesWithThreeBytePalettesAreRead) {
    BmpBuilder b;
    b.core = true;
    b.bits = 8;
    b.width = 2;
    b.height = 1;
    b.palette = {{10, 20, 30}, {40, 50, 60}};
    b.pixels = {1, 0, 0, 0};
    const TBitmap image = read(b.bytes());
    EXPECT_EQ(image.Pixel(0, 0), RGB(40, 50, 60));
    EXPECT_EQ(image.Pixel(1, 0), RGB(10, 20, 30));
}

TEST(Bmp, Rle8RunsAbsoluteRunsDeltasAndLineEndsDecode) {
    BmpBuilder b;
    b.bits = 8;
    b.compression = 1;
    b.width = 5;
    b.height = 3;
    b.palette = test::DistinctPalette(8);
    // bottom row: run of 2 x 1, absolute 3 pixels (4, 5, 6) and a pad byte; end of line; delta (1, 1);
    // run 2 x 7; end of bitmap.
    b.pixels = {2, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 1, 2, 7, 0, 1};
    const TBitmap image = read(b.bytes());
    const uint8_t* bottom = image.ScanLine(2);
    EXPECT_EQ(std::vector<uint8_t>(bottom, bottom + 5), (std::vector<uint8_t>{1, 1, 4, 5, 6}));
    const uint8_t* top = image.ScanLine(0);
    EXPECT_EQ(std::vector<uint8_t>(top, top + 5), (std::vector<uint8_t>{0, 7, 7, 0, 0}));
}

TEST(Bmp, Rle4AlternatesTheNibblesOfARun) {
    BmpBuilder b;
    b.bits = 4;
    b.compression = 2;
    b.width = 5;
    b.height = 1;
    b.palette = test::DistinctPalette(16);
    b.pixels = {5, 0x12, 0, 1};
    const TBitmap image = read(b.bytes());
    for (int x = 0; x < 5; ++x) EXPECT_EQ(image.PixelIndex(x, 0), x % 2 ? 2 : 1);
}

TEST(Bmp, RunsThatLeaveTheImageAreDropped) {
    BmpBuilder b;
    b.bits = 8;
    b.compression = 1;
    b.width = 2;
    b.height = 1;
    b.palette = test::DistinctPalette(4);
    b.pixels = {255, 3, 0, 2, 200, 200, 255, 3, 0, 5, 1, 2, 3, 4, 5, 0};
    EXPECT_EQ(read(b.bytes()).ScanLine(0)[1], 3);
}

TEST(Bmp, FiveFiveFiveAndBitFieldPixelsBecomeTrueColour) {
    BmpBuilder b;
    b.bits = 16;
    b.width = 1;
    b.height = 1;
    b.pixels = {0x1F, 0x7C, 0, 0};  // 0x7C1F: full red and blue in 5:5:5
    EXPECT_EQ(read(b.bytes()).Pixel(0, 0), RGB(255, 0, 255));

    BmpBuilder fields;
    fields.bits = 32;
    fields.compression = 3;
    fields.width = 1;
    fields.height = 1;
    fields.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
    fields.pixels = {10, 20, 30, 0};
    EXPECT_EQ(read(fields.bytes()).Pixel(0, 0), RGB(10, 20, 30));
}

TEST(Bmp, AShortFileEndsEarlyButTheLastRowMayLackItsPadding) {
    std::vector<uint8_t> file = WriteBmp(test::GradientImage(5, 4));
    file.resize(file.size() - 1);
    EXPECT_EQ(read(file).Pixel(4, 0), test::GradientImage(5, 4).Pixel(4, 0));
    file.resize(file.size() - 2 * 16 - 5);
    TBitmap image;
    EXPECT_THROW(ReadBmp(file, image), EImageEndsEarly);
    file.resize(40);
    EXPECT_THROW(ReadBmp(file, image), EImageEndsEarly);
    // Rows of no pixels need no data (found by the BMP fuzz target).
    BmpBuilder empty;
    empty.width = 0;
    empty.height = 5;
    empty.pixels = {1, 2, 3};
    ReadBmp(empty.bytes(), image);
    EXPECT_EQ(image.Height(), 5);
}

TEST(Bmp, BadFilesRaiseTheBitmapError) {
    BmpBuilder unknownDepth;
    unknownDepth.bits = 7;
    BmpBuilder rleWithWrongDepth;
    rleWithWrongDepth.compression = 1;
    BmpBuilder absurd;  // 65535 x 65535 claimed by a file of a few dozen bytes
    absurd.width = 65535;
    absurd.height = 65535;
    for (const auto& file : {test::Bytes("BM"), test::Bytes("PK\x03\x04 not a bitmap at all, really......"),
                             unknownDepth.bytes(), rleWithWrongDepth.bytes()}) {
        TBitmap image;
        EXPECT_THROW(ReadBmp(file, image), EInvalidGraphic);
    }
    TBitmap image;
    EXPECT_THROW(ReadBmp(absurd.bytes(), image), EGrottixError);
}

TEST(Bmp, LoadingFromAStreamStopsAtTheEndOfTheFile) {
    std::vector<uint8_t> bytes = WriteBmp(test::GradientImage(3, 3));
    const size_t size = bytes.size();
    bytes.push_back(0xEE);
    TMemoryStream stream(bytes);
    TBitmap image;
    image.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), int64_t(size));
}

}  // namespace
}  // namespace grottix
