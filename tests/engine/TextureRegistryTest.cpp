#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "device/Direct3DTexture.h"
#include "device/DirectDrawSurface.h"
#include "engine/Scene.h"
#include "level_writer/LevelWriter.h"
#include "storage/Stream.h"
#include "storage/Wad.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

TBitmap filled(int width, int height, TColor color) {
    TBitmap image(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, color);
    return image;
}

std::vector<uint8_t> bmpBytes(TBitmap image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Bytes();
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileAtomically(path, bytes.data(), bytes.size());
}

// A TR4 level of two tiles: tile 1 opaque red, tile 2 opaque blue. Opaque channels of 0 come out
// as 2 of 31, i.e. 16 of 255.
std::string writeTwoTileLevel(const std::string& path) {
    levelwriter::LevelDescription level;
    level.code = 6;
    level.tileCount = 2;
    level.tiles16.resize(2 * 131072);
    for (size_t i = 0; i < 65536; ++i) {
        level.tiles16[i * 2 + 1] = 0x80 | (31 << 2);  // a = 1, r = 31
        level.tiles16[131072 + i * 2] = 31;            // b = 31
        level.tiles16[131072 + i * 2 + 1] = 0x80;
    }
    levelwriter::WriteLevelFile(level, path);
    return path;
}

class TextureRegistry : public ::testing::Test {
protected:
    TColor colorOf(const std::string& name) {
        const auto bitmap = scene.GetTextureBitmap(name);
        return bitmap ? bitmap->Pixel(0, 0) : 0xFFFFFFFF;
    }
    TDirect3DTexture2* find(std::string name, bool keepBlack = true) { return scene.FindTexture(name, keepBlack); }
    std::string file(const std::string& name, const TBitmap& image) {
        writeFile(dir.file(name), bmpBytes(image));
        return dir.file(name);
    }

    test::TempDir dir;
    TD3DScene scene{nullptr};
};

TEST_F(TextureRegistry, ANameInOtherCaseFindsTheTextureAndTakesItsRegisteredSpelling) {
    TDirect3DTexture2* upper = find("GRAY8");
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(colorOf("GRAY8"), RGB(128, 128, 128));
    std::string lower = "  gray8" + std::string(1, '\0') + "junk";
    EXPECT_EQ(scene.FindTexture(lower), upper);
    EXPECT_EQ(lower, "GRAY8");
    EXPECT_EQ(scene.Shared->Textures.size(), 1u);
}

TEST_F(TextureRegistry, Gray16IsNotBuiltInButAFileName) {
    TBitmap holder;
    EXPECT_FALSE(scene.LoadTextureImage(holder, "gray16"));
    EXPECT_EQ(holder.Pixel(0, 0), RGB(255, 255, 255));

    writeFile(dir.file("gray16"), {1, 2, 3});
    EXPECT_THROW(
        try { find(dir.file("gray16")); } catch (const EGrottixError& error) {
            EXPECT_EQ(std::string(error.what()), "Unknown image type: " + dir.file("gray16"));
            throw;
        },
        EGrottixError);
}

TEST_F(TextureRegistry, LevelAndWorldNamesAreNeverLookedForOnDisk) {
    // Were these read as images, their unknown extensions would raise.
    for (const char* name : {"level.phd", "LEVEL.TR4", "x.tub", "world.d3d"}) {
        writeFile(dir.file(name), {1, 2, 3});
        EXPECT_EQ(find(dir.file(name)), nullptr) << name;
    }
    EXPECT_TRUE(scene.Shared->Textures.empty());
}

TEST_F(TextureRegistry, ImageFilesAreLoadedOnceAndFoundInAnyCaseOrFolder) {
    const std::string path = file("Wall.bmp", filled(16, 16, RGB(10, 20, 30)));
    TDirect3DTexture2* wall = find(path);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(colorOf(path), RGB(10, 20, 30));
    EXPECT_EQ(find(dir.file("WALL.BMP")), wall);
    EXPECT_EQ(find("/some/other/folder/wall.bmp"), wall);
    EXPECT_EQ(scene.Shared->Textures.size(), 1u);
}

TEST_F(TextureRegistry, FilesAreFoundWithBackslashesInOtherCaseBesideTheWorldOrAfterAColon) {
    std::filesystem::create_directories(dir.file("sub"));
    file("sub/Stone.bmp", filled(8, 8, RGB(5, 6, 7)));
    scene.FileName = dir.file("world.d3d");
    EXPECT_EQ(scene.ExpandFilePath("sub\\stone.BMP"), dir.file("sub/Stone.bmp"));
    EXPECT_EQ(scene.ExpandFilePath("x:" + dir.file("sub/Stone.bmp")), dir.file("sub/Stone.bmp"));
    EXPECT_EQ(scene.ExpandFilePath("nowhere/none.bmp"), "nowhere/none.bmp");
}

