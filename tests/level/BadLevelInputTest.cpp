#include <gtest/gtest.h>

#include <cstring>

#include "level/LevelFixtures.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

namespace grottix {
namespace {

using namespace levelwriter;

// Whatever a file holds, loading gives a result code or the program's own error; nothing else.
void loadSafely(const std::vector<uint8_t>& bytes, const std::string& path) {
    TTombRaiderLevel level;
    try {
        const uint8_t result = level.LoadLevelFromBytes(bytes, path);
        EXPECT_LE(result, 2);
    } catch (const EGrottixError&) {
    }
}

class BadLevelInputTest : public ::testing::TestWithParam<int> {};

TEST_P(BadLevelInputTest, EveryPrefixLoadsWhatIsCompleteOrRaisesAClearError) {
    const int code = GetParam();
    auto description = test::SmallLevel(code);
    description.tileCount = 1;
    const auto bytes = WriteLevel(description);
    const size_t stride = std::max<size_t>(1, bytes.size() / 400);
    for (size_t length = 0; length < bytes.size(); length += stride)
        loadSafely(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length)), test::FileNameFor(code));
}

TEST_P(BadLevelInputTest, FlippedBytesNeverCrash) {
    const int code = GetParam();
    auto description = test::SmallLevel(code);
    description.tileCount = 0;
    const auto original = WriteLevel(description);
    for (size_t at = 4; at < original.size(); at += 7) {
        auto bytes = original;
        bytes[at] ^= 0xFF;
        if (at + 1 < bytes.size()) bytes[at + 1] ^= 0x80;
        loadSafely(bytes, test::FileNameFor(code));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, BadLevelInputTest, ::testing::Range(1, 8));

TEST(BadLevelInput, CorruptTileChunkRaisesAZlibError) {
    auto bytes = WriteLevel(test::SmallLevel(6));
    // The first chunk's zlib stream starts at 4 + 6 + 8.
    for (size_t i = 22; i < 60; ++i) bytes[i] = 0x55;
    TTombRaiderLevel level;
    EXPECT_THROW(level.LoadLevelFromBytes(bytes, "x.tr4"), EZlibError);
}

TEST(BadLevelInput, AbsurdCountsAllocateNoMoreThanTheDataHolds) {
    // A classic TR2 level whose tile count claims four billion tiles.
    std::vector<uint8_t> bytes = {0x2D, 0, 0, 0};
    bytes.resize(4 + 768 + 1024, 0);
    const uint32_t huge = 0xFFFFFFFF;
    bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&huge), reinterpret_cast<const uint8_t*>(&huge) + 4);
    bytes.resize(bytes.size() + 1000, 7);
    TTombRaiderLevel level;
    EXPECT_EQ(level.LoadLevelFromBytes(bytes, "x.tr2"), 0);
    EXPECT_EQ(level.TileCount, 1);
    EXPECT_EQ(level.Tiles8.size(), 65536u);
}

TEST(BadLevelInput, LevelsFromExtendedEditorsLoadDespiteBrokenTailSections) {
    for (int code : {3, 5, 6}) {
        auto description = test::SmallLevel(code);
        std::vector<uint8_t> tail;
        if (code <= 5) tail.resize(8192, 1);      // light map
        tail.resize(tail.size() + 2, 0);          // cinematic frames (codes 1-5) or part of the AI count
        tail.push_back(0xF0);                     // demo data count 0xFFF0
        tail.push_back(0xFF);
        tail.resize(tail.size() + 3000, 2);       // a bigger sound map than the table says
        for (uint8_t b : {0xFE, 0xFF, 0xFF, 0xFF}) tail.push_back(b);  // sound details near 2^32
        tail.resize(tail.size() + 64, 3);
        description.afterEntities = tail;
        TTombRaiderLevel level;
        ASSERT_EQ(level.LoadLevelFromBytes(WriteLevel(description), test::FileNameFor(code)), 0) << code;
        EXPECT_EQ(level.Rooms.size(), 2u);
        EXPECT_EQ(level.ObjectTextures.size(), 4u);
        EXPECT_LE(level.SoundDetails.bytes.size(), 4000u);
    }
}

}  // namespace
}  // namespace grottix
