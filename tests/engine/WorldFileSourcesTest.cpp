// Worlds on disk and in WAD archives: saving with backups, child worlds read from beside their
// parent or from the same archive, opening, importing, renaming textures and rebuilding them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/QuadrAngle.h"
#include "engine/WorldFileFixtures.h"
#include "engine/WorldFileStream.h"
#include "storage/Wad.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

namespace fs = std::filesystem;

class WorldFiles : public ::testing::Test {
protected:
    std::string bitmapFile(const std::string& name, TColor color) {
        TBitmap image(8, 8, TPixelFormat::pf24bit);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) image.SetPixel(x, y, color);
        TMemoryStream stream;
        image.SaveToStream(stream);
        stream.SaveToFile(dir.file(name));
        return dir.file(name);
    }
    // A world file holding one quadrangle, and the scene it was written from.
    std::string quadrangleWorld(const std::string& name, const std::string& texture) {
        TD3DScene world{nullptr};
        const auto quad = test::sampleQuadrangle(texture);
        world.AddObject(kKindQuadrangle, &quad);
        world.SaveToFile(dir.file(name));
        return dir.file(name);
    }
    TD3DScene& addChild(TD3DScene& parent, const std::string& file, TD3DVector translation) {
        TD3DSceneInfo info;
        info.FileName = file;
        info.Translation = translation;
        return static_cast<TD3DScene&>(*parent.AddObject(kKindScene, &info));
    }
    TColor textureColor(TD3DScene& scene, const std::string& name) {
        const auto bitmap = scene.GetTextureBitmap(name);
        return bitmap ? bitmap->Pixel(0, 0) : 0xFFFFFFFF;
    }
    std::vector<std::string> filesInDir() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir;
    TD3DScene scene{nullptr};
};

TEST_F(WorldFiles, SavingKeepsTheOldFileAsABackupAndLeavesNothingHalfWritten) {
    const std::string path = quadrangleWorld("w.d3d", "gray8");
    const std::vector<uint8_t> first = ReadWholeFile(path);
    scene.LoadFromFile(path);
    const auto second = test::sampleQuadrangle("white");
    scene.AddObject(kKindQuadrangle, &second);
    scene.SaveToFile(path);
    EXPECT_FALSE(scene.Modified);
    EXPECT_EQ(ReadWholeFile(dir.file("w.~D3D")), first);
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"w.d3d", "w.~D3D"}));

    TD3DScene reread{nullptr};
    reread.LoadFromFile(path);
    EXPECT_EQ(reread.Objects.size(), 2u);
    reread.ImportFromFile(dir.file("w.~D3D"), {}, {0, 5, 0});
    EXPECT_EQ(reread.Objects.size(), 3u);
    EXPECT_EQ(static_cast<TD3DQuadrAngle&>(*reread.Objects[2].Item).Info.Corners[0], (TD3DVector{0, 6, 0}));
    EXPECT_TRUE(reread.Modified);
    EXPECT_THROW(reread.LoadFromFile(dir.file("missing.d3d")), EGrottixError);
}

TEST_F(WorldFiles, ChildWorldsAreReadFromBesideTheirParentAndPlacedInsideIt) {
    quadrangleWorld("inner.d3d", "gray8");
    TD3DScene middle{nullptr};
    addChild(middle, dir.file("inner.d3d"), {0, 0, 10}).Info.FileName = "inner.d3d";
    middle.SaveToFile(dir.file("middle.d3d"));
    TD3DScene outer{nullptr};
    addChild(outer, dir.file("middle.d3d"), {100, 0, 0});
    outer.SaveToFile(dir.file("outer.d3d"));

    scene.LoadFromFile(dir.file("outer.d3d"));
    ASSERT_EQ(scene.ChildScenes.size(), 1u);
    TD3DScene& middleRead = *scene.ChildScenes[0].second;
    ASSERT_EQ(middleRead.ChildScenes.size(), 1u);
    TD3DScene& innerRead = *middleRead.ChildScenes[0].second;
    EXPECT_EQ(innerRead.Info.FileName, dir.file("inner.d3d"));
    ASSERT_EQ(innerRead.Objects.size(), 1u);
    EXPECT_EQ(static_cast<TD3DQuadrAngle&>(*innerRead.Objects[0].Item).Info.Corners[0], (TD3DVector{100, 1, 10}));
    EXPECT_EQ(scene.Shared, innerRead.Shared);
}

TEST_F(WorldFiles, WorldsThatContainThemselvesOrNestWithoutEndAreRefused) {
    const auto worldFile = [&](int i) { return dir.file(std::to_string(i).insert(0, "w").append(".d3d")); };
    const auto chain = [&](int length) {  // world i names world i + 1; the last names the first
        for (int i = 0; i < length; ++i) {
            TD3DScene world{nullptr};
            addChild(world, "", {}).Info.FileName = worldFile((i + 1) % length);
            world.SaveToFile(worldFile(i));
        }
    };
    const auto refusal = [&] {
        try {
            scene.LoadFromFile(dir.file("w0.d3d"));
        } catch (const EWorldFileError& error) {
            return std::string(error.what());
        }
        return std::string("loaded");
    };
    chain(3);
    EXPECT_EQ(refusal(), "World " + dir.file("w0.d3d") + " contains itself");
    chain(40);
    EXPECT_EQ(refusal().substr(0, 35), "Child scenes nest more than 32 deep");
    EXPECT_THROW(scene.LoadFromResource("world.d3d"), EWorldFileError) << "this platform has no program resources";
}

