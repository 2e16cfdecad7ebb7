// Each game's name for a few well-known types, "Object N" beyond the lists, and the flags word in words.

#include <gtest/gtest.h>

#include "level/EntityFlags.h"
#include "level/ObjectNames.h"

namespace grottix {
namespace {

TEST(ObjectNames, TombRaiderAndUnfinishedBusiness) {
    for (const int code : {1, 2}) {
        EXPECT_EQ(ObjectName(code, 0), "Lara");
        EXPECT_EQ(ObjectName(code, 7), "Wolf");
        EXPECT_EQ(ObjectName(code, 8), "Bear");
        EXPECT_EQ(ObjectName(code, 9), "Bat");
        EXPECT_EQ(ObjectName(code, 129), "Key 1");
    }
}

TEST(ObjectNames, TombRaiderTwo) {
    for (const int code : {3, 4}) {
        EXPECT_EQ(ObjectName(code, 15), "Doberman");
        EXPECT_EQ(ObjectName(code, 45), "Yeti");
        EXPECT_EQ(ObjectName(code, 149), "Small medipack");
    }
}

TEST(ObjectNames, TombRaiderThree) {
    EXPECT_EQ(ObjectName(5, 28), "Tiger");
    EXPECT_EQ(ObjectName(5, 287), "Tyrannosaur");
    EXPECT_EQ(ObjectName(5, 241), "Element 115");
}

// Slot names in words: numbers apart, a far model named after its slot, editor slots of TR4 included.
TEST(ObjectNames, LastRevelationAndChronicles) {
    EXPECT_EQ(ObjectName(6, 0), "Lara");
    EXPECT_EQ(ObjectName(6, 41), "Baddy 1");
    EXPECT_EQ(ObjectName(6, 42), "Baddy 1 (far model)");
    EXPECT_EQ(ObjectName(6, 176), "Puzzle item 2");
    EXPECT_EQ(ObjectName(6, 351), "Uzi");
    EXPECT_EQ(ObjectName(6, 459), "Horizon");
    EXPECT_EQ(ObjectName(6, 492), "Kayak");
    EXPECT_EQ(ObjectName(6, 519), "New slot 18");
    EXPECT_EQ(ObjectName(6, 520), "Object 520") << "the count of slots names no object";
    EXPECT_EQ(ObjectName(7, 85), "Huskie");
    EXPECT_EQ(ObjectName(7, 202), "Key item 7");
    EXPECT_EQ(ObjectName(7, 355), "Flare (menu)");
    EXPECT_EQ(ObjectName(7, 459), "Misc sprites");
}

TEST(ObjectNames, TypesNoListNamesAreNumbered) {
    EXPECT_EQ(ObjectName(1, 67), "Object 67") << "a gap in the list";
    EXPECT_EQ(ObjectName(3, 5000), "Object 5000");
    EXPECT_EQ(ObjectName(7, -3), "Object -3");
    EXPECT_EQ(ObjectName(0, 7), "Object 7") << "no game";
}

TEST(EntityFlags, InvisibleMaskAndOtherBitsInWords) {
    EXPECT_EQ(DescribeEntityFlags(1, 0), "");
    EXPECT_EQ(DescribeEntityFlags(3, 0x0100), "invisible");
    EXPECT_EQ(DescribeEntityFlags(3, 0x3E00), "activated (mask 11111)");
    EXPECT_EQ(DescribeEntityFlags(5, 0x0100 | (0x0A << 9)), "invisible, mask 01010");
    EXPECT_EQ(DescribeEntityFlags(6, 0x8000 | (1 << 9)), "mask 10000, bits 0x8000");
}

}  // namespace
}  // namespace grottix
