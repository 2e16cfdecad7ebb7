#include <gtest/gtest.h>

#include <cstring>

#include "level/LevelFixtures.h"
#include "level/TombRaiderLevel.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

class LevelReaderTest : public ::testing::TestWithParam<int> {
protected:
    uint8_t load(const LevelDescription& description, bool texturesOnly = false) {
        path = dir.file(test::FileNameFor(description.code));
        WriteLevelFile(description, path);
        return level.LoadLevel(path, texturesOnly);
    }
    int code() const { return GetParam(); }

    test::TempDir dir;
    std::string path;
    TTombRaiderLevel level;
};

void expectPattern(const TLevelTable& table, int section, uint32_t count, size_t size) {
    EXPECT_EQ(table.count, count) << "section " << section;
    EXPECT_EQ(table.bytes, PatternBytes(section, count * size)) << "section " << section;
}

TEST_P(LevelReaderTest, ReadsEverySectionInFileOrder) {
    const auto description = test::SmallLevel(code());
    ASSERT_EQ(load(description), 0);
    EXPECT_TRUE(level.Loaded);
    EXPECT_EQ(level.VersionCode, code());
    EXPECT_EQ(level.TileCount, 2);
    EXPECT_EQ(level.Tiles8.size(), code() <= 5 ? 2u * 65536 : 0u);
    EXPECT_EQ(level.Tiles16.size(), code() >= 3 ? 2u * 131072 : 0u);
    ASSERT_EQ(level.Rooms.size(), 2u);

    EXPECT_EQ(level.MeshData, description.meshData);
    EXPECT_EQ(level.MeshPointers, description.meshPointers);
    ASSERT_EQ(level.StaticMeshDefinitions.size(), 2u);
    EXPECT_EQ(level.StaticMeshDefinitions[0].objectId, 7u);
    EXPECT_EQ(level.StaticMeshDefinitions[0].meshIndex, 1u);
    ASSERT_EQ(level.ObjectTextures.size(), 4u);
    EXPECT_EQ(level.ObjectTextures[3].tile, 1);
    EXPECT_EQ(level.ObjectTextures[3].corners[1].u, 63);
    EXPECT_EQ(level.ObjectTextures[3].corners[2].v, 34);

    const Counts& n = description.counts;
    expectPattern(level.FloorData, kFloorData, n.floorData, 2);
    expectPattern(level.Animations, kAnimations, n.animations, code() >= 6 ? 40 : 32);
    expectPattern(level.Frames, kFrames, n.frames, 2);
    EXPECT_EQ(level.Moveables.count, n.moveables);
    EXPECT_EQ(level.Moveables.bytes.size(), n.moveables * 18u);
    expectPattern(level.SpriteTextures, kSpriteTextures, n.spriteTextures, 16);
    expectPattern(level.Cameras, kCameras, n.cameras, 16);
    expectPattern(level.Boxes, kBoxes, n.boxes, code() <= 2 ? 20 : 8);
    expectPattern(level.Entities, kEntities, n.entities, code() <= 2 ? 22 : 24);
    expectPattern(level.DemoData, kDemoData, n.demoData, 1);
    expectPattern(level.SoundDetails, kSoundDetails, n.soundDetails, 8);
    expectPattern(level.SampleIndices, kSampleIndices, n.sampleIndices, 4);
    EXPECT_EQ(level.SoundMap, PatternBytes(kSoundMap, code() <= 2 ? 512 : code() <= 6 ? 740 : 900));
    if (code() >= 6) {
        expectPattern(level.AIObjects, kAIObjects, n.aiObjects, 24);
        expectPattern(level.FlybyCameras, kFlybyCameras, n.flybyCameras, 40);
        EXPECT_EQ(level.SampleBlock, description.sampleTail) << "the sample block is the file's tail";
    } else {
        EXPECT_EQ(level.CinematicFrames.count, n.cinematicFrames);
        EXPECT_EQ(0, std::memcmp(level.LightMap.data(), PatternBytes(kLightMap, 8192).data(), 8192));
    }
    if (code() <= 2) {
        EXPECT_EQ(level.SampleBlock, PatternBytes(kSamples, n.sampleBytes));
    }
    if (code() <= 5) {
        EXPECT_EQ(level.Palette8, description.palette8);
    }
}

TEST_P(LevelReaderTest, ZonesFillTheirSlots) {
    ASSERT_EQ(load(test::SmallLevel(code())), 0);
    const uint32_t boxes = test::SmallLevel(code()).counts.boxes;
    const auto all = PatternBytes(kZones, 10 * boxes * 2);
    const std::vector<int> slots = code() <= 2 ? std::vector<int>{0, 1, 4, 5, 6, 9} : std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (size_t i = 0; i < slots.size(); ++i) {
        const auto& zone = level.Zones[size_t(slots[i])];
        EXPECT_EQ(zone.bytes, std::vector<uint8_t>(all.begin() + long(i * boxes * 2), all.begin() + long((i + 1) * boxes * 2)));
    }
    if (code() <= 2) {
        EXPECT_EQ(level.Zones[2].count, 0u);
    }
}

