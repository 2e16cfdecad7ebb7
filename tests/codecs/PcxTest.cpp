#include <gtest/gtest.h>

#include "codecs/BUPcx.h"
#include "codecs/BURle.h"
#include "codecs/CodecTestSupport.h"

namespace grottix {
namespace {

using test::SamePixels;

TBUPcx roundTrip(const TBitmap& image) {
    TBUPcx pcx;
    pcx.Assign(&image);
    TMemoryStream stream;
    pcx.SaveToStream(stream);
    stream.SetPosition(0);
    TBUPcx back;
    back.LoadFromStream(stream);
    return back;
}

std::vector<uint8_t> pcxHeader(int bits, int planes, int width, int height, int bytesPerLine) {
    std::vector<uint8_t> h(128, 0);
    h[0] = 10;
    h[3] = uint8_t(bits);
    h[8] = uint8_t(width - 1);
    h[9] = uint8_t((width - 1) >> 8);
    h[10] = uint8_t(height - 1);
    h[11] = uint8_t((height - 1) >> 8);
    h[65] = uint8_t(planes);
    h[66] = uint8_t(bytesPerLine);
    h[67] = uint8_t(bytesPerLine >> 8);
    return h;
}

std::string loadError(const std::vector<uint8_t>& file) {
    try {
        TBUPcx pcx;
        TMemoryStream stream(file);
        pcx.LoadFromStream(stream);
    } catch (const EGrottixError& error) {
        return error.what();
    }
    return "";
}

TEST(BURle, RunsAreAtMostFortyEightLong) {
    const std::vector<uint8_t> coded = TBURle::Encode(std::vector<uint8_t>(100, 7));
    EXPECT_EQ(coded, (std::vector<uint8_t>{240, 7, 240, 7, 196, 7}));
}

TEST(BURle, SingleBytesFrom192OnAreEscaped) {
    EXPECT_EQ(TBURle::Encode(std::vector<uint8_t>{200, 5}), (std::vector<uint8_t>{193, 200, 5}));
}

TEST(BURle, AShortRunAtTheEndOfAFullBlockIsCodedWithTheNextBlock) {
    std::vector<uint8_t> input(1024 + 10, 0);
    for (size_t i = 0; i < 1020; ++i) input[i] = uint8_t(i % 2);
    // bytes 1020 to 1029 are 9: a run crossing the block boundary comes out whole.
    for (size_t i = 1020; i < 1030; ++i) input[i] = 9;
    const std::vector<uint8_t> coded = TBURle::Encode(input);
    EXPECT_EQ(std::vector<uint8_t>(coded.end() - 5, coded.end()), (std::vector<uint8_t>{1, 202, 9, 196, 0}));
    EXPECT_EQ(TBURle::Decode(coded, SIZE_MAX), input);
}

TEST(BURle, DecodingStopsAtTheLimitAndDropsADanglingCount) {
    EXPECT_EQ(TBURle::Decode(std::vector<uint8_t>{200, 1, 5}, 3), (std::vector<uint8_t>{1, 1, 1}));
    EXPECT_EQ(TBURle::Decode(std::vector<uint8_t>{5, 192, 6, 230}, 100), (std::vector<uint8_t>{5}));
}

TEST(Pcx, EveryPixelFormatSurvivesAWriteAndRead) {
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit}) {
        TBitmap image = test::IndexedImage(13, 5);
        image.SetPixelFormat(format);
        const TBUPcx back = roundTrip(image);
        ASSERT_NE(back.Bitmap(), nullptr);
        EXPECT_EQ(back.Bitmap()->PixelFormat(), format);
        EXPECT_EQ(back.Bitmap()->Pixels(), image.Pixels()) << BitsPerPixel(format);
        if (format != TPixelFormat::pf1bit) {
            EXPECT_TRUE(SamePixels(image, *back.Bitmap()));
        }
    }
    const TBitmap odd = test::GradientImage(7, 3);  // odd width: bytes per line is the width
    EXPECT_TRUE(SamePixels(odd, *roundTrip(odd).Bitmap()));
}

