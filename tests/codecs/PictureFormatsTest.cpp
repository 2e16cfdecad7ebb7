#include <gtest/gtest.h>

#include "codecs/BUPcx.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/ImageCodecs.h"
#include "codecs/PictureFormats.h"
#include "codecs/xStubGraphic.h"
#include "codecs/xTGA.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

std::vector<std::pair<std::string, std::string>> codecRows() {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const TFileFormat& f : TPicture::FileFormats())
        if (f.Extension != "bmp") rows.emplace_back(f.Extension, f.Description);
    return rows;
}

TEST(PictureFormats, CodecsRegisterTheirRowsInOrderOnceHoweverOftenTheyStart) {
    while (TGAUnit().Count() > 0) FinalizeImageCodecs();  // whatever earlier tests started
    InitializeImageCodecs();
    InitializeImageCodecs();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"TGA", "TGA Image"},          {"PPM", "Portable Pixelmap"}, {"M8", "M8 (Heretic 2) Mipmap bitmap"},
        {"BMZ", "zBitmap"},            {"WZ2", "WZ2-Format"},        {"WZ1", "WZ1-Format"},
        {"jpeg", "JPEG Image File"},   {"jpg", "JPEG Image File"},   {"gif", "GIF-Format"},
        {"pcx", "PCX Image"},          {"pak", "Stub PAK Graphic"},  {"wad", "Stub WAD Graphic"},
        {"bsp", "Stub BSP Graphic"}};
    EXPECT_EQ(codecRows(), expected);

    // Only the matching last end removes the rows.
    FinalizeImageCodecs();
    EXPECT_EQ(codecRows().size(), expected.size());
    FinalizeImageCodecs();
    EXPECT_TRUE(codecRows().empty());
    EXPECT_NE(TPicture::FindFileFormat("bmp"), nullptr);  // the platform's own stays
    InitializeImageCodecs();
    EXPECT_EQ(codecRows(), expected);
}

TEST(PictureFormats, ExtensionsMatchWithoutRegardToCaseOrDot) {
    InitializeImageCodecs();
    EXPECT_EQ(TPicture::FindFileFormat("tga"), &TTGABitmap::ClassInfo());
    EXPECT_EQ(TPicture::FindFileFormat(".Tga"), &TTGABitmap::ClassInfo());
    EXPECT_EQ(TPicture::FindFileFormat("PCX"), &TBUPcx::ClassInfo());
    EXPECT_EQ(TPicture::FindFileFormat("png"), nullptr);
    EXPECT_EQ(TPicture::FindClass("TBUPcx"), &TBUPcx::ClassInfo());
    EXPECT_NE(dynamic_cast<TTGABitmap*>(CreateGraphicForFile("dir.v2/IMAGE.TGA").get()), nullptr);
    EXPECT_EQ(CreateGraphicForFile("dir.tga/image"), nullptr);
}

TEST(PictureFormats, PictureLoadsAFileWithTheClassOfItsExtension) {
    InitializeImageCodecs();
    test::TempDir dir;
    TTGABitmap tga;
    tga.Assign(test::GradientImage(3, 2));
    tga.SaveToFile(dir.file("a.TgA"));
    TPicture picture;
    picture.LoadFromFile(dir.file("a.TgA"));
    ASSERT_NE(dynamic_cast<TTGABitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Graphic()->Width(), 3);
    EXPECT_THROW(picture.LoadFromFile(dir.file("a.xyz")), EInvalidGraphic);
}

TEST(StubGraphic, LoadingGivesAGreyOutlinedWhiteSquareWithoutTouchingTheStream) {
    TMemoryStream stream(test::Bytes("anything at all"));
    stream.SetPosition(3);
    TStubWADBitmap stub;
    stub.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), 3);
    EXPECT_EQ(stub.Width(), 16);
    EXPECT_EQ(stub.Height(), 16);
    EXPECT_EQ(stub.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(stub.Pixel(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(stub.Pixel(15, 15), RGB(128, 128, 128));
    EXPECT_EQ(stub.Pixel(8, 0), RGB(128, 128, 128));
    EXPECT_EQ(stub.Pixel(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(stub.Pixel(14, 8), RGB(255, 255, 255));

    TMemoryStream empty;
    TStubPAKBitmap fromNothing;
    fromNothing.ReadData(empty);
    EXPECT_EQ(fromNothing.Pixels(), stub.Pixels());
}

TEST(StubGraphic, SavingWritesNothing) {
    TMemoryStream stream(test::Bytes("keep"));
    TStubBSPBitmap stub;
    stub.LoadFromStream(stream);
    stub.SaveToStream(stream);
    stub.WriteData(stream);
    EXPECT_EQ(stream.Bytes(), test::Bytes("keep"));
}

}  // namespace
}  // namespace grottix