TEST_F(WorldFiles, AWadHoldsTheWorldUnderADriveAndExtensionWithTheFilesItNeeds) {
    const std::string red = bitmapFile("red.bmp", RGB(200, 0, 0));
    quadrangleWorld("child.d3d", red);
    const auto quad = test::sampleQuadrangle(red);
    scene.AddObject(kKindQuadrangle, &quad);
    addChild(scene, dir.file("child.d3d"), {});
    const std::string pack = dir.file("pack.wad");
    scene.SaveToWad(pack, "level1", nullptr, false);
    scene.SaveToWad(pack, "level1", nullptr, true);
    EXPECT_EQ(scene.FileName, pack);
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"child.d3d", "pack.wad", "pack.~WAD", "red.bmp"}));
    TWad wad(pack);
    std::vector<std::string> entries;
    wad.GetEntryNames(entries);
    EXPECT_EQ(entries, (std::vector<std::string>{dir.file("child.d3d"), dir.file("red.bmp"), "C:\\level1.D3D"}));

    fs::remove(red);
    fs::remove(dir.file("child.d3d"));
    TD3DScene loaded{nullptr};
    loaded.LoadFromWad(pack, "c:\\LEVEL1.d3d");
    EXPECT_EQ(textureColor(loaded, red), RGB(200, 0, 0)) << "the texture comes from the WAD";
    ASSERT_EQ(loaded.ChildScenes.size(), 1u);
    EXPECT_EQ(loaded.ChildScenes[0].second->Objects.size(), 1u) << "the child world comes from the WAD";
    EXPECT_FALSE(loaded.LoadingFromWad);
    EXPECT_EQ(loaded.Wad, nullptr);
}

TEST_F(WorldFiles, OpenWorldTakesAFileAWadEntryOrAnotherEntryOfTheCurrentWad) {
    const std::string first = quadrangleWorld("first.d3d", "gray8");
    const std::string second = quadrangleWorld("second.d3d", "white");
    const std::vector<std::string> files = {second};
    TD3DScene packer{nullptr};
    const auto quad = test::sampleQuadrangle("black");
    packer.AddObject(kKindQuadrangle, &quad);
    packer.SaveToWadFilesFirst(dir.file("pack.wad"), "main", &files, false);

    EXPECT_TRUE(scene.OpenWorld(first));
    EXPECT_EQ(scene.Objects.at(0).Name, "gray8");
    EXPECT_TRUE(scene.OpenWorld("->" + dir.file("pack.wad") + "::C:\\main.D3D"));
    EXPECT_EQ(scene.Objects.at(0).Name, "black");
    EXPECT_TRUE(scene.OpenWorld("second.d3d")) << "an entry of the WAD the current world came from";
    EXPECT_EQ(scene.Objects.at(0).Name, "white");
    EXPECT_FALSE(scene.OpenWorld("->" + dir.file("none.wad") + "::main.d3d"));
    fs::remove(dir.file("pack.wad"));
    EXPECT_FALSE(scene.OpenWorld("second.d3d"));
}

TEST_F(WorldFiles, RenamingATextureRenamesItInEveryObject) {
    const std::string red = bitmapFile("red.bmp", RGB(200, 0, 0));
    const std::string blue = bitmapFile("blue.bmp", RGB(0, 0, 200));
    const auto quad = test::sampleQuadrangle(red);
    scene.AddObject(kKindQuadrangle, &quad);
    auto polygon = test::samplePolygon(red);
    polygon.TextureNames[1] = "gray8";
    scene.AddObject(kKindPolygon, &polygon);
    scene.RenameTextureAt(99, blue);
    scene.RenameTexture("RED.BMP", blue);
    ASSERT_EQ(scene.Objects.size(), 2u);
    EXPECT_EQ(scene.Objects[0].Name, blue);
    EXPECT_EQ(scene.Objects[1].Name, blue);
    EXPECT_EQ(textureColor(scene, blue), RGB(0, 0, 200));
    EXPECT_EQ(scene.GetTextureBitmap(red), nullptr);
}

TEST_F(WorldFiles, ANewTextureQualityRebuildsEveryTexture) {
    const std::string red = bitmapFile("red.bmp", RGB(200, 0, 0));
    test::fillWithEveryItem(scene);
    const auto quad = test::sampleQuadrangle(red);
    scene.AddObject(kKindQuadrangle, &quad);
    const size_t objects = scene.Objects.size();
    scene.SetTextureQuality(5);
    EXPECT_EQ(scene.TextureQuality, 5);
    EXPECT_EQ(scene.Objects.size(), objects);
    EXPECT_EQ(textureColor(scene, red), RGB(255, 255, 255));
    EXPECT_EQ(textureColor(scene, "gray8"), RGB(255, 255, 255));
    scene.SetTextureQuality(0);
    EXPECT_EQ(textureColor(scene, red), RGB(200, 0, 0));
}

}  // namespace
}  // namespace grottix
