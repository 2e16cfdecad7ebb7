#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "app/cli/InfoCommand.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"
#include "support/AnimatedLevel.h"

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
    EXPECT_NE(json.find("{\"vertices\": 4, \"rectangles\": 1, \"triangles\": 1, \"sprites\": 2, \"static_meshes\": 0, "
                        "\"alternate\": -1, \"alternate_group\": 0, \"water\": false, \"flags\": [], \"sectors\": {"),
              std::string::npos);
    EXPECT_NE(json.find("\"totals\": {\"vertices\": 8, \"rectangles\": 2, \"triangles\": 1, \"sprites\": 4"), std::string::npos);
}

// The second room: a wall, a climbable kill square and a switch opening item 3 then showing camera 1.
levelwriter::LevelDescription withFloorData(std::vector<uint16_t> words) {
    auto level = twoRooms();
    level.floorData = std::move(words);
    level.rooms[0].sectorList = std::vector<levelwriter::Sector>(1);
    auto& room = level.rooms[1];
    room.xSectors = 3;
    room.sectorList = std::vector<levelwriter::Sector>(3);
    (*room.sectorList)[0].floor = -127;
    (*room.sectorList)[1].floorDataIndex = 1;
    (*room.sectorList)[2].floorDataIndex = 3;
    return level;
}

TEST(InfoCommand, JsonCountsEachRoomsSquaresAndListsEveryTrigger) {
    const auto level = withFloorData({0, 0x0306, 0x8005, 0x8204, 0x0B05, 0x0003, 0x0401, 0x8000});
    const std::string json = FormatLevelSummary(summaryOf(level, "x.tr2"), true);
    EXPECT_NE(json.find("\"sectors\": {\"portals\": 0, \"triggers\": 0, \"kill\": 0, \"climb\": 0, \"walls\": 0}}"),
              std::string::npos) << json;
    EXPECT_NE(json.find("\"sectors\": {\"portals\": 0, \"triggers\": 1, \"kill\": 1, \"climb\": 1, \"walls\": 1}}"),
              std::string::npos);
    EXPECT_NE(json.find("\"triggers\": [\n    {\"room\": 1, \"x\": 2, \"z\": 0, \"type\": 2, \"timer\": 5, \"once\": true, "
                        "\"mask\": 5, \"actions\": [{\"action\": 0, \"parameter\": 3}, {\"action\": 1, \"parameter\": 1}], "
                        "\"floor_data\": 3, \"squares\": [{\"room\": 1, \"x\": 2, \"z\": 0}]}\n  ]"),
              std::string::npos);
    EXPECT_EQ(json.find("floor_data_problem"), std::string::npos);
}

