#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "level/FloorData.h"
#include "level/FloorDataNames.h"
#include "level/LevelFixtures.h"
#include "level/TombRaiderLevel.h"

namespace grottix {
namespace {

using namespace levelwriter;

constexpr uint16_t kEnd = 0x8000;

uint16_t header(int function, int sub = 0, bool last = false) { return uint16_t(function | sub << 8 | (last ? kEnd : 0)); }
uint16_t action(int what, int parameter, bool last = false) { return uint16_t(what << 10 | parameter | (last ? kEnd : 0)); }

// A level of the code whose first room has a grid of columns x rows squares with these floor-data
// indices (column by column) over these floor-data words.
TLevelFloorData read(int code, const std::vector<uint16_t>& words, std::vector<Sector> sectors, uint16_t columns,
                     uint16_t rows) {
    LevelDescription description = test::SmallLevel(code);
    description.floorData = words;
    Room& other = description.rooms[1];
    other.sectorList = std::vector<Sector>(size_t(other.xSectors) * other.zSectors);
    Room& room = description.rooms[0];
    room.xSectors = columns;
    room.zSectors = rows;
    room.sectorList = std::move(sectors);
    TTombRaiderLevel level;
    EXPECT_EQ(level.LoadLevelFromBytes(WriteLevel(description), test::FileNameFor(code)), 0);
    return ReadFloorData(level);
}

Sector at(uint16_t index, int8_t floor = 0) {
    Sector s;
    s.floorDataIndex = index;
    s.floor = floor;
    return s;
}

class FloorDataTest : public ::testing::TestWithParam<int> {};

TEST_P(FloorDataTest, DecodesPortalsSlopesKillsAndTriggersOfEveryGame) {
    const std::vector<uint16_t> words = {
        0,
        header(1), 1, header(2), 0xFE03, header(5, 0, true),                       // portal, slope, kill
        header(4, 2, true), 5 | 0x100 | 0x1F << 9, action(0, 12), action(1, 4), kEnd | 0x0203,  // switch
        header(4, 0, true), 0, action(8, 17, true)};                              // music
    const auto data = read(GetParam(), words, {at(1), at(0), at(6), at(0, kWallHeight), at(11), at(0)}, 3, 2);
    ASSERT_EQ(data.rooms.size(), 2u);
    EXPECT_FALSE(data.firstProblem);
    const TRoomFloor& room = data.rooms[0];
    const TSectorFloor& first = *room.At(0, 0);
    EXPECT_EQ(first.portal, 1);
    EXPECT_EQ(first.floorSlope, 0xFE03);
    EXPECT_TRUE(first.kill);
    EXPECT_EQ(data.Functions(first).size(), 3u);
    EXPECT_TRUE(room.At(1, 1)->record.IsWall());
    EXPECT_EQ(room.At(2, 2), nullptr);

    ASSERT_EQ(data.triggers.size(), 2u);
    const TLevelTrigger& sw = data.triggers[0];
    EXPECT_EQ(sw.room, 0);
    EXPECT_EQ(sw.x, 1);
    EXPECT_EQ(sw.z, 0);
    EXPECT_EQ(sw.type, 2);
    EXPECT_EQ(sw.timer, 5);
    EXPECT_TRUE(sw.once);
    EXPECT_EQ(sw.mask, 0x1F);
    ASSERT_EQ(sw.actions.size(), 2u);
    EXPECT_EQ(sw.actions[0].parameter, 12);
    EXPECT_EQ(sw.actions[1].action, kActionCamera);
    EXPECT_EQ(sw.actions[1].extra, kEnd | 0x0203);
    EXPECT_EQ(room.At(1, 0)->triggers, std::vector<int>{0});
    EXPECT_EQ(DescribeTriggerAction(GetParam(), data.triggers[1].actions[0], {}), "music track 17");
    EXPECT_EQ(TriggerTypeName(GetParam(), sw.type), "switch");
}

// Each game knows the functions and actions of the games before it and a few more.
TEST_P(FloorDataTest, KnowsOnlyTheFunctionsAndActionsOfItsGame) {
    const int code = GetParam();
    const std::vector<uint16_t> words = {
        0,
        header(6, 0x0F, true),                                // 1: climbable on all sides (TR2 on)
        header(19, 0, true),                                  // 2: monkey-swing (TR3 on)
        header(7, 0, true), 0x1234,                           // 3: floor triangles (TR3 on)
        header(4, 0, true), 0, action(11, 0, true),           // 5: clear bodies (TR3 on)
        header(4, 12, true), 0, action(12, 3), kEnd,          // 8: fly-by with its extra word (TR4 on)
    };
    const auto data = read(code, words, {at(1), at(2), at(3), at(5), at(8)}, 5, 1);
    const TRoomFloor& room = data.rooms[0];
    EXPECT_EQ(room.At(0, 0)->bad, code <= 2);
    EXPECT_EQ(room.At(0, 0)->climb, code <= 2 ? 0 : 0x0F);
    EXPECT_EQ(room.At(1, 0)->monkeySwing, code >= 5);
    EXPECT_EQ(room.At(2, 0)->bad, code <= 4);
    EXPECT_EQ(room.At(3, 0)->bad, code <= 4);
    EXPECT_EQ(room.At(4, 0)->bad, code <= 5);
    if (code >= 6) {
        const TLevelTrigger& flyby = data.triggers.back();
        EXPECT_EQ(TriggerTypeName(code, flyby.type), "monkey");
        ASSERT_EQ(flyby.actions.size(), 1u);
        EXPECT_EQ(flyby.actions[0].extra, kEnd);
    }
    EXPECT_EQ(data.badSectors, code <= 2 ? 5u : code <= 4 ? 4u : code == 5 ? 1u : 0u);
    ASSERT_EQ(data.firstProblem.has_value(), code <= 5);
    if (code <= 2) {
        EXPECT_EQ(data.firstProblem->what, "unknown function 6");
    } else if (code == 5) {
        EXPECT_EQ(data.firstProblem->x, 4);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, FloorDataTest, ::testing::Range(1, 8));

TEST(FloorDataBadInput, BrokenChainsStopAtTheTableAndNameTheFirstBadSector) {
    struct Case {
        std::vector<uint16_t> words;
        uint16_t index;
        const char* problem;
    };
    std::vector<uint16_t> endless(3000, header(5));  // kills without an end bit
    const std::vector<Case> cases = {
        {{0, header(5, 0, true)}, 7, "floor-data index 7 past the end of the floor data (2 words)"},
        {{0, header(5), header(2)}, 1, "a function's data runs past the end of the floor data"},
        {{0, header(5), header(5)}, 1, "the chain runs past the end of the floor data"},
        {{0, header(4, 0, true), 0, action(0, 1)}, 1, "a trigger's actions run past the end of the floor data"},
        {{0, header(4, 0, true), 0, action(1, 1, true)}, 1, "a trigger's actions run past the end of the floor data"},
        {{0, header(4, 0, true)}, 1, "a trigger runs past the end of the floor data"},
        {{0, header(4, 0, true), 0, action(30, 1, true)}, 1, "unknown trigger action 30"},
        {endless, 1, "the chain has no end within 512 words"},
    };
    for (const Case& c : cases) {
        const auto data = read(3, c.words, {at(0), at(0), at(0), at(c.index)}, 2, 2);
        ASSERT_TRUE(data.firstProblem) << c.problem;
        EXPECT_EQ(data.firstProblem->what, c.problem);
        EXPECT_EQ(data.firstProblem->room, 0);
        EXPECT_EQ(data.firstProblem->x, 1);
        EXPECT_EQ(data.firstProblem->z, 1);
        EXPECT_EQ(data.badSectors, 1u);
        EXPECT_TRUE(data.rooms[0].At(1, 1)->bad);
    }
}

// Arbitrary words under every game's rules: every square is read or marked bad, nothing else.
TEST(FloorDataBadInput, RandomWordsAreReadWithinTheTable) {
    std::mt19937 random(21);
    for (int code = 1; code <= 7; ++code) {
        std::vector<uint16_t> words(300);
        for (uint16_t& word : words) word = uint16_t(random());
        std::vector<Sector> sectors(64);
        for (Sector& sector : sectors) sector.floorDataIndex = uint16_t(random() % 340);
        const auto data = read(code, words, sectors, 8, 8);
        size_t bad = 0;
        for (const TSectorFloor& square : data.rooms[0].sectors) bad += square.bad;
        EXPECT_EQ(bad, data.badSectors);
        for (const TLevelTrigger& trigger : data.triggers) EXPECT_TRUE(data.rooms[0].At(trigger.x, trigger.z));
    }
}

// Squares with the same index share one chain, read once, and its trigger lists them all; chains
// starting inside one another read no more words together than the budget allows, however many.
TEST(FloorDataBadInput, SharedAndOverlappingChainsAreReadOncePerEntryWithinTheBudget) {
    const std::vector<uint16_t> shared = {0, header(2), 0x0102, header(4, 1, true), 0, action(0, 7, true), header(5, 0, true)};
    const auto data = read(4, shared, {at(1), at(6), at(1), at(0), at(1), at(6)}, 3, 2);
    ASSERT_EQ(data.entries.size(), 2u);
    EXPECT_EQ(data.entries[0].index, 1);
    EXPECT_EQ(data.entries[0].functions.size(), 2u);
    ASSERT_EQ(data.triggers.size(), 1u);
    const TLevelTrigger& trigger = data.triggers[0];
    EXPECT_EQ(trigger.squares, (std::vector<TFloorSquare>{{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}));
    EXPECT_EQ(std::tie(trigger.room, trigger.x, trigger.z), std::tuple(0, 0, 0));
    for (const auto& [x, z] : {std::pair{0, 0}, {1, 0}, {2, 0}}) {
        const TSectorFloor& square = *data.rooms[0].At(x, z);
        EXPECT_EQ(square.entry, 0);
        EXPECT_EQ(square.triggers, std::vector<int>{0});
        EXPECT_EQ(square.floorSlope, 0x0102);
        EXPECT_EQ(&data.Functions(square), &data.entries[0].functions);
    }
    EXPECT_TRUE(data.rooms[0].At(0, 1)->kill);
    EXPECT_TRUE(data.Functions(*data.rooms[0].At(1, 1)).empty());

    // Endless triggers, every square starting one word further in: each chain alone would read 512.
    std::vector<uint16_t> endless(1200, header(4));
    std::vector<Sector> starts;
    for (uint16_t i = 1; i <= 1024; ++i) starts.push_back(at(i));
    const auto overlapping = read(6, endless, starts, 32, 32);
    size_t words = 0;
    for (const TFloorEntry& entry : overlapping.entries)
        for (const TSectorFunction& f : entry.functions) words += 1 + f.data.size();
    EXPECT_EQ(words, FloorChainBudget(endless.size())) << "the chains read up to the budget and no further";
    EXPECT_EQ(overlapping.badSectors, 1024u);
    EXPECT_EQ(overlapping.entries.back().problem, "the chains overlap: together they read more than 2912 words");
}

TEST(FloorDataBadInput, ATriggerCutShortKeepsTheActionsReadBeforeTheCut) {
    const auto data = read(1, {0, header(4, 0, true), 0, action(0, 3), action(3, 2)}, {at(1)}, 1, 1);
    ASSERT_EQ(data.triggers.size(), 1u);
    EXPECT_EQ(data.triggers[0].actions.size(), 2u);
    EXPECT_TRUE(data.rooms[0].At(0, 0)->bad);
}

}  // namespace
}  // namespace grottix
