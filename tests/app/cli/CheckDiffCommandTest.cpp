#include <gtest/gtest.h>

#include <set>

#include <nlohmann/json.hpp>

#include "app/cli/CommandLine.h"
#include "level_writer/LevelWriter.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;
using nlohmann::json;

struct Outcome {
    int code;
    std::string out, err;
};

Outcome run(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = RunCommandLine(args);
    std::string out = testing::internal::GetCapturedStdout();
    return {code, out, testing::internal::GetCapturedStderr()};
}

// A sound level: one room of 3 x 1 open squares at the origin, its floor at 0, the player's start in
// the middle square, one camera, no models; floor data only its unused first word.
LevelDescription soundLevel(int code) {
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    Room room;
    room.xSectors = 3;
    room.yTop = -1024;
    room.vertices.resize(4);
    room.rectangles = {{{0, 1, 2, 3}, 0}};
    if (code == 7) {
        room.layers = {{{{0, 0, 0}, {1024, 0, 0}, {1024, 0, 1024}, {0, 0, 1024}}, room.rectangles, {}}};
        room.vertices.clear();
        room.rectangles.clear();
    }
    room.sectorList = std::vector<Sector>(3);
    level.rooms = {room};
    level.objectTextures.resize(1);
    level.entities = std::vector<Entity>{{0, 0, 1536, 0, 512}};
    level.moveables = std::vector<Moveable>{};
    level.spriteSequences = std::vector<SpriteSequence>{};
    level.cameras = std::vector<Camera>{{0, 0, 0, 0, 0}};
    level.flybyCameras = std::vector<FlybyCamera>{};
    level.floorData = std::vector<uint16_t>{0};
    return level;
}

// Checks the level and returns the parsed JSON, expecting the exit code.
json checkJson(const LevelDescription& level, int expectedCode) {
    test::TempDir dir;
    const std::string path = dir.file(level.code == 7 ? "level.trc" : level.code == 6 ? "level.tr4" : "level.phd");
    WriteLevelFile(level, path);
    const Outcome outcome = run({"--check", path, "--json"});
    EXPECT_EQ(outcome.code, expectedCode) << outcome.out << outcome.err;
    return json::parse(outcome.out);
}

std::set<std::string> kinds(const json& findings) {
    std::set<std::string> found;
    for (const json& f : findings) found.insert(f["kind"].get<std::string>());
    return found;
}

TEST(CheckCommand, ASoundLevelOfEveryGameHasNoProblemsAndExitsZero) {
    for (const int code : {1, 3, 5, 6, 7}) {
        const json result = checkJson(soundLevel(code), 0);
        EXPECT_TRUE(result["problems"].empty()) << "code " << code << ": " << result.dump();
        EXPECT_TRUE(result["secrets"].empty());
    }
    test::TempDir dir;
    WriteLevelFile(soundLevel(1), dir.file("level.phd"));
    EXPECT_EQ(run({"--check", dir.file("level.phd")}).out, "0 problems, 0 secrets\n");
}

// A trigger on square (1, 0) activating item 9, showing camera 5, flipping map 12 and counting secret 0.
LevelDescription withTrigger(int code, uint16_t flipMap) {
    auto level = soundLevel(code);
    level.floorData = std::vector<uint16_t>{0, 0x8004, 0x3E00, 0x0009, 0x0405, 0x0000, uint16_t(0x0C00 | flipMap), 0xA800};
    (*level.rooms[0].sectorList)[1].floorDataIndex = 1;
    return level;
}

