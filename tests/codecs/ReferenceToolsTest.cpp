// Pictures made by other encoders (ImageMagick, netpbm) decode to the pixels they were made from, and
// those tools read what we write.
#include <gtest/gtest.h>

#include "codecs/BUPcx.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/Jpeg.h"
#include "codecs/xGif.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using test::ImageMagick;
using test::RunTool;
using test::SamePixels;

// 256 distinct colours, so that palette formats hold them exactly.
TBitmap paletteSizedImage() {
    TBitmap image = test::IndexedImage(61, 37);
    image.SetPixelFormat(TPixelFormat::pf24bit);
    return image;
}

TBitmap sixteenColourImage() {
    TBitmap image(29, 11, TPixelFormat::pf24bit);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 29; ++x) {
            const int c = (x / 2 + y) % 16;
            image.SetPixel(x, y, RGB(uint8_t(c * 16), uint8_t(255 - c * 16), uint8_t(c & 1 ? 200 : 40)));
        }
    return image;
}

TBitmap twoColourImage() {
    TBitmap image(21, 9, TPixelFormat::pf24bit);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 21; ++x) image.SetPixel(x, y, (x * y + x) % 3 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    return image;
}

class ReferenceTools : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::HaveTool("convert") || !test::HaveTool("ppmtotga") || !test::HaveTool("pcxtoppm"))
            GTEST_SKIP() << "ImageMagick or netpbm is not installed (scripts/setup installs them)";
    }
    std::string file(const std::string& name) const { return dir_.file(name); }

    // Writes the image as a binary PPM for the tools to start from.
    std::string source(const TBitmap& image) const {
        TPPMBitmap ppm;
        ppm.Assign(image);
        ppm.SaveToFile(file("source.ppm"));
        return file("source.ppm");
    }

    template <typename Codec>
    TBitmap load(const std::string& name) const {
        Codec codec;
        codec.LoadFromFile(file(name));
        TBitmap image;
        image.Assign(codec);
        return image;
    }

    // What a tool made of our file, read back through a PPM it wrote.
    TBitmap readThrough(const std::string& command) const {
        EXPECT_TRUE(RunTool(command)) << command;
        return load<TPPMBitmap>("back.ppm");
    }

    test::TempDir dir_;
};

// netpbm writes the bottom row first, as the header's origin says. (ImageMagick 6 writes its top row first
// under the same header, so its files read upside down here, as in any reader that follows the header.)
TEST_F(ReferenceTools, TgaFilesOfNetpbmDecodeToTheirPixels) {
    const TBitmap image = test::GradientImage(45, 19);
    ASSERT_TRUE(RunTool("ppmtotga -rgb -norle < " + source(image) + " > " + file("netpbm.tga")));
    EXPECT_TRUE(SamePixels(image, load<TTGABitmap>("netpbm.tga")));
}

TEST_F(ReferenceTools, NetpbmReadsOurTgaFiles) {
    const TBitmap image = test::GradientImage(45, 19);
    TTGABitmap tga;
    tga.Assign(image);
    tga.SaveToFile(file("ours.tga"));
    EXPECT_TRUE(SamePixels(image, readThrough("tgatoppm " + file("ours.tga") + " > " + file("back.ppm"))));
}

TEST_F(ReferenceTools, PpmFilesOfImageMagickInBothVariantsDecodeToTheirPixels) {
    const TBitmap image = test::GradientImage(33, 20);
    const std::string in = source(image);
    ASSERT_TRUE(RunTool(ImageMagick() + " " + in + " -compress None " + file("ascii.ppm")));
    ASSERT_TRUE(RunTool(ImageMagick() + " " + in + " " + file("binary.ppm")));
    EXPECT_TRUE(SamePixels(image, load<TPPMBitmap>("ascii.ppm")));
    EXPECT_TRUE(SamePixels(image, load<TPPMBitmap>("binary.ppm")));
}