TEST_F(TextureRegistry, MissingFilesGiveNoneUnreadableOnesBlackTinyOnesWhite) {
    EXPECT_EQ(find(dir.file("missing.bmp")), nullptr);
    writeFile(dir.file("broken.bmp"), {'n', 'o', 't', ' ', 'b', 'm', 'p'});
    writeFile(dir.file("archive.wad"), {1, 2, 3});
    const std::string tiny = file("tiny.bmp", filled(3, 3, RGB(200, 0, 0)));
    for (const std::string& name : {dir.file("broken.bmp"), dir.file("archive.wad"), tiny}) ASSERT_NE(find(name), nullptr);
    EXPECT_EQ(colorOf(dir.file("broken.bmp")), RGB(0, 0, 0));
    EXPECT_EQ(colorOf(dir.file("archive.wad")), RGB(0, 0, 0));
    EXPECT_EQ(colorOf(tiny), RGB(255, 255, 255));
}

TEST_F(TextureRegistry, AWideImageBecomesASquareOfTwoCopiesThenAPowerOfTwo) {
    TBitmap wide = filled(100, 50, RGB(0, 200, 0));
    for (int x = 0; x < 100; ++x) wide.SetPixel(x, 0, RGB(200, 0, 0));
    const TBitmap pixels = find(file("wide.bmp", wide))->Surface().ToBitmap();
    ASSERT_EQ(pixels.Width(), 128);
    ASSERT_EQ(pixels.Height(), 128);
    EXPECT_EQ(pixels.Pixel(10, 0), RGB(200, 0, 0));
    EXPECT_EQ(pixels.Pixel(10, 65), RGB(200, 0, 0));  // the second copy's top row
    EXPECT_EQ(pixels.Pixel(10, 30), RGB(0, 200, 0));
}

TEST_F(TextureRegistry, QualityModeFiveMakesEveryTextureWhite) {
    scene.TextureQuality = 5;
    for (const std::string name : {"black", "/no/such/file.bmp"}) {
        ASSERT_NE(find(name), nullptr) << name;
        EXPECT_EQ(colorOf(name), RGB(255, 255, 255)) << name;
    }
}

TEST_F(TextureRegistry, TexturesComeFromTheWadBeingReadEvenUnderAnotherFolder) {
    const std::string wadPath = dir.file("world.wad");
    TMemoryStream image(bmpBytes(filled(8, 8, RGB(40, 50, 60))));
    StoreStreamInWad(wadPath, "textures/Rock.bmp", image, TCompressionLevel::clDefault);
    scene.Wad = new TWad(wadPath);
    scene.LoadingFromWad = true;
    ASSERT_NE(find("old\\folder\\rock.BMP"), nullptr);
    EXPECT_EQ(colorOf("old\\folder\\rock.BMP"), RGB(40, 50, 60));
}

TEST_F(TextureRegistry, NameSetsAreCompactedAndKeyedWithBlackWhenTheyHaveNoSecondary) {
    TTextureNames names = {"", "", "white", ""};
    TTextureSet textures = scene.FindTextures(names);
    EXPECT_EQ(names, (TTextureNames{"white", "", "", ""}));
    ASSERT_NE(textures[0], nullptr);
    EXPECT_EQ(textures[1], textures[0]);
    EXPECT_EQ(textures[0]->Surface().ColorKey(), 0u);

    TTextureNames pair = {"gray1", "gray2", "", "gray4"};
    textures = scene.FindTextures(pair);
    EXPECT_NE(textures[1], textures[0]);
    EXPECT_FALSE(textures[0]->Surface().ColorKey());
    EXPECT_EQ(textures[3], nullptr);  // frame 1 has no primary
}

TEST_F(TextureRegistry, ANameSetWithoutAPrimaryResolvesNothing) {
    TTextureNames names = {"", "white", "", "black"};
    for (TDirect3DTexture2* texture : scene.FindTextures(names)) EXPECT_EQ(texture, nullptr);
    EXPECT_TRUE(scene.Shared->Textures.empty());
}