TEST(CheckCommand, TriggerActionsAimedAtNothingAreProblemsWhereTheTriggerLies) {
    const json result = checkJson(withTrigger(1, 12), 1);
    ASSERT_EQ(result["problems"].size(), 3u) << result.dump();
    for (const json& problem : result["problems"]) {
        EXPECT_EQ(problem["kind"], "trigger");
        EXPECT_EQ(problem["room"], 0);
        EXPECT_EQ(problem["x"], 1);
        EXPECT_EQ(problem["z"], 0);
        EXPECT_EQ(problem["trigger"], 0);
    }
    EXPECT_NE(result["problems"][0]["message"].get<std::string>().find("item 9"), std::string::npos);
    EXPECT_NE(result["problems"][1]["message"].get<std::string>().find("camera 5"), std::string::npos);
    EXPECT_NE(result["problems"][2]["message"].get<std::string>().find("flip map 12"), std::string::npos);
    // The secret is information, listed apart.
    ASSERT_EQ(result["secrets"].size(), 1u);
    EXPECT_EQ(result["secrets"][0]["kind"], "secret");
    EXPECT_EQ(result["secrets"][0]["x"], 1);
    // The older games keep ten flip maps; TR4 flips alternate groups, and none of its rooms has group 3.
    EXPECT_EQ(checkJson(withTrigger(1, 3), 1)["problems"].size(), 2u);
    EXPECT_EQ(checkJson(withTrigger(6, 3), 1)["problems"].size(), 3u);
}

TEST(CheckCommand, ItemsOutOfTheirRoomsAreNamedByIndex) {
    auto level = soundLevel(3);
    (*level.rooms[0].sectorList)[2].floor = -127;
    level.entities->push_back({10, 4, 512, 0, 512});         // room 4 does not exist
    level.entities->push_back({10, 0, 3072 + 4097, 0, 512});  // 4097 units east of the room's box
    level.entities->push_back({10, 0, 3072 + 4096, 0, 512});  // just near enough
    level.entities->push_back({10, 0, 2560, 0, 512});         // on the wall square (2, 0)
    const json problems = checkJson(level, 1)["problems"];
    ASSERT_EQ(problems.size(), 3u) << problems.dump();
    EXPECT_EQ(problems[0]["kind"], "item_room");
    EXPECT_EQ(problems[0]["item"], 1);
    EXPECT_EQ(problems[1]["kind"], "item_outside");
    EXPECT_EQ(problems[1]["item"], 2);
    EXPECT_EQ(problems[1]["room"], 0);
    EXPECT_EQ(problems[2]["kind"], "item_in_wall");
    EXPECT_EQ(problems[2]["item"], 4);
    EXPECT_EQ(problems[2]["x"], 2);
}

TEST(CheckCommand, RoomLinksToNothingAndBrokenFloorDataAreProblems) {
    auto level = soundLevel(3);
    level.rooms.push_back(level.rooms[0]);
    level.rooms[0].alternateRoom = 0;  // its own alternate
    level.rooms[1].portalList = std::vector<Portal>{{7}};
    (*level.rooms[1].sectorList)[0].roomBelow = 9;
    (*level.rooms[1].sectorList)[2].floorDataIndex = 40;  // past the floor data
    const json problems = checkJson(level, 1)["problems"];
    EXPECT_EQ(kinds(problems), (std::set<std::string>{"flip_map", "floor_data", "portal"})) << problems.dump();
    ASSERT_EQ(problems.size(), 4u) << problems.dump();
    EXPECT_EQ(problems[1]["kind"], "floor_data");
    EXPECT_EQ(problems[1]["room"], 1);
    EXPECT_EQ(problems[1]["x"], 2);
}

TEST(CheckCommand, ReferencesPastTheTablesAreSummedUpPerRoom) {
    auto level = soundLevel(3);
    level.rooms[0].rectangles = {{{0, 1, 2, 3}, 40}, {{0, 1, 2, 9}, 41}};
    level.rooms[0].sprites = {{0, 9}};
    level.objectTextures[0].tile = 3;
    const json problems = checkJson(level, 1)["problems"];
    EXPECT_EQ(kinds(problems), (std::set<std::string>{"geometry", "texture", "sprite"})) << problems.dump();
    EXPECT_EQ(problems.size(), 4u);
}

