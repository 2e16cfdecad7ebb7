#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "codecs/CodecSupport.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/xM8.h"

namespace grottix {
namespace {

// A one-level M8 file with the given palette (entry i at index i) and indices.
std::vector<uint8_t> m8File(int width, int height, const std::vector<TPaletteEntry>& palette,
                            const std::vector<uint8_t>& indices, uint32_t offset = 1040) {
    std::vector<uint8_t> file(1040, 0);
    auto put = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
    put(36, uint32_t(width));
    put(100, uint32_t(height));
    put(164, offset);
    for (size_t i = 0; i < palette.size(); ++i) {
        file[260 + i * 3] = palette[i].red;
        file[261 + i * 3] = palette[i].green;
        file[262 + i * 3] = palette[i].blue;
    }
    file.resize(offset, 0);
    file.insert(file.end(), indices.begin(), indices.end());
    return file;
}

TEST(M8, AnAllBlackPaletteTurnsIndexZeroIntoOne) {
    const TM8Bitmap image = test::Decode<TM8Bitmap>(m8File(2, 1, {}, {0, 7}));
    EXPECT_EQ(image.ScanLine(0)[0], 1);
    EXPECT_EQ(image.ScanLine(0)[1], 7);
    EXPECT_EQ(image.Pixel(0, 0), 0u);
}

TEST(M8, BlackEntriesAndIndexZeroBecomeTheDarkestColourHighestIndexWinningTies) {
    std::vector<TPaletteEntry> palette(256, {200, 200, 200});
    palette[0] = {9, 9, 9};  // never used
    palette[5] = {0, 0, 0};
    palette[40] = {1, 1, 1};
    palette[90] = {2, 0, 1};  // as dark as 40, but higher
    const TM8Bitmap image = test::Decode<TM8Bitmap>(m8File(3, 1, palette, {0, 5, 40}));
    EXPECT_EQ(DarkestPaletteIndex(image.Palette()), 90);
    EXPECT_EQ(image.ScanLine(0)[0], 90);
    EXPECT_EQ(image.Palette()[0], (TPaletteEntry{0, 0, 0}));
    EXPECT_EQ(image.Palette()[5], (TPaletteEntry{2, 0, 1}));
    EXPECT_EQ(image.Pixel(1, 0), RGB(2, 0, 1));
}

TEST(M8, EntryOneWinsTiesWhenItIsAmongTheDarkest) {
    std::vector<TPaletteEntry> palette(256, {50, 50, 50});
    palette[1] = {1, 1, 1};
    palette[77] = {3, 0, 0};
    EXPECT_EQ(DarkestPaletteIndex(palette), 1);
}

TEST(M8, LevelZeroIsReadFromItsOffsetRelativeToTheHeaderStart) {
    std::vector<uint8_t> bytes = {0xAA, 0xBB};
    const std::vector<uint8_t> file = m8File(2, 1, test::DistinctPalette(256), {3, 4}, 1100);
    bytes.insert(bytes.end(), file.begin(), file.end());
    TMemoryStream stream(bytes);
    stream.SetPosition(2);
    TM8Bitmap image;
    image.LoadFromStream(stream);
    EXPECT_EQ(image.ScanLine(0)[0], 3);
    EXPECT_EQ(image.ScanLine(0)[1], 4);
}

TEST(M8, AnEightBitImageKeepsIndicesAndPaletteExceptIndexZeroAndBlackEntries) {
    TBitmap image = test::IndexedImage(16, 16);
    const TM8Bitmap back = test::RoundTrip<TM8Bitmap>(image);
    const int darkest = DarkestPaletteIndex(back.Palette());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint8_t index = image.ScanLine(y)[x];
            ASSERT_EQ(back.ScanLine(y)[x], index == 0 ? darkest : index);
        }
    for (size_t i = 1; i < 256; ++i) EXPECT_EQ(back.Palette()[i], image.Palette()[i]);
}

TEST(M8, TheWriterFillsAllSixteenLevelsWithTheOneImage) {
    const std::vector<uint8_t> file = test::Encode<TM8Bitmap>(test::IndexedImage(5, 3));
    ASSERT_EQ(file.size(), 1040u + 15);
    uint32_t version, width, height, offset;
    std::memcpy(&version, &file[0], 4);
    EXPECT_EQ(version, 2u);
    for (int level = 0; level < 16; ++level) {
        std::memcpy(&width, &file[36 + level * 4], 4);
        std::memcpy(&height, &file[100 + level * 4], 4);
        std::memcpy(&offset, &file[164 + level * 4], 4);
        EXPECT_EQ(width, 5u);
        EXPECT_EQ(height, 3u);
        EXPECT_EQ(offset, 1040u);
    }
}

TEST(M8, TrueColourBlackIsIndexZeroAndReadsBackAsTheDarkestColour) {
    TBitmap image(3, 1, TPixelFormat::pf24bit);
    image.SetPixel(1, 0, RGB(100, 0, 0));
    image.SetPixel(2, 0, RGB(0, 0, 200));
    const std::vector<uint8_t> file = test::Encode<TM8Bitmap>(image);
    EXPECT_EQ(file[1040], 0);
    EXPECT_EQ(file[1041], 16);  // new colours are appended from 16 on
    EXPECT_EQ(file[1042], 17);
    const TM8Bitmap back = test::Decode<TM8Bitmap>(file);
    EXPECT_EQ(back.Pixel(0, 0), RGB(100, 0, 0));
}

TEST(M8, TheFirstTableColourWithinDistanceSixteenIsTakenEvenWhenALaterOneIsCloser) {
    TBitmap image(3, 1, TPixelFormat::pf24bit);
    image.SetPixel(0, 0, RGB(100, 100, 100));
    image.SetPixel(1, 0, RGB(130, 100, 100));  // too far: a new entry
    image.SetPixel(2, 0, RGB(116, 100, 100));  // distance 256 from the first, 196 from the second
    TBitmap reduced = image;
    ReduceToM8Palette(reduced);
    EXPECT_EQ(reduced.ScanLine(0)[0], 16);
    EXPECT_EQ(reduced.ScanLine(0)[1], 17);
    EXPECT_EQ(reduced.ScanLine(0)[2], 16);
    EXPECT_EQ(reduced.Palette()[18], (TPaletteEntry{0, 0, 0}));
}

TEST(M8, AFullTableMapsLaterColoursByTheSmallestChannelProduct) {
    // 240 well-separated colours fill indices 16 to 255.
    TBitmap image(241, 1, TPixelFormat::pf24bit);
    for (int i = 0; i < 240; ++i)
        image.SetPixel(i, 0, RGB(uint8_t(20 + (i % 6) * 40), uint8_t(20 + (i / 6 % 6) * 40), uint8_t(20 + (i / 36) * 35)));
    // Equal to entry 16's red channel: product 0 there and nowhere before it.
    image.SetPixel(240, 0, RGB(20, 201, 203));
    TBitmap reduced = image;
    ReduceToM8Palette(reduced);
    for (int i = 0; i < 240; ++i) ASSERT_EQ(reduced.ScanLine(0)[i], 16 + i);
    EXPECT_EQ(reduced.ScanLine(0)[240], 16);
}

TEST(M8, OneAndFourBitImagesKeepTheirIndices) {
    TBitmap image(4, 1, TPixelFormat::pf4bit);
    image.SetPalette(test::DistinctPalette(16));
    image.ScanLine(0)[0] = 0x5C;
    TBitmap reduced = image;
    ReduceToM8Palette(reduced);
    EXPECT_EQ(reduced.ScanLine(0)[0], 5);
    EXPECT_EQ(reduced.ScanLine(0)[1], 12);
}

TEST(M8, AShortOrEmptyFileEndsEarlyAndAnAbsurdSizeIsRefused) {
    EXPECT_THROW(test::Decode<TM8Bitmap>(m8File(2, 2, test::DistinctPalette(256), {5, 6, 7})), EImageEndsEarly);
    EXPECT_THROW(test::Decode<TM8Bitmap>({}), EImageEndsEarly);
    EXPECT_THROW(test::Decode<TM8Bitmap>(m8File(60000, 60000, {}, {})), EGrottixError);
}

TEST(M8, AFileCutInsideASmallerMipLevelEndsEarlyThoughOnlyLevelZeroIsRead) {
    // Levels of 4 by 4, 2 by 2 and 1 by 1 one after the other; the header's other levels have no size.
    std::vector<uint8_t> file = m8File(4, 4, test::DistinctPalette(256), std::vector<uint8_t>(16 + 4 + 1, 9));
    const auto put = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
    for (const auto& [level, side, offset] : {std::tuple{1u, 2u, 1056u}, {2u, 1u, 1060u}}) {
        put(36 + level * 4, side);
        put(100 + level * 4, side);
        put(164 + level * 4, offset);
    }
    EXPECT_EQ(test::Decode<TM8Bitmap>(file).Width(), 4);
    file.pop_back();
    try {
        test::Decode<TM8Bitmap>(file);
        ADD_FAILURE() << "a file one byte short was taken";
    } catch (const EImageEndsEarly& error) {
        EXPECT_STREQ(error.what(), "M8 image ends early in its mip level 2 (1 by 1)");
    }
}

}  // namespace
}  // namespace grottix