TEST_F(ReferenceTools, ImageMagickReadsOurAsciiPpm) {
    const TBitmap image = test::GradientImage(33, 20);
    TPPMBitmap ppm;
    ppm.Assign(image);
    ppm.SetASCII(true);
    ppm.SaveToFile(file("ours.ppm"));
    EXPECT_TRUE(SamePixels(image, readThrough(ImageMagick() + " " + file("ours.ppm") + " " + file("back.ppm"))));
}

TEST_F(ReferenceTools, PcxFilesOfEveryDepthDecodeToTheirPixels) {
    struct Case {
        TBitmap image;
        std::string command;
    };
    const std::vector<Case> cases = {
        {test::GradientImage(45, 19), "ppmtopcx -24bit"},
        {paletteSizedImage(), "ppmtopcx -8bit"},
        {sixteenColourImage(), "ppmtopcx -planes 4"},
        {twoColourImage(), "ppmtopcx"},
    };
    for (const Case& c : cases) {
        const std::string in = source(c.image);
        ASSERT_TRUE(RunTool(c.command + " " + in + " > " + file("netpbm.pcx"))) << c.command;
        EXPECT_TRUE(SamePixels(c.image, load<TBUPcx>("netpbm.pcx"))) << c.command;
        ASSERT_TRUE(RunTool(ImageMagick() + " " + in + " " + file("magick.pcx")));
        EXPECT_TRUE(SamePixels(c.image, load<TBUPcx>("magick.pcx"))) << c.command;
    }
}

TEST_F(ReferenceTools, NetpbmReadsOurPcxFilesOfEveryDepth) {
    TBitmap indexed = paletteSizedImage();
    indexed.SetPixelFormat(TPixelFormat::pf8bit);
    TBitmap four = test::IndexedImage(29, 11);
    four.SetPalette(test::DistinctPalette(256));
    four.SetPixelFormat(TPixelFormat::pf4bit);
    TBitmap one = test::IndexedImage(21, 9);
    one.SetPalette({{0, 0, 0}, {255, 255, 255}});
    one.SetPixelFormat(TPixelFormat::pf1bit);
    for (const TBitmap& image : {test::GradientImage(45, 19), indexed, four, one}) {
        TBUPcx pcx;
        pcx.Assign(&image);
        pcx.SaveToFile(file("ours.pcx"));
        EXPECT_TRUE(SamePixels(image, readThrough("pcxtoppm " + file("ours.pcx") + " > " + file("back.ppm"))))
            << BitsPerPixel(image.PixelFormat());
    }
}

TEST_F(ReferenceTools, BmpFilesOfEveryCommonKindDecodeToTheirPixels) {
    const std::vector<std::pair<TBitmap, std::string>> cases = {
        {test::GradientImage(45, 19), "BMP3:"},
        {test::GradientImage(45, 19), "BMP:"},
        {test::GradientImage(45, 19), "-alpha on -channel A -evaluate set 100% BMP:"},
        {paletteSizedImage(), "-type Palette BMP3:"},
        {paletteSizedImage(), "-type Palette -compress RLE BMP3:"},
        {sixteenColourImage(), "-type Palette -compress RLE BMP3:"},
        {sixteenColourImage(), "-type Palette BMP3:"},
        {twoColourImage(), "-type Bilevel BMP3:"},
    };
    for (const auto& [image, options] : cases) {
        const std::string in = source(image);
        const size_t split = options.rfind(' ');
        const std::string settings = split == std::string::npos ? "" : options.substr(0, split);
        const std::string prefix = split == std::string::npos ? options : options.substr(split + 1);
        ASSERT_TRUE(RunTool(ImageMagick() + " " + in + " " + settings + " " + prefix + file("magick.bmp"))) << options;
        EXPECT_TRUE(SamePixels(image, load<TBitmap>("magick.bmp"))) << options;
    }
    const TBitmap image = test::GradientImage(45, 19);
    ASSERT_TRUE(RunTool("ppmtobmp " + source(image) + " > " + file("netpbm.bmp")));
    EXPECT_TRUE(SamePixels(image, load<TBitmap>("netpbm.bmp")));
}