TEST(InfoCommand, NamesTheFirstBrokenSquare) {
    const auto summary = summaryOf(withFloorData({0, 0x0306, 0x0005}), "x.tr2");
    EXPECT_NE(FormatLevelSummary(summary, false)
                  .find("Floor data:              broken in room 1 at column 1, row 0: the chain runs past the end of "
                        "the floor data (2 squares broken)"),
              std::string::npos) << FormatLevelSummary(summary, false);
    EXPECT_NE(FormatLevelSummary(summary, true).find("\"floor_data_problem\": {\"room\": 1, \"x\": 1, \"z\": 0, "),
              std::string::npos);
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

TEST(InfoCommand, JsonListsEveryMoveableWithItsMeshesAndAnimationsAndWhatIsDamaged) {
    levelwriter::LevelDescription level = test::AnimatedLevel(6);
    level.moveables->push_back({31, 1, 0, 0, 0, 0xFFFF});
    const std::string json = FormatLevelSummary(summaryOf(level, "x.tr4"), true);
    EXPECT_NE(json.find("\"moveables\": [\n"
                        "    {\"type\": 30, \"name\": \"Hair\", \"meshes\": 2, \"animations\": 2, \"first_animation\": 0},\n"
                        "    {\"type\": 31, \"name\": \"Motorbike\", \"meshes\": 1, \"animations\": 0, \"first_animation\": -1}\n"
                        "  ],\n"),
              std::string::npos)
        << json;
    (*level.animationList)[1].frameRate = 0;
    const std::string damaged = FormatLevelSummary(summaryOf(level, "x.tr4"), true);
    EXPECT_NE(damaged.find("\"first_animation\": 0, \"problem\": \"animation 1: a frame rate of 0 in the animations at byte 40 "
                           "of the table\"}"),
              std::string::npos)
        << damaged;
}

// A TR4 level with a fog bulb, a static mesh, two cameras, two fly-by cameras and a sound source.
TEST(InfoCommand, JsonListsLightsStaticsCamerasFlybysAndSoundSourcesInFileOrder) {
    levelwriter::LevelDescription level = twoRooms();
    level.code = 6;
    levelwriter::Light bulb{100, -200, 300};
    bulb.type = 4;
    level.rooms[1].lightList = std::vector<levelwriter::Light>{bulb};
    level.rooms[0].staticMeshes = {{1, 2, 3, 32768, 5}};
    level.staticMeshDefinitions = {{5, 0}};
    level.meshPointers = {0};
    level.cameras = std::vector<levelwriter::Camera>{{10, 20, 30, 1, 1}, {0, 0, 0, 7, 0}};
    level.flybyCameras = std::vector<levelwriter::FlybyCamera>{{1, 2, 3, {4, 5, 6}, 1, 0}, {0, 0, 0, {}, 1, 1, 0, 0, 0, 0, 0, 5}};
    level.soundSources = std::vector<levelwriter::SoundSource>{{7, 8, 9, 4, 0x80}};
    level.soundMap = std::vector<int16_t>{-1, -1, -1, -1, 1};
    const std::vector<uint8_t> trailer = {'N', 'G', 1, 2, 'N', 'G', 'L', 'E', 12, 0, 0, 0};
    level.sampleTail.insert(level.sampleTail.end(), trailer.begin(), trailer.end());
    const LevelSummary summary = summaryOf(level, "x.tr4");
    const auto json = nlohmann::json::parse(FormatLevelSummary(summary, true));

    ASSERT_EQ(json["lights"].size(), 1u);
    EXPECT_EQ(json["lights"][0], nlohmann::json::parse(R"({"room": 1, "index": 0, "x": 100, "y": -200, "z": 300,
        "kind": "fog bulb", "type": 4, "intensity": 0, "colour": [255, 255, 255], "direction": [0, 0, 0], "in": 0,
        "out": 0, "length": 0, "cut_off": 0})"));
    EXPECT_EQ(json["statics"], nlohmann::json::parse(R"([{"room": 0, "index": 0, "x": 1, "y": 2, "z": 3, "mesh": 5,
        "angle": 180, "definition": 0, "colour": 4369}])"));
    ASSERT_EQ(json["cameras"].size(), 2u);
    EXPECT_EQ(json["cameras"][0]["x"], 10);
    EXPECT_EQ(json["cameras"][0]["room"], 1);
    EXPECT_EQ(json["cameras"][1]["problem"], "room 7 names no room");
    ASSERT_EQ(json["flyby_cameras"].size(), 2u);
    EXPECT_EQ(json["flyby_cameras"][0]["look_at"], nlohmann::json::parse("[4, 5, 6]"));
    EXPECT_EQ(json["flyby_cameras"][1]["sequence"], 1);
    EXPECT_EQ(json["flyby_cameras"][1]["index"], 1);
    EXPECT_EQ(json["flyby_cameras"][1]["problem"], "room 5 names no room");
    EXPECT_EQ(json["sound_sources"], nlohmann::json::parse(R"([{"index": 0, "x": 7, "y": 8, "z": 9, "sample": 4,
        "flags": 128, "details": 1}])"));
    EXPECT_EQ(json["items"].size(), 2u) << "the older members stay";
    EXPECT_EQ(json["ng_trailer"]["bytes"], 12);

    const std::string text = FormatLevelSummary(summary, false);
    EXPECT_NE(text.find("Entities:                2\nNG trailer:              12 bytes\nLights:                  1\n"
                        "Static meshes:           1\n"),
              std::string::npos) << text;
    EXPECT_NE(text.find("Fly-by cameras:          2 (1 with a problem, the first: fly-by camera 1: room 5 names no room)\n"),
              std::string::npos);
    EXPECT_EQ(FormatLevelSummary(summaryOf(twoRooms(), "x.tr2"), true).find("flyby_cameras"), std::string::npos)
        << "TR2 has no fly-by cameras";
}