TEST(CheckCommand, AFileThatCannotBeReadExitsTwoWithTheReadersMessage) {
    test::TempDir dir;
    const Outcome missing = run({"--check", dir.file("none.phd")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "File " + dir.file("none.phd") + ": No such file or directory\n");
    auto bytes = WriteLevel(soundLevel(3));
    bytes.resize(bytes.size() / 2);
    std::FILE* file = std::fopen(dir.file("cut.tr2").c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    const Outcome cut = run({"--check", dir.file("cut.tr2"), "--json"});
    EXPECT_EQ(cut.code, 2);
    EXPECT_NE(cut.err.find("Damaged file: the data ends early"), std::string::npos) << cut.err;
    EXPECT_EQ(run({"--diff", dir.file("cut.tr2")}).code, 2);
}

Outcome diff(const LevelDescription& a, const LevelDescription& b, bool asJson) {
    test::TempDir dir;
    WriteLevelFile(a, dir.file("a.tr2"));
    WriteLevelFile(b, dir.file("b.tr2"));
    std::vector<std::string> args{"--diff", dir.file("a.tr2"), dir.file("b.tr2")};
    if (asJson) args.push_back("--json");
    return run(args);
}

TEST(DiffCommand, TheSameLevelExitsZero) {
    const Outcome same = diff(withTrigger(3, 1), withTrigger(3, 1), false);
    EXPECT_EQ(same.code, 0);
    EXPECT_EQ(same.out, "0 differences\n");
}

TEST(DiffCommand, ItemsRoomsFlipMapsAndTexturesThatChangedAreListed) {
    const auto a = soundLevel(3);
    auto b = a;
    b.entities->at(0).x += 256;                 // moved
    b.entities->push_back({10, 0, 512, 0, 512});  // added
    b.rooms[0].vertices[1].y = -256;
    b.rooms[0].staticMeshes = {{512, 0, 512}};
    b.rooms[0].alternateRoom = 0;
    b.objectTextures[0].u[1] = 63;
    b.tileCount = 2;
    const Outcome outcome = diff(a, b, true);
    EXPECT_EQ(outcome.code, 1);
    const json result = json::parse(outcome.out);
    ASSERT_EQ(result["items"].size(), 2u) << result.dump();
    EXPECT_EQ(result["items"][0]["change"], "moved");
    EXPECT_EQ(result["items"][1]["change"], "added");
    EXPECT_EQ(result["items"][1]["index"], 1);
    std::set<std::string> roomChanges;
    for (const json& room : result["rooms"]) roomChanges.insert(room["change"].get<std::string>());
    EXPECT_EQ(roomChanges, (std::set<std::string>{"geometry", "statics"}));
    EXPECT_EQ(result["flip_maps"].size(), 1u);
    std::set<std::string> textureChanges;
    for (const json& texture : result["textures"]) textureChanges.insert(texture["change"].get<std::string>());
    EXPECT_EQ(textureChanges, (std::set<std::string>{"added", "object_textures"}));
    EXPECT_TRUE(result["triggers"].empty());
}

TEST(DiffCommand, TriggersAreMatchedByTheirSquaresDownToEachAction) {
    const auto a = withTrigger(3, 1);
    auto b = a;
    (*b.floorData)[3] = 0x0000;  // activates item 0 instead of item 9
    (*b.rooms[0].sectorList)[1].floorDataIndex = 0;
    (*b.rooms[0].sectorList)[2].floorDataIndex = 1;  // and lies one square on
    const Outcome outcome = diff(a, b, true);
    EXPECT_EQ(outcome.code, 1);
    const json triggers = json::parse(outcome.out)["triggers"];
    ASSERT_EQ(triggers.size(), 2u) << outcome.out;
    EXPECT_EQ(triggers[0]["change"], "removed");
    EXPECT_EQ(triggers[0]["x"], 1);
    EXPECT_EQ(triggers[1]["change"], "added");
    EXPECT_EQ(triggers[1]["x"], 2);

    b = a;
    (*b.floorData)[3] = 0x0000;
    const json changed = json::parse(diff(a, b, true).out)["triggers"];
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0]["change"], "changed");
    EXPECT_EQ(changed[0]["actions_removed"], json::parse(R"([{"action": 0, "parameter": 9}])"));
    EXPECT_EQ(changed[0]["actions_added"], json::parse(R"([{"action": 0, "parameter": 0}])"));
    const std::string text = diff(a, b, false).out;
    EXPECT_EQ(text.substr(0, text.find('\n')), "trigger at room 0 (1, 0): removed activate #9, added activate #0 Lara") << text;
}

}  // namespace
}  // namespace grottix
