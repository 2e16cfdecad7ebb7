#include <gtest/gtest.h>

#include "codecs/CodecTestSupport.h"
#include "codecs/xWZ.h"

namespace grottix {
namespace {

TBitmap indexRows(const std::vector<std::vector<uint8_t>>& rows) {
    TBitmap image(int(rows[0].size()), int(rows.size()), TPixelFormat::pf8bit);
    image.SetPalette(test::DistinctPalette(256));
    for (size_t y = 0; y < rows.size(); ++y) std::copy(rows[y].begin(), rows[y].end(), image.ScanLine(int(y)));
    return image;
}

std::vector<uint8_t> runsOf(const std::vector<uint8_t>& file) { return {file.begin() + 1028, file.end()}; }

std::vector<uint8_t> wzFile(int width, int height, const std::vector<uint8_t>& pairs) {
    std::vector<uint8_t> file(1028 + pairs.size(), 0);
    file[0] = uint8_t(width);
    file[1] = uint8_t(width >> 8);
    file[2] = uint8_t(height);
    file[3] = uint8_t(height >> 8);
    std::copy(pairs.begin(), pairs.end(), file.begin() + 1028);
    return file;
}

TEST(WZ1, TheLastPixelOfARowIsARunOfItsOwn) {
    const TBitmap image = indexRows({{4, 4, 4, 4}});
    const std::vector<uint8_t> file = test::Encode<TWZ1Bitmap>(image);
    EXPECT_EQ(runsOf(file), (std::vector<uint8_t>{3, 4, 1, 4}));
    EXPECT_EQ(test::Decode<TWZ1Bitmap>(file).Pixels(), image.Pixels());
}

TEST(WZ1, LongRunsAreCutAt255) {
    const TBitmap image = indexRows({std::vector<uint8_t>(300, 9)});
    EXPECT_EQ(runsOf(test::Encode<TWZ1Bitmap>(image)), (std::vector<uint8_t>{255, 9, 44, 9, 1, 9}));
}

TEST(WZ1, AOnePixelWideImageWritesOneRunPerRow) {
    EXPECT_EQ(runsOf(test::Encode<TWZ1Bitmap>(indexRows({{7}, {7}, {8}}))), (std::vector<uint8_t>{1, 7, 1, 7, 1, 8}));
}

TEST(WZ1, ThePaletteAndSizeLeadTheFile) {
    const std::vector<uint8_t> file = test::Encode<TWZ1Bitmap>(indexRows({{1, 2}}));
    EXPECT_EQ(file[0], 2);
    EXPECT_EQ(file[2], 1);
    const TPaletteEntry second = test::DistinctPalette(256)[1];
    EXPECT_EQ(file[4 + 4], second.red);
    EXPECT_EQ(file[4 + 5], second.green);
    EXPECT_EQ(file[4 + 6], second.blue);
    EXPECT_EQ(test::Decode<TWZ1Bitmap>(file).Palette(), test::DistinctPalette(256));
}

TEST(WZ1, RunsPastTheRowEndAreDroppedAndExtraRowsIgnored) {
    const TWZ1Bitmap image = test::Decode<TWZ1Bitmap>(wzFile(2, 2, {5, 1, 1, 2, 1, 3, 9, 9, 9, 9, 7}));
    EXPECT_EQ(image.Pixels(), (std::vector<uint8_t>{1, 1, 2, 3}));
}

TEST(WZ2, ColumnZeroRepeatsTheRunThatEndedTheRowAbove) {
    const TBitmap image = indexRows({{1, 2, 3}, {9, 5, 5}, {7, 7, 6}});
    const TWZ2Bitmap back = test::Decode<TWZ2Bitmap>(test::Encode<TWZ2Bitmap>(image));
    EXPECT_EQ(back.Pixels(), (std::vector<uint8_t>{1, 2, 3, 3, 5, 5, 5, 7, 6}));
}

TEST(WZ2, RunsContinueAcrossRowEnds) {
    const TBitmap image = indexRows({{4, 4}, {4, 4}, {4, 4}});
    const std::vector<uint8_t> file = test::Encode<TWZ2Bitmap>(image);
    EXPECT_EQ(runsOf(file), (std::vector<uint8_t>{4, 4}));
    EXPECT_EQ(test::Decode<TWZ2Bitmap>(file).Pixels(), image.Pixels());
}

TEST(WZ2, EveryPixelButColumnZeroSurvivesAWriteAndRead) {
    TBitmap image = test::IndexedImage(37, 11);
    for (int y = 1; y < 11; ++y) image.ScanLine(y)[0] = image.ScanLine(y - 1)[36];
    for (int x = 1; x < 37; ++x) image.ScanLine(4)[x] = 200;  // one long run crossing rows
    image.ScanLine(5)[0] = 200;
    EXPECT_EQ(test::Decode<TWZ2Bitmap>(test::Encode<TWZ2Bitmap>(image)).Pixels(), image.Pixels());
}

TEST(WZ, BothVariantsDecodeWideImagesAndIgnoreAnOddTrailingByte) {
    const TBitmap image = test::IndexedImage(3000, 3);
    EXPECT_EQ(test::Decode<TWZ1Bitmap>(test::Encode<TWZ1Bitmap>(image)).Pixels(), image.Pixels());
    std::vector<uint8_t> file = wzFile(2, 1, {2, 6, 3});
    EXPECT_EQ(test::Decode<TWZ2Bitmap>(file).Pixels(), (std::vector<uint8_t>{6, 6}));
}

TEST(WZ, DegenerateSizesNeitherHangNorOverrun) {
    EXPECT_EQ(test::Decode<TWZ2Bitmap>(wzFile(0, 5, {255, 1, 255, 2})).Width(), 0);
    EXPECT_EQ(test::Decode<TWZ1Bitmap>(wzFile(0, 0, {255, 1})).Height(), 0);
    EXPECT_THROW(test::Decode<TWZ1Bitmap>(wzFile(65535, 65535, {1, 1})), EGrottixError);
}

}  // namespace
}  // namespace grottix
