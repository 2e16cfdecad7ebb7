#include <gtest/gtest.h>

#include "app/InfoCommand.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"

namespace grottix {
namespace {

LevelSummary summaryOf(const levelwriter::LevelDescription& description, const std::string& path) {
    TTombRaiderLevel level;
    EXPECT_EQ(level.LoadLevelFromBytes(levelwriter::WriteLevel(description), path), 0);
    return SummarizeLevel(level);
}

levelwriter::LevelDescription twoRooms() {
    levelwriter::LevelDescription level;
    level.code = 3;
    level.tileCount = 1;
    levelwriter::Room room;
    room.vertices.resize(4);
    room.rectangles = {{{0, 1, 2, 3}, 0}};
    room.sprites = {{0, 0}, {1, 0}};
    level.rooms = {room, room};
    level.rooms[1].triangles = {{{0, 1, 2}, 0}};
    level.meshData = {1, 2, 3};
    level.objectTextures.resize(5);
    return level;
}

TEST(InfoCommand, JsonCarriesEveryCountAndTheTotals) {
    const std::string json = FormatLevelSummary(summaryOf(twoRooms(), "x.tr2"), true);
    EXPECT_NE(json.find("\"version_word\": \"0x0000002D\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"version_code\": 3"), std::string::npos);
    EXPECT_NE(json.find("\"tiles\": 1"), std::string::npos);
    EXPECT_NE(json.find("\"object_textures\": 5"), std::string::npos);
    EXPECT_NE(json.find("\"sprite_textures\": 2"), std::string::npos);
    EXPECT_NE(json.find("\"mesh_data_words\": 3"), std::string::npos);
    EXPECT_NE(json.find("\"entities\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("{\"vertices\": 4, \"rectangles\": 1, \"triangles\": 1, \"sprites\": 2, \"static_meshes\": 0}"),
              std::string::npos);
    EXPECT_NE(json.find("\"totals\": {\"vertices\": 8, \"rectangles\": 2, \"triangles\": 1, \"sprites\": 4"), std::string::npos);
}

TEST(InfoCommand, JsonListsEveryItemInFileOrderWithItsGamesNameAndStoredValues) {
    levelwriter::LevelDescription level = twoRooms();
    level.code = 1;
    level.entities = std::vector<levelwriter::Entity>{{7, 1, 1024, -256, 2048, 49152}, {500, 42, -5, 0, 7, 16384}};
    const std::string json = FormatLevelSummary(summaryOf(level, "x.phd"), true);
    EXPECT_NE(json.find("\"items\": [\n"
                        "    {\"index\": 0, \"type\": 7, \"name\": \"Wolf\", \"room\": 1, \"x\": 1024, \"y\": -256, \"z\": 2048, \"angle\": -16384},\n"
                        "    {\"index\": 1, \"type\": 500, \"name\": \"Object 500\", \"room\": 42, \"x\": -5, \"y\": 0, \"z\": 7, \"angle\": 16384}\n"
                        "  ]\n}\n"),
              std::string::npos)
        << json;
    level.entities->clear();
    EXPECT_NE(FormatLevelSummary(summaryOf(level, "x.phd"), true).find("\"items\": []\n}"), std::string::npos);
}

TEST(InfoCommand, TextNamesTheVersionAndEveryRoom) {
    const std::string text = FormatLevelSummary(summaryOf(twoRooms(), "x.tr2"), false);
    EXPECT_NE(text.find("0x0000002D (version code 3)"), std::string::npos) << text;
    EXPECT_NE(text.find("Rooms:                   2"), std::string::npos);
    EXPECT_NE(text.find("Total"), std::string::npos);
}

TEST(InfoCommand, MissingLevelFailsWithTheMapMessage) {
    testing::internal::CaptureStderr();
    EXPECT_NE(RunInfoCommand({"/nonexistent/level.phd"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "File /nonexistent/level.phd: Map not found\n");
}

}  // namespace
}  // namespace grottix