TEST(Pcx, ThirtyTwoBitImagesAreWrittenAsTwentyFour) {
    const TBitmap image = test::GradientImage(4, 4, TPixelFormat::pf32bit);
    const TBUPcx back = roundTrip(image);
    EXPECT_EQ(back.Bitmap()->PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_TRUE(SamePixels(image, *back.Bitmap()));
}

TEST(Pcx, TheHeaderDescribesAWideImage) {
    TBUPcx pcx;
    const TBitmap image = test::GradientImage(256, 2);
    pcx.Assign(&image);
    TMemoryStream stream;
    pcx.SaveToStream(stream);
    const auto& h = stream.Bytes();
    EXPECT_EQ(h[8] | (h[9] << 8), 255);
    EXPECT_EQ(h[65], 3);
    EXPECT_EQ(h[66] | (h[67] << 8), 256);
    EXPECT_EQ(std::vector<uint8_t>(h.begin() + 12, h.begin() + 16), (std::vector<uint8_t>{1, 44, 1, 44}));
    EXPECT_EQ(roundTrip(image).Width(), 256);
}

TEST(Pcx, AnEightBitFileWithoutThePaletteMarkerKeepsItsIndices) {
    std::vector<uint8_t> file = pcxHeader(8, 1, 3, 1, 3);
    file.insert(file.end(), {5, 7, 9});
    TBUPcx pcx;
    TMemoryStream stream(file);
    pcx.LoadFromStream(stream);
    EXPECT_EQ(pcx.Bitmap()->ScanLine(0)[1], 7);
    EXPECT_EQ(pcx.Bitmap()->Pixel(2, 0), RGB(9, 9, 9));  // no palette: a grey ramp
}

TEST(Pcx, BytesPerLineLargerThanTheRowNeverWriteBeyondIt) {
    std::vector<uint8_t> file = pcxHeader(8, 1, 2, 2, 300);
    for (int i = 0; i < 600; ++i) file.push_back(uint8_t(i % 150));
    TBUPcx pcx;
    TMemoryStream stream(file);
    pcx.LoadFromStream(stream);
    EXPECT_EQ(pcx.Bitmap()->ScanLine(1)[0], 300 % 150);

    std::vector<uint8_t> planar = pcxHeader(1, 4, 9, 1, 1);  // 9 pixels need 2 bytes per plane
    planar.insert(planar.end(), {0xFF, 0xFF, 0xFF, 0xFF});
    TMemoryStream planarStream(planar);
    pcx.LoadFromStream(planarStream);
    EXPECT_EQ(pcx.Bitmap()->PixelIndex(0, 0), 15);
    EXPECT_EQ(pcx.Bitmap()->PixelIndex(8, 0), 0);

    // No bytes per line at all (found by the fuzzer): the image stays blank.
    TMemoryStream empty(pcxHeader(8, 1, 6, 4, 0));
    pcx.LoadFromStream(empty);
    EXPECT_EQ(pcx.Bitmap()->Pixel(5, 3), 0u);
}

TEST(Pcx, BadFilesFailWithTheirMessages) {
    EXPECT_EQ(loadError(std::vector<uint8_t>(127, 10)), "PCX image ends early in its header");
    EXPECT_EQ(loadError({}), "PCX : This isn't a valid PCX file");
    EXPECT_EQ(loadError(std::vector<uint8_t>(128, 0)), "PCX : This isn't a valid PCX file");
    EXPECT_EQ(loadError(pcxHeader(8, 4, 2, 2, 2)), "PCX : unknow format");
    EXPECT_EQ(loadError(pcxHeader(4, 1, 2, 2, 2)), "PCX : unknow format");
    EXPECT_EQ(loadError(pcxHeader(1, 3, 2, 2, 2)), "PCX : unknow format");
    EXPECT_EQ(loadError(pcxHeader(8, 3, 65535, 65535, 65535)), "Image too large");
}

TEST(Pcx, AssignmentCopiesImagesAndEmptiness) {
    TBUPcx empty;
    EXPECT_EQ(empty.Width(), -1);
    const TBitmap image = test::IndexedImage(3, 2);
    TBUPcx full;
    full.Assign(&image);
    TBUPcx copy;
    copy.Assign(full);
    EXPECT_TRUE(SamePixels(image, *copy.Bitmap()));
    TBitmap out;
    copy.AssignTo(out);
    EXPECT_TRUE(SamePixels(image, out));
    TBitmap canvas(6, 4, TPixelFormat::pf24bit);
    copy.Draw(canvas, {0, 0, 6, 4});
    EXPECT_EQ(canvas.Pixel(5, 3), image.Pixel(2, 1));
    copy.Assign(empty);
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(copy.Palette().empty());
    copy.Assign(static_cast<const TBitmap*>(nullptr));
    EXPECT_EQ(copy.Height(), -1);
}

}  // namespace
}  // namespace grottix
