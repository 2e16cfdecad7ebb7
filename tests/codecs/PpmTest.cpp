#include <gtest/gtest.h>

#include "codecs/CodecTestSupport.h"
#include "codecs/xPPM.h"

namespace grottix {
namespace {

using test::Bytes;
using test::SamePixels;

TPPMBitmap load(const std::string& text) { return test::Decode<TPPMBitmap>(Bytes(text)); }

std::string loadError(const std::string& text) {
    try {
        load(text);
    } catch (const EGrottixError& error) {
        return error.what();
    }
    return "";
}

std::string save(const TBitmap& image, bool ascii) {
    TPPMBitmap ppm;
    ppm.Assign(image);
    ppm.SetASCII(ascii);
    TMemoryStream stream;
    ppm.SaveToStream(stream);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

TEST(Ppm, BothVariantsReadBackAndSetTheAsciiFlagToTheVariantWritten) {
    const TBitmap image = test::GradientImage(7, 4);
    for (bool ascii : {false, true}) {
        TPPMBitmap back = load(save(image, ascii));
        EXPECT_TRUE(SamePixels(image, back));
        EXPECT_EQ(back.ASCII(), ascii);
    }
    EXPECT_FALSE(TPPMBitmap().ASCII());
}

TEST(Ppm, TheWriterLaysOutHeaderAndSamplesExactly) {
    TBitmap image(2, 1, TPixelFormat::pf24bit);
    image.SetPixel(0, 0, RGB(1, 2, 3));
    image.SetPixel(1, 0, RGB(255, 0, 10));
    const std::string binary = save(image, false);
    const std::string ascii = save(image, true);
    ASSERT_EQ(binary.rfind("P6\n#", 0), 0u);
    EXPECT_EQ(binary.substr(binary.find("\n", 3) + 1), std::string("2 1\n255\n\x01\x02\x03\xFF\x00\x0A", 14));
    EXPECT_EQ(ascii.substr(ascii.find("\n", 3) + 1), "2 1\n255\n1 2 3 255 0 10 ");
}

TEST(Ppm, SizeWidthHeightAndMaximumMayShareTheMagicLine) {
    const TPPMBitmap image = load("P6 1 1 255\n\x01\x02\x03");
    EXPECT_EQ(image.Width(), 1);
    EXPECT_EQ(image.Pixel(0, 0), RGB(1, 2, 3));
}

TEST(Ppm, CommentsBeforeTheSizeLineAreSkippedButNotAfterIt) {
    EXPECT_EQ(load("P3\n# one\n# two\n\n1 1\n255\n1 2 3").Pixel(0, 0), RGB(1, 2, 3));
    // After the size line "#" is taken as the maximum and "late" as the first sample.
    EXPECT_EQ(loadError("P3\n1 1\n# late\n255 1 2 3"), "'late' is not a valid integer value");
}

TEST(Ppm, TheMaximumIsIgnoredAndAsciiSamplesKeepTheirLowEightBits) {
    const TPPMBitmap image = load("P3\n1 2 15\n1 2 3 300 15 0");
    EXPECT_EQ(image.Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(image.Pixel(0, 1), RGB(44, 15, 0));
}

TEST(Ppm, WrongMagicAndBadNumbersFailWithTheirMessages) {
    EXPECT_EQ(loadError("P5\n1 1\n255\n"), "Error reading PPM file: Wrong file type.");
    EXPECT_EQ(loadError("P6\t1 1\n255\n"), "Error reading PPM file: Wrong file type.");
    EXPECT_EQ(loadError(""), "Error reading PPM file: Wrong file type.");
    EXPECT_EQ(loadError("P6\n# only a comment\n"), "PPM image ends early in its header");
    // Bytes of the file that a message repeats are shown escaped.
    EXPECT_EQ(loadError("P6\n1 1\r\n255\r\n"), "'1\\x0D' is not a valid integer value");
    EXPECT_EQ(loadError("P6\n\x1b[2J 1\n255\n"), "'\\x1B[2J' is not a valid integer value");
    EXPECT_EQ(loadError("P6\r\n1 1\r\n255\r\n"), "Error reading PPM file: Wrong file type.");
    EXPECT_EQ(loadError("P6\n12\n255\n"), "'' is not a valid integer value");
}

TEST(Ppm, FilesCutBeforeTheirPixelsOrInsideThemEndEarly) {
    EXPECT_EQ(loadError("P"), "PPM image ends early in its header");
    EXPECT_EQ(loadError("P6\n2 2"), "PPM image ends early in its header");
    EXPECT_EQ(loadError("P6\n2 2\n"), "PPM image ends early in its header");
    EXPECT_EQ(loadError("P6\n2 2\n255\n"), "PPM image ends early in its pixel data (row 1 of 2)");
    EXPECT_EQ(loadError("P6\n2 2\n255\n\x01\x02\x03\x04\x05\x06\x07"), "PPM image ends early in its pixel data (row 2 of 2)");
    EXPECT_EQ(loadError("P3\n2 1\n255\n1 2 3 4 5"), "PPM image ends early in its pixel data (row 1 of 1)");
}

TEST(Ppm, BinaryImagesWiderThanTheOldRowBufferAreRead) {
    const TBitmap image = test::GradientImage(3000, 2);
    EXPECT_TRUE(SamePixels(image, load(save(image, false))));
}

TEST(Ppm, TheRestOfTheStreamStaysUnreadAfterASmallImage) {
    std::vector<uint8_t> bytes = Bytes("P6\n1 1\n255\n\x01\x02\x03tail");
    TMemoryStream stream(bytes);
    TPPMBitmap image;
    image.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), int64_t(bytes.size() - 4));
}

TEST(Ppm, AHugeClaimedSizeInATinyFileIsRefused) {
    EXPECT_THROW(load("P6\n65535 65535\n255\n"), EGrottixError);
    EXPECT_THROW(load("P6\n-5 2\n255\n"), EGrottixError);
}

}  // namespace
}  // namespace grottix
