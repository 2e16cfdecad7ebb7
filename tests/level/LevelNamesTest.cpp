#include <gtest/gtest.h>

#include "level/LevelNames.h"

namespace grottix {
namespace {

struct Split {
    bool ok;
    std::string path, entry;
};
Split split(const std::string& text) {
    Split s{};
    s.ok = SplitLevelTextureName(text, s.path, s.entry);
    return s;
}

TEST(LevelTextureName, SplitsAtTheLastDoubleColon) {
    const auto a = split(R"(->C:\levels\a.tr2::5)");
    EXPECT_TRUE(a.ok);
    EXPECT_EQ(a.path, R"(C:\levels\a.tr2)");
    EXPECT_EQ(a.entry, "5");
    EXPECT_TRUE(IsLevelTextureName(R"(->C:\levels\a.tr2::5)"));

    const auto nested = split("->x.tr4::y::3");
    EXPECT_EQ(nested.path, "x.tr4::y");
    EXPECT_EQ(nested.entry, "3");
    EXPECT_FALSE(IsLevelTextureName("->x.tr4::y::3"));
}

TEST(LevelTextureName, ShortOrMalformedTextsDoNotSplit) {
    EXPECT_FALSE(split("->a::").ok);
    const auto empty = split("->ab::");
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.path, "ab");
    EXPECT_EQ(empty.entry, "");
    EXPECT_TRUE(split("->::56").ok);
    EXPECT_EQ(split("->::56").path, "");
    EXPECT_FALSE(split("x>a.tr4::1").ok);
    EXPECT_FALSE(split("->abcdef").ok);
    EXPECT_FALSE(split("->:abcd").ok);
}

TEST(LevelTextureName, MakeUsesOnlyTheEntryOfANestedName) {
    EXPECT_EQ(MakeLevelTextureName("P.tr2", "->other.phd::7"), "->P.tr2::7");
    EXPECT_EQ(MakeLevelTextureName("P.tr2", "12"), "->P.tr2::12");
    EXPECT_TRUE(IsLevelTextureName("->dir/level.TuB::1"));
}

TEST(VersionDetection, WordAndPathGiveTheCode) {
    EXPECT_EQ(VersionCodeFor(0x20, R"(D:\TR1\LEVEL1.PHD)"), 1);
    EXPECT_EQ(VersionCodeFor(0x20, R"(D:\UB\EGYPT.TUB)"), 2);
    EXPECT_EQ(VersionCodeFor(0x2D, "wall.tr2"), 3);
    EXPECT_EQ(VersionCodeFor(0x2D, "gold/level.trg"), 4);
    EXPECT_EQ(VersionCodeFor(0xFF080038, "x.tr2"), 5);
    EXPECT_EQ(VersionCodeFor(0xFF180038, "x.tr2"), 5);
    EXPECT_EQ(VersionCodeFor(0x00345254, "x.tr4"), 6);
    EXPECT_EQ(VersionCodeFor(0xFFFFFFF0, "x.trc"), 7);
    EXPECT_EQ(VersionCodeFor(0x00345254, R"(C:\LEVELS.TRC\X.TR4)"), 7) << "the text counts anywhere in the path";
    EXPECT_EQ(VersionCodeFor(0x12345678, "x.tr4"), 0);
}

TEST(VersionDetection, ResultMessages) {
    EXPECT_EQ(ImportErrorMessage(0), "");
    EXPECT_EQ(ImportErrorMessage(1), "Map not found");
    EXPECT_EQ(ImportErrorMessage(2), "Unsupported version");
    EXPECT_EQ(ImportErrorMessage(3), "Damaged file");
    EXPECT_EQ(ImportErrorMessage(4), "File too large");
    EXPECT_EQ(ImportErrorMessage(5), "");
}

}  // namespace
}  // namespace grottix
