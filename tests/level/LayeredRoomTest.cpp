#include <gtest/gtest.h>

#include "level/LevelFixtures.h"
#include "level/TombRaiderLevel.h"

namespace grottix {
namespace {

using namespace levelwriter;

TTombRaiderLevel loaded(const LevelDescription& description) {
    TTombRaiderLevel level;
    EXPECT_EQ(level.LoadLevelFromBytes(WriteLevel(description), "x.trc"), 0);
    return level;
}

TEST(LayeredRoom, VerticesRoundingToOnePositionBecomeOneRoomVertex) {
    const auto level = loaded(test::SmallLevel(7));
    ASSERT_EQ(level.Rooms.size(), 2u);
    const TRoomRecord& room = level.Rooms[0];
    // Layer one has 4 vertices, layer two 3; (100.4, 0, 0) and (99.6, 0, 0) share the key (100, 0, 0).
    ASSERT_EQ(room.vertices.size(), 6u);
    EXPECT_EQ(room.vertices[1].x, 100);
    EXPECT_EQ(room.vertices[1].lighting, 0);
    // The later vertex's colour wins: blue 200, green 100, red 50.
    EXPECT_EQ(room.vertices[1].colour, ((50 >> 3) << 10) | ((100 >> 3) << 5) | (200 >> 3));
    EXPECT_EQ(room.layerVertices[1][24], 200);

    ASSERT_EQ(room.rectangles.size(), 1u);
    EXPECT_EQ(room.rectangles[0].texture, 5);
    ASSERT_EQ(room.triangles.size(), 3u);
    EXPECT_EQ(room.triangles[1].vertices[0], 1) << "the second layer's face points at the shared vertex";
    EXPECT_EQ(room.triangles[1].vertices[1], 4);
    EXPECT_EQ(room.triangles[2].texture, 8);
}

TEST(LayeredRoom, HeaderFieldsAndTablesAreTakenFromTheirOffsets) {
    const auto description = test::SmallLevel(7);
    const auto level = loaded(description);
    const TRoomRecord& room = level.Rooms[1];
    EXPECT_EQ(room.x, 1024);
    EXPECT_EQ(room.z, 512);
    EXPECT_EQ(room.yBottom, 256);
    EXPECT_EQ(room.yTop, -768);
    EXPECT_EQ(room.layerCount, 2u);
    EXPECT_EQ(room.lights.count, 1u);
    EXPECT_EQ(room.fogBulbs.count, 1u);
    EXPECT_EQ(room.portals.count, 2u);
    EXPECT_EQ(room.portals.bytes, PatternBytes(kPortals, 64));
    ASSERT_EQ(room.staticMeshes.size(), 1u);
    EXPECT_EQ(room.staticMeshes[0].meshId, 7);
    EXPECT_EQ(room.extraHeader[5], 0x00404040u) << "the room colour";
}

TEST(LayeredRoom, EvenTriangleTotalsHaveNoPadAndOddOnesDo) {
    for (int extraTriangles : {0, 1}) {
        auto description = test::SmallLevel(7);
        for (int i = 0; i < extraTriangles; ++i) description.rooms[0].layers[1].triangles.push_back({{0, 1, 2}, 9});
        const auto level = loaded(description);
        ASSERT_EQ(level.Rooms.size(), 2u) << extraTriangles;
        EXPECT_EQ(level.Rooms[0].triangles.size(), 3u + size_t(extraTriangles));
        EXPECT_EQ(level.Rooms[1].vertices.size(), 6u) << "the second room is read from the right place";
        EXPECT_EQ(level.Entities.bytes, PatternBytes(kEntities, description.counts.entities * 24));
    }
}

TEST(LayeredRoom, RoomDataBeyondWhatIsReadIsSkipped) {
    auto description = test::SmallLevel(7);
    description.rooms[0].trailingBytes = 123;
    const auto level = loaded(description);
    EXPECT_EQ(level.Rooms[1].x, 1024);
    EXPECT_EQ(level.Rooms[1].vertices.size(), 6u);
    EXPECT_EQ(level.SampleBlock, description.sampleTail) << "the level data length still finds the tail";
}

TEST(LayeredRoom, FacesNamingMissingLayerVerticesAreDropped) {
    auto description = test::SmallLevel(7);
    description.rooms[0].layers[0].triangles.push_back({{0, 1, 40}, 3});
    const auto level = loaded(description);
    EXPECT_EQ(level.Rooms[0].triangles.size(), 3u);
}

}  // namespace
}  // namespace grottix