TEST_P(LevelReaderTest, ClassicRoomsKeepTheirGeometry) {
    if (code() == 7) GTEST_SKIP() << "layered rooms have their own tests";
    const auto description = test::SmallLevel(code());
    ASSERT_EQ(load(description), 0);
    const TRoomRecord& room = level.Rooms[1];
    const Room& written = description.rooms[1];
    EXPECT_EQ(room.x, written.x);
    EXPECT_EQ(room.z, written.z);
    EXPECT_EQ(room.yTop, written.yTop);
    ASSERT_EQ(room.vertices.size(), written.vertices.size());
    EXPECT_EQ(room.vertices[5].x, 500);
    EXPECT_EQ(room.vertices[5].lighting, 0x500);
    // The short form of codes 1-2 gets fixed attributes and colour in the long form.
    EXPECT_EQ(room.vertices[5].colour, code() <= 2 ? 0x3DEF : 0x1239);
    EXPECT_EQ(room.vertices[5].attributes, 16);
    ASSERT_EQ(room.rectangles.size(), 2u);
    EXPECT_EQ(room.rectangles[1].vertices[3], 5);
    EXPECT_EQ(room.rectangles[1].texture, 0x1002);
    ASSERT_EQ(room.triangles.size(), 1u);
    EXPECT_EQ(room.triangles[0].vertices[2], 5);
    ASSERT_EQ(room.sprites.size(), 1u);
    EXPECT_EQ(room.sprites[0].texture, 3);
    ASSERT_EQ(room.staticMeshes.size(), 1u);
    EXPECT_EQ(room.staticMeshes[0].y, -200);
    EXPECT_EQ(room.staticMeshes[0].rotation, 16384);
    EXPECT_EQ(room.staticMeshes[0].meshId, 7);
    EXPECT_EQ(room.portals.count, 1u);
    EXPECT_EQ(room.sectors.count, 6u);
    EXPECT_EQ(room.lights.count, 2u);
}

TEST_P(LevelReaderTest, WrappedFileLoadsLikeThePlainOne) {
    auto description = test::SmallLevel(code());
    ASSERT_EQ(load(description), 0);
    const auto plainRooms = level.Rooms.size();
    const auto plainEntities = level.Entities.bytes;
    description.zlibWrapped = true;
    ASSERT_EQ(load(description), 0);
    EXPECT_EQ(level.Rooms.size(), plainRooms);
    EXPECT_EQ(level.Entities.bytes, plainEntities);
    EXPECT_EQ(level.VersionCode, code());
}

TEST_P(LevelReaderTest, ZeroRoomsLoadWithAnEmptyRoomTable) {
    auto description = test::SmallLevel(code());
    description.rooms.clear();
    ASSERT_EQ(load(description), 0);
    EXPECT_TRUE(level.Rooms.empty());
    EXPECT_EQ(level.MeshData, description.meshData);
}

TEST_P(LevelReaderTest, TexturesOnlyStopsAfterTheTilesButKeepsTheClassicPalette) {
    const auto description = test::SmallLevel(code());
    ASSERT_EQ(load(description, true), 0);
    EXPECT_EQ(level.TileCount, 2);
    if (code() <= 2) {
        EXPECT_EQ(level.Palette8, description.palette8) << "the palette lies behind the other sections";
        EXPECT_EQ(level.Rooms.size(), 2u);
    } else {
        EXPECT_TRUE(level.Rooms.empty());
        EXPECT_TRUE(level.Entities.bytes.empty());
    }
}

TEST_P(LevelReaderTest, LoadingAgainReleasesThePreviousLevel) {
    ASSERT_EQ(load(test::SmallLevel(code())), 0);
    auto empty = test::SmallLevel(code());
    empty.rooms.clear();
    empty.tileCount = 0;
    ASSERT_EQ(load(empty), 0);
    EXPECT_TRUE(level.Rooms.empty());
    EXPECT_EQ(level.TileCount, 0);
    EXPECT_TRUE(level.Tiles16.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, LevelReaderTest, ::testing::Range(1, 8));

TEST(LevelReader, MissingFileAndUnknownVersionGiveTheirResults) {
    test::TempDir dir;
    TTombRaiderLevel level;
    EXPECT_EQ(level.LoadLevel(dir.file("none.phd")), 1);
    EXPECT_FALSE(level.Loaded);
    const std::vector<uint8_t> bogus = {0x21, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    WriteFileAtomically(dir.file("bogus.phd"), bogus.data(), bogus.size());
    EXPECT_EQ(level.LoadLevel(dir.file("bogus.phd")), 2);
    EXPECT_EQ(level.VersionWord, 0u);
    EXPECT_FALSE(level.Loaded);
}

TEST(LevelReader, ShortFileStartingWithZlibIsNotTakenAsWrapped) {
    test::TempDir dir;
    TTombRaiderLevel level;
    const std::vector<uint8_t> twelve = {'Z', 'L', 'I', 'B', 1, 0, 0, 0, 1, 0, 0, 0};
    WriteFileAtomically(dir.file("short.phd"), twelve.data(), twelve.size());
    EXPECT_EQ(level.LoadLevel(dir.file("short.phd")), 2) << "read raw, so its version word is \"ZLIB\"";
}

TEST(LevelReader, Code6ReadsTheSectionsFromTheInflatedLevelData) {
    auto description = test::SmallLevel(6);
    description.sampleTail = SampleTail({PatternBytes(99, 5000), PatternBytes(98, 70)});
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevelFromBytes(WriteLevel(description), "x.tr4"), 0);
    EXPECT_EQ(level.Rooms.size(), 2u);
    EXPECT_EQ(level.SampleIndices.bytes, PatternBytes(kSampleIndices, 8));
    EXPECT_EQ(level.SampleBlock, description.sampleTail);
}

}  // namespace
}  // namespace grottix
