// Flip maps: which rooms each flip state shows, what happens to links that do not hold, and the
// alternate room, group and flags as every version stores them.

#include <gtest/gtest.h>

#include "level/FlipMaps.h"
#include "level/LevelFixtures.h"
#include "level/RoomFlags.h"
#include "level/TombRaiderLevel.h"

namespace grottix {
namespace {

using Shown = std::vector<uint8_t>;

TEST(FlipMaps, PrimariesShowUntilFlippedThenTheirAlternatesStandInTheirPlace) {
    // 0 -> 2 in group 1, 1 -> 3 in group 2, 4 has no alternate.
    const TFlipMaps flips({2, 3, -1, -1, -1}, {1, 2, 1, 2, 0});
    EXPECT_TRUE(flips.Issues().empty());
    EXPECT_EQ(flips.Groups(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(flips.IsAlternate(2));
    EXPECT_FALSE(flips.IsAlternate(0));
    EXPECT_EQ(flips.RoomsShown({}), (Shown{1, 1, 0, 0, 1}));
    EXPECT_EQ(flips.RoomsShown(TFlipState::All()), (Shown{0, 0, 1, 1, 1}));
    EXPECT_EQ(flips.RoomsShown(TFlipState::Group(2)), (Shown{1, 0, 0, 1, 1}));
    EXPECT_EQ(flips.RoomsShown(TFlipState::Group(7)), (Shown{1, 1, 0, 0, 1}));
}

TEST(FlipMaps, LinksThatDoNotHoldAreReportedAndLeaveTheirRoomsShownOnce) {
    // 0 -> 1 holds; 1 -> 2 continues a chain; 3 -> 3 names itself; 4 -> 99 names no room;
    // 5 -> 1 names an alternate already taken; 6 -> -5 means none.
    const TFlipMaps flips({1, 2, -1, 3, 99, 1, -5}, {});
    ASSERT_EQ(flips.Issues().size(), 4u);
    EXPECT_EQ(flips.Issues()[0].problem, TFlipProblem::Chain);
    EXPECT_EQ(flips.Issues()[1].problem, TFlipProblem::OwnAlternate);
    EXPECT_EQ(flips.Issues()[2].problem, TFlipProblem::OutOfRange);
    EXPECT_EQ(flips.Issues()[3].problem, TFlipProblem::SharedAlternate);
    EXPECT_EQ(DescribeFlipIssue(flips.Issues()[2]), "room 4: alternate 99 names no room");
    EXPECT_EQ(flips.Rooms()[6].alternate, -1);
    EXPECT_EQ(flips.RoomsShown({}), (Shown{1, 0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(flips.RoomsShown(TFlipState::All()), (Shown{0, 1, 1, 1, 1, 1, 1}));
}

TEST(FlipMaps, TwoRoomsNamingEachOtherFlipOnceAndNeitherDisappears) {
    const TFlipMaps flips({1, 0}, {});
    EXPECT_EQ(flips.Issues().size(), 1u);
    EXPECT_EQ(flips.RoomsShown({}), (Shown{1, 0}));
    EXPECT_EQ(flips.RoomsShown(TFlipState::All()), (Shown{0, 1}));
    EXPECT_FALSE(TFlipMaps().HasFlips());
    EXPECT_TRUE(TFlipMaps().RoomsShown(TFlipState::All()).empty());
}

class RoomFlipFieldsTest : public ::testing::TestWithParam<int> {};

TEST_P(RoomFlipFieldsTest, AlternateRoomGroupAndFlagsAreReadWhereTheVersionKeepsThem) {
    const int code = GetParam();
    levelwriter::LevelDescription description = test::SmallLevel(code);
    description.rooms[0].alternateRoom = 1;
    description.rooms[0].alternateGroup = 3;
    description.rooms[1].flags = 0x0029;  // water, outside, wind
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevelFromBytes(levelwriter::WriteLevel(description), test::FileNameFor(code)), 0);
    ASSERT_EQ(level.Rooms.size(), 2u);
    EXPECT_EQ(level.Rooms[0].alternateRoom, 1);
    EXPECT_EQ(level.Rooms[1].alternateRoom, -1);
    EXPECT_TRUE(IsWaterRoom(level.Rooms[1]));
    EXPECT_FALSE(IsWaterRoom(level.Rooms[0]));
    const TFlipMaps flips = TFlipMaps::Read(level);
    EXPECT_EQ(flips.Rooms()[0].group, code >= 6 ? 3 : 0);
    EXPECT_EQ(flips.RoomsShown({}), (Shown{1, 0}));
    const std::vector<std::string> named = RoomFlagNames(code, RoomFlagWord(level.Rooms[1]));
    const std::vector<std::string> expected = code <= 2 ? std::vector<std::string>{"water"}
                                                        : std::vector<std::string>{"water", "outside", "wind"};
    EXPECT_EQ(named, expected);
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, RoomFlipFieldsTest, ::testing::Range(1, 8));

}  // namespace
}  // namespace grottix
