#include <gtest/gtest.h>

#include <QImage>

#include "viewer/ViewExport.h"
#include "codecs/xTGA.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

TBitmap view(TColor colour) {
    TBitmap picture(8, 6, TPixelFormat::pf32bit);
    picture.Rectangle(0, 0, 8, 6, 0, colour, colour);
    return picture;
}

TEST(ViewExport, NamesWithoutExtensionTakeTheFilters) {
    EXPECT_EQ(SaveViewFileName("/tmp/view", 4), "/tmp/view.tga");
    EXPECT_EQ(SaveViewFileName("/tmp/view", 1), "/tmp/view.bmp");
    EXPECT_EQ(SaveViewFileName("/tmp/view.PPM", 1), "/tmp/view.PPM");
    EXPECT_EQ(SaveViewFileName("/tmp/a.b/view", 3), "/tmp/a.b/view.m8") << "a dot in a folder is no extension";
    EXPECT_EQ(SaveViewFileName("/tmp/view", 5), "/tmp/view.png");
    EXPECT_THROW(SaveViewFileName("/tmp/view", 6), EUnknownFileType);
}

TEST(ViewExport, WritersAreChosenByExtensionIgnoringCase) {
    test::TempDir dir;
    SaveViewImage(view(RGB(10, 20, 30)), dir.file("v.TGA"));
    TTGABitmap back;
    back.LoadFromFile(dir.file("v.TGA"));
    EXPECT_EQ(back.Width(), 8);
    EXPECT_EQ(back.Pixel(3, 3), RGB(10, 20, 30));
    try {
        SaveViewImage(view(0), dir.file("v.jpg"));
        FAIL();
    } catch (const EUnknownFileType& error) {
        EXPECT_STREQ(error.what(), "Can not determine file type!");
    }
    EXPECT_FALSE(FileExists(dir.file("v.jpg")));
}

TEST(ViewExport, PngIsWrittenAsEightBitRgbAndBackedUpLikeTheOthers) {
    test::TempDir dir;
    const std::string path = dir.file("view.Png");
    SaveViewImage(view(RGB(10, 20, 30)), path);
    const auto first = ReadWholeFile(path);
    const QImage back(QString::fromStdString(path));
    ASSERT_EQ(back.size(), QSize(8, 6));
    EXPECT_EQ(back.pixel(7, 5), qRgb(10, 20, 30));
    EXPECT_FALSE(back.hasAlphaChannel()) << "black is no colour key in a picture of the view";
    SaveViewImage(view(0), path);
    EXPECT_EQ(ReadWholeFile(dir.file("view.~Png")), first);
}

TEST(ViewExport, OverwritingKeepsABackupOfTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.file("view.bmp");
    SaveViewImage(view(RGB(1, 2, 3)), path);
    const auto first = ReadWholeFile(path);
    SaveViewImage(view(RGB(200, 100, 50)), path);
    EXPECT_EQ(ReadWholeFile(dir.file("view.~bmp")), first);
    EXPECT_NE(ReadWholeFile(path), first);
    EXPECT_EQ(BackupFileName("/x/a."), std::nullopt);
    EXPECT_EQ(BackupFileName("/x/a.m8"), std::string("/x/a.~m8"));
}

}  // namespace
}  // namespace grottix