TEST_F(ReferenceTools, NetpbmReadsOurBmpFiles) {
    TBitmap indexed = paletteSizedImage();
    indexed.SetPixelFormat(TPixelFormat::pf8bit);
    for (TBitmap image : {test::GradientImage(45, 19), indexed, test::GradientImage(45, 19, TPixelFormat::pf32bit)}) {
        image.SaveToFile(file("ours.bmp"));
        EXPECT_TRUE(SamePixels(image, readThrough("bmptopnm " + file("ours.bmp") + " > " + file("back.ppm"))))
            << BitsPerPixel(image.PixelFormat());
    }
}

TEST_F(ReferenceTools, GifFilesPlainAndInterlacedDecodeToTheirPixels) {
    const TBitmap image = paletteSizedImage();
    const std::string in = source(image);
    ASSERT_TRUE(RunTool(ImageMagick() + " " + in + " GIF87:" + file("plain.gif")));
    EXPECT_TRUE(SamePixels(image, load<TGifBitmap>("plain.gif")));
    ASSERT_TRUE(RunTool(ImageMagick() + " " + in + " -interlace GIF GIF87:" + file("interlaced.gif")));
    EXPECT_TRUE(SamePixels(image, load<TGifBitmap>("interlaced.gif")));
    const TBitmap big = test::GradientImage(300, 200);  // long code streams: the table fills and clears
    TBitmap reduced = big;
    reduced.SetPixelFormat(TPixelFormat::pf8bit);
    reduced.SetPixelFormat(TPixelFormat::pf24bit);
    ASSERT_TRUE(RunTool(ImageMagick() + " " + source(reduced) + " GIF87:" + file("big.gif")));
    EXPECT_TRUE(SamePixels(reduced, load<TGifBitmap>("big.gif")));
}

TEST_F(ReferenceTools, JpegFilesOfImageMagickDecodeAndItReadsOurs) {
    const TBitmap image = test::GradientImage(40, 24);
    ASSERT_TRUE(RunTool(ImageMagick() + " " + source(image) + " -quality 100 " + file("magick.jpg")));
    const TBitmap decoded = load<TJPEGImage>("magick.jpg");
    EXPECT_EQ(decoded.Width(), 40);
    TJPEGImage jpeg;
    jpeg.Assign(image);
    jpeg.SaveToFile(file("ours.jpg"));
    const TBitmap back = readThrough(ImageMagick() + " " + file("ours.jpg") + " " + file("back.ppm"));
    EXPECT_EQ(back.Width(), 40);
    EXPECT_EQ(back.Height(), 24);
}

TEST_F(ReferenceTools, CmykJpegFilesDecodeAsImageMagickDecodesThem) {
    const std::string in = source(test::GradientImage(40, 24));
    ASSERT_TRUE(RunTool(ImageMagick() + " " + in + " -colorspace CMYK " + file("cmyk.jpg")));
    ASSERT_TRUE(RunTool(ImageMagick() + " " + file("cmyk.jpg") + " " + file("magick.ppm")));
    const TBitmap ours = load<TJPEGImage>("cmyk.jpg");
    const TBitmap theirs = load<TPPMBitmap>("magick.ppm");
    ASSERT_EQ(ours.Width(), theirs.Width());
    for (int y = 0; y < ours.Height(); ++y)
        for (int x = 0; x < ours.Width(); ++x)
            for (int shift : {0, 8, 16})
                ASSERT_NEAR(int((ours.Pixel(x, y) >> shift) & 0xFF), int((theirs.Pixel(x, y) >> shift) & 0xFF), 2);
}

}  // namespace
}  // namespace grottix