TEST_F(TextureRegistry, CallersBitmapsAreCopiedFittedAndRegisteredOnce) {
    TBitmap bitmap = filled(100, 100, RGB(1, 2, 3));
    TDirect3DTexture2* first = scene.AddTextureFromBitmap("SKY", bitmap);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(bitmap.Width(), 100);
    EXPECT_EQ(first->Surface().Width(), 128);
    EXPECT_EQ(scene.AddTextureFromBitmap("sky", filled(8, 8, RGB(9, 9, 9))), first);
    EXPECT_EQ(colorOf("Sky"), RGB(1, 2, 3));

    EXPECT_EQ(scene.AddTextureFromBitmap("big", filled(2048, 2048, RGB(4, 5, 6)))->Surface().Width(), 1024);
    EXPECT_EQ(scene.AddTextureFromBitmap("small", filled(64, 64, RGB(4, 5, 6)))->Surface().Width(), 64);
    scene.FixTextureSizes = false;
    EXPECT_EQ(scene.AddTextureFromBitmap("odd", filled(100, 60, RGB(4, 5, 6)))->Surface().Width(), 100);
}

std::shared_ptr<TTexelImage> texels(int width, int height) {
    auto image = std::make_shared<TTexelImage>();
    image->width = width;
    image->height = height;
    for (int i = 0; i < width * height; ++i) image->texels.push_back(0xFF000000u | uint32_t(i * 0x0F0703));
    return image;
}

TEST_F(TextureRegistry, ReadyTexelsAreTakenAsTheyAreWhenFittedAndFittedLikeABitmapOtherwise) {
    const std::shared_ptr<TTexelImage> square = texels(4, 4);
    TDirect3DTexture2* first = scene.AddTextureFromTexels("tile", square);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Surface().Image(), square) << "no copy, no conversion";
    EXPECT_EQ(scene.AddTextureFromTexels("TILE", texels(4, 4)), first);

    const std::shared_ptr<TTexelImage> odd = texels(3, 2);
    TBitmap bitmap(3, 2, TPixelFormat::pf32bit);
    std::memcpy(bitmap.Pixels().data(), odd->texels.data(), odd->texels.size() * 4);
    const auto* fromTexels = scene.AddTextureFromTexels("odd texels", odd);
    const auto* fromBitmap = scene.AddTextureFromBitmap("odd bitmap", bitmap);
    ASSERT_NE(fromTexels, nullptr);
    EXPECT_EQ(fromTexels->Surface().Width(), 4);
    EXPECT_EQ(fromTexels->Surface().Image()->texels, fromBitmap->Surface().Image()->texels);

    auto damaged = texels(4, 4);
    damaged->texels.pop_back();
    EXPECT_EQ(scene.AddTextureFromTexels("damaged", damaged), nullptr);
}

TEST_F(TextureRegistry, LevelTileNamesLoadJustThatTileEvenFromALevelNamedInOtherCase) {
    const std::string level = writeTwoTileLevel(dir.file("Level.tr4"));
    ASSERT_NE(find("->" + level + "::2"), nullptr);
    EXPECT_EQ(scene.Shared->Textures.size(), 1u);
    EXPECT_EQ(colorOf("->" + level + "::2"), RGB(16, 16, 255));
    EXPECT_EQ(find("->" + level + "::3"), nullptr);
    EXPECT_EQ(find("->" + dir.file("missing.tr4") + "::1"), nullptr);

    const std::string shouted = "->" + dir.file("LEVEL.TR4") + "::1";
    ASSERT_NE(find(shouted), nullptr);
    EXPECT_EQ(scene.Shared->Textures.back().Name, shouted);
    EXPECT_EQ(colorOf(shouted), RGB(255, 16, 16));
}

TEST_F(TextureRegistry, PreloadingRegistersTheNamedTilesOfALevelAndResolvesTheRest) {
    const std::string level = writeTwoTileLevel(dir.file("level.tr4"));
    scene.PreloadLevelTextures({"->" + level + "::1", "->" + level + "::2", "gray2"});
    ASSERT_EQ(scene.Shared->Textures.size(), 3u);
    EXPECT_EQ(scene.Shared->Textures[2].Name, "gray2");

    const auto tile = scene.LoadLevelBitmapPath("->" + level + "::2");
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->Pixel(100, 100), RGB(16, 16, 255));
    EXPECT_EQ(scene.LoadLevelBitmapPath("->" + level + "::0"), nullptr);
}

TEST_F(TextureRegistry, DataStreamsAreOpenedOnceAndShared) {
    writeFile(dir.file("Data.bin"), {1, 2, 3, 4});
    std::string name = dir.file("Data.bin");
    TStream* stream = scene.OpenDataStream(name);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 4);

    std::string again = dir.file("DATA.BIN");
    EXPECT_EQ(scene.OpenDataStream(again), stream);
    EXPECT_EQ(again, dir.file("Data.bin"));
    std::string missing = dir.file("missing.bin");
    EXPECT_EQ(scene.OpenDataStream(missing), nullptr);
    EXPECT_EQ(scene.Shared->Streams.size(), 1u);
}

}  // namespace
}  // namespace grottix