TEST(InfoCommand, TextNamesTheVersionAndEveryRoom) {
    const std::string text = FormatLevelSummary(summaryOf(twoRooms(), "x.tr2"), false);
    EXPECT_NE(text.find("0x0000002D (version code 3)"), std::string::npos) << text;
    EXPECT_NE(text.find("Rooms:                   2"), std::string::npos);
    EXPECT_NE(text.find("Total"), std::string::npos);
}

TEST(InfoCommand, RoomsTellTheirAlternateGroupAndWaterAndTheInconsistentLinksAreNamed) {
    levelwriter::LevelDescription level = twoRooms();
    level.code = 6;
    level.rooms.push_back(level.rooms[0]);
    level.rooms[0].alternateRoom = 1;
    level.rooms[0].alternateGroup = 2;
    level.rooms[1].flags = 0x0001;
    level.rooms[2].alternateRoom = 2;
    const LevelSummary summary = summaryOf(level, "x.tr4");
    const std::string json = FormatLevelSummary(summary, true);
    EXPECT_NE(json.find("\"alternate\": 1, \"alternate_group\": 2, \"water\": false, \"flags\": []"), std::string::npos) << json;
    EXPECT_NE(json.find("\"alternate\": -1, \"alternate_group\": 0, \"water\": true, \"flags\": [\"water\"]"), std::string::npos);
    EXPECT_NE(json.find("\"flip_pairs\": 1,\n  \"flip_problems\": [\"room 2: is its own alternate\"]"), std::string::npos);
    const std::string text = FormatLevelSummary(summary, false);
    EXPECT_NE(text.find("Inconsistent flip map:   room 2: is its own alternate\n"), std::string::npos) << text;
}

TEST(InfoCommand, MissingLevelFailsWithTheSystemsReason) {
    testing::internal::CaptureStderr();
    EXPECT_NE(RunInfoCommand({"/nonexistent/level.phd"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "File /nonexistent/level.phd: No such file or directory\n");
}

// A room of 256 x 256 squares over floor data of endless triggers ("trigger, no end" in every word):
// all squares on one word, then each on its own word, every chain overlapping the next. Neither
// makes the summary grow faster than the file.
TEST(InfoCommand, FloorDataThatWouldMultiplyKeepsTheSummaryWithinABoundSetByTheFileSize) {
    for (const bool shared : {true, false}) {
        levelwriter::LevelDescription level = twoRooms();
        level.floorData = std::vector<uint16_t>(66000, 0x0004);
        level.rooms[1].sectorList = std::vector<levelwriter::Sector>(1);
        auto& room = level.rooms[0];
        room.xSectors = room.zSectors = 256;
        room.sectorList = std::vector<levelwriter::Sector>(65536);
        for (size_t i = 0; i < 65536; ++i) (*room.sectorList)[i].floorDataIndex = uint16_t(shared ? 1 : std::max<size_t>(i, 1));
        const size_t fileSize = levelwriter::WriteLevel(level).size();
        const LevelSummary summary = summaryOf(level, "x.tr2");
        const std::string json = FormatLevelSummary(summary, true);
        EXPECT_LT(json.size(), 16 * fileSize) << (shared ? "shared" : "overlapping");
        const auto parsed = nlohmann::json::parse(json);
        size_t squares = 0;
        for (const auto& trigger : parsed["triggers"]) squares += trigger["squares"].size();
        EXPECT_EQ(squares, parsed["rooms"][0]["sectors"]["triggers"].get<size_t>()) << "each square once";
        EXPECT_EQ(parsed["floor_data_problem"]["bad_sectors"], 65536);
        if (shared) {
            ASSERT_EQ(parsed["triggers"].size(), 1u);
            EXPECT_EQ(parsed["triggers"][0]["actions"].size(), 510u);
            EXPECT_NE(FormatLevelSummary(summary, false).find("Triggers:                1 (on 65536 squares)\n"),
                      std::string::npos);
        }
    }
}

}  // namespace
}  // namespace grottix
