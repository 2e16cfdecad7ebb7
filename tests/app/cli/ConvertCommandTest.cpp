#include <gtest/gtest.h>

#include <QImage>

#include "app/cli/ConvertCommand.h"
#include "codecs/ImageCodecs.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

TBitmap picture() {
    TBitmap image(6, 4, TPixelFormat::pf24bit);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) image.SetPixel(x, y, RGB(uint8_t(x * 40), uint8_t(y * 60), 90));
    return image;
}

class Convert : public ::testing::Test {
protected:
    void SetUp() override {
        TTGABitmap tga;
        tga.Assign(picture());
        tga.SaveToFile(dir_.file("in.TGA"));
    }
    int convert(const std::string& in, const std::string& out) {
        return RunConvertCommand({dir_.file(in), dir_.file(out)});
    }
    test::TempDir dir_;
};

TEST_F(Convert, EveryWritableFormatReadsBackToTheSamePicture) {
    for (const char* out : {"o.bmp", "o.ppm", "o.tga", "o.bmz", "o.pcx", "o.PPM"}) {
        ASSERT_EQ(convert("in.TGA", out), 0) << out;
        ASSERT_EQ(convert(out, "back.ppm"), 0) << out;
        TPPMBitmap back;
        back.LoadFromFile(dir_.file("back.ppm"));
        EXPECT_EQ(back.Pixels(), picture().Pixels()) << out;
    }
    for (const char* out : {"o.m8", "o.wz1", "o.wz2", "o.jpg", "o.jpeg"}) {
        ASSERT_EQ(convert("in.TGA", out), 0) << out;
        ASSERT_EQ(convert(out, "back.tga"), 0) << out;
    }
}

TEST_F(Convert, PngIsWrittenThroughQt) {
    ASSERT_EQ(convert("in.TGA", "o.png"), 0);
    const QImage png(QString::fromStdString(dir_.file("o.png")));
    ASSERT_EQ(png.width(), 6);
    EXPECT_EQ(png.pixel(5, 3) & 0xFFFFFF, 0xC8B45Au);
}

TEST_F(Convert, FailuresLeaveTheOutputUntouched) {
    WriteFileAtomically(dir_.file("keep.bmp"), "old", 3);
    WriteFileAtomically(dir_.file("bad.tga"), "\0\0\x0a", 3);
    EXPECT_NE(convert("bad.tga", "keep.bmp"), 0);
    EXPECT_NE(convert("missing.tga", "keep.bmp"), 0);
    EXPECT_NE(convert("in.TGA", "keep.bmp.xyz"), 0);
    EXPECT_NE(convert("in.xyz", "keep.bmp"), 0);
    EXPECT_EQ(ReadWholeFile(dir_.file("keep.bmp")), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(RunConvertCommand({"only-one"}), 2);
}

TEST_F(Convert, CutAndEmptyPicturesFailWithOneLineAndWriteNothing) {
    WriteFileAtomically(dir_.file("keep.bmp"), "old", 3);
    WriteFileAtomically(dir_.file("empty.m8"), "", 0);
    WriteFileAtomically(dir_.file("promise.ppm"), "P6\n128 128\n255\n", 15);
    std::vector<uint8_t> cut = ReadWholeFile(dir_.file("in.TGA"));
    cut.resize(cut.size() - 10);
    WriteFileAtomically(dir_.file("cut.tga"), cut.data(), cut.size());
    const std::pair<const char*, const char*> cases[] = {{"empty.m8", "M8 image ends early in its header"},
                                                          {"promise.ppm", "PPM image ends early in its pixel data (row 1 of 128)"},
                                                          {"cut.tga", "TGA image ends early in its pixel data (row 4 of 4)"}};
    for (const auto& [in, message] : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(convert(in, "keep.bmp"), 1) << in;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "File " + dir_.file(in) + ": " + message + "\n");
    }
    EXPECT_EQ(ReadWholeFile(dir_.file("keep.bmp")), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

}  // namespace
}  // namespace grottix
