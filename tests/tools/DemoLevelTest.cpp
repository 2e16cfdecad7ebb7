#include <gtest/gtest.h>

#include "demo_level/DemoLevel.h"
#include "level/LevelNames.h"
#include "level/LevelStart.h"
#include "level/SpriteTextures.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

namespace grottix {
namespace {

class DemoLevelTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const char* name = GetParam() == 7 ? "demo.trc" : GetParam() == 2 ? "demo.tub" : "demo.tr4";
        ASSERT_EQ(level.LoadLevelFromBytes(levelwriter::WriteLevel(demo::DemoLevel(GetParam())), name), 0);
    }
    TTombRaiderLevel level;
};

TEST_P(DemoLevelTest, EveryFaceNamesExistingVerticesAndTextures) {
    ASSERT_EQ(level.Rooms.size(), 5u);  // the storeroom and its flooded alternate among them
    for (const auto& room : level.Rooms) {
        EXPECT_FALSE(room.rectangles.empty());
        for (const auto& face : room.rectangles) {
            for (auto index : face.vertices) EXPECT_LT(index, room.vertices.size());
            EXPECT_LT(face.texture & 0x0FFF, level.ObjectTextures.size());
        }
        for (const auto& sprite : room.sprites) EXPECT_LT(sprite.vertex, room.vertices.size());
    }
    for (const auto& texture : level.ObjectTextures) EXPECT_LT(texture.tile & 0x7FFF, level.TileCount);
}

TEST_P(DemoLevelTest, StaticMeshesHaveDefinitionsAndMeshes) {
    size_t placed = 0;
    for (const auto& room : level.Rooms)
        for (const auto& mesh : room.staticMeshes) {
            bool defined = false;
            for (const auto& definition : level.StaticMeshDefinitions)
                defined |= definition.objectId == mesh.meshId && definition.meshIndex < level.MeshPointers.size();
            EXPECT_TRUE(defined) << mesh.meshId;
            ++placed;
        }
    EXPECT_GE(placed, 6u);
    for (auto pointer : level.MeshPointers) EXPECT_LT(pointer, level.MeshData.size() * 2);
}

TEST_P(DemoLevelTest, ThePlayerStartsInTheHallAndEverySpriteHasItsPicture) {
    const TLevelStart start = FindLevelStart(level);
    EXPECT_TRUE(start.atPlayer);
    EXPECT_EQ(start.room, 0);
    const auto sprites = ReadSpriteTextures(level);
    for (const auto& room : level.Rooms)
        for (const auto& sprite : room.sprites) {
            ASSERT_LT(sprite.texture & 0x0FFF, sprites.size());
            const TSpriteTexture& texture = sprites[sprite.texture & 0x0FFF];
            EXPECT_EQ(texture.width, 125);
            EXPECT_EQ(texture.extentRight - texture.extentLeft, 1000) << "the same size in every version";
        }
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, DemoLevelTest, ::testing::Values(1, 2, 3, 5, 6, 7));

}  // namespace
}  // namespace grottix

namespace grottix {
namespace {

class DemoLevelPrefixTest : public ::testing::TestWithParam<int> {};

TEST_P(DemoLevelPrefixTest, EveryPrefixLoadsOrRaisesTheProgramsOwnError) {
    const auto bytes = levelwriter::WriteLevel(demo::DemoLevel(GetParam()));
    const std::string name = GetParam() == 7 ? "demo.trc" : GetParam() == 2 ? "demo.tub" : "demo.tr4";
    const size_t stride = bytes.size() / 300 + 1;
    for (size_t length = 0; length <= bytes.size(); length += stride) {
        TTombRaiderLevel level;
        try {
            EXPECT_LE(level.LoadLevelFromBytes(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length)), name), kLevelTooLarge);
        } catch (const EGrottixError&) {
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, DemoLevelPrefixTest, ::testing::Values(1, 2, 3, 5, 6, 7));

}  // namespace
}  // namespace grottix
