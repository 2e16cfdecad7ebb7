#include <gtest/gtest.h>

#include <cstring>

#include "engine/Scene.h"
#include "level/LevelFixtures.h"
#include "import/LevelImport.h"
#include "level/LevelLimits.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "storage/Zlib.h"

namespace grottix {
namespace {

using namespace levelwriter;

std::vector<uint8_t> prefix(const std::vector<uint8_t>& bytes, size_t length) {
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length));
}

// The mark a cut falls into: the last one that begins at or before it, counting in the file or (for
// a cut of the level data) in the level data; a packed level data has no file offsets.
const SectionMark& markAt(const std::vector<SectionMark>& marks, size_t offset, bool inLevelData, bool packed = false) {
    const SectionMark* found = nullptr;
    for (const SectionMark& mark : marks) {
        const bool inside = mark.levelDataOffset != SIZE_MAX;
        if (inLevelData ? inside && mark.levelDataOffset <= offset : !(packed && inside) && mark.offset <= offset) found = &mark;
    }
    return *found;
}

// Sections behind the entities, where codes 6-7 tolerate tables that do not fit an intact level data.
bool behindEntities(const std::vector<SectionMark>& marks, const SectionMark& mark) {
    bool seen = false;
    for (const SectionMark& m : marks) {
        if (&m == &mark) return seen;
        seen = seen || m.name == "entities";
    }
    return false;
}

void expectDamageAt(const TTombRaiderLevel& level, uint8_t result, const SectionMark& mark, size_t cut, const std::string& what) {
    ASSERT_EQ(result, kLevelDamaged) << what;
    ASSERT_TRUE(level.Damage) << what;
    EXPECT_EQ(level.Damage->Problem, TLevelProblem::EndsEarly) << what;
    EXPECT_EQ(level.Damage->Section, mark.name) << what;
    EXPECT_EQ(level.Damage->Room, mark.room) << what;
    EXPECT_EQ(level.Damage->Tile, mark.tile) << what;
    EXPECT_LE(level.Damage->Offset, cut) << what;
}

class LevelDamageTest : public ::testing::TestWithParam<int> {
protected:
    int code() const { return GetParam(); }
    TTombRaiderLevel level;
};

TEST_P(LevelDamageTest, FilesCutAtEverySectionRoomAndTileAreReportedThere) {
    std::vector<SectionMark> marks;
    const auto bytes = WriteLevel(test::SmallLevel(code()), marks);
    size_t cuts = 0;
    for (const SectionMark& mark : marks) {
        if (code() == 6 && mark.levelDataOffset != SIZE_MAX) continue;  // packed: see the next test
        for (size_t cut : {mark.offset, mark.offset + 1}) {
            const std::string what = mark.name + " cut at " + std::to_string(cut);
            const uint8_t result = level.LoadLevelFromBytes(prefix(bytes, cut), test::FileNameFor(code()));
            expectDamageAt(level, result, markAt(marks, cut, false, code() == 6), cut, what);
            ++cuts;
        }
    }
    EXPECT_GE(cuts, code() == 6 ? 12u : 70u) << "every section of the file is cut";
}

TEST_P(LevelDamageTest, LevelDataCutInsideAnIntactChunkOrLengthIsReportedThere) {
    if (code() < 6) GTEST_SKIP() << "only TR4 and Chronicles levels wrap their level data";
    std::vector<SectionMark> marks;
    auto description = test::SmallLevel(code());
    WriteLevel(description, marks);
    for (const SectionMark& mark : marks) {
        if (mark.levelDataOffset == SIZE_MAX) continue;
        const size_t cut = mark.levelDataOffset + 1;
        const std::string what = mark.name + " cut at " + std::to_string(cut);
        description.levelDataLength = cut;
        const uint8_t result = level.LoadLevelFromBytes(WriteLevel(description), test::FileNameFor(code()));
        if (behindEntities(marks, mark)) {
            EXPECT_EQ(result, kLevelLoaded) << what << ": editors write their own tables there";
            continue;
        }
        expectDamageAt(level, result, markAt(marks, cut, true), code() == 6 ? cut : SIZE_MAX, what);
        EXPECT_EQ(level.Damage->Bytes, code() == 6 ? TLevelBytes::LevelData : TLevelBytes::File) << what;
    }
}

TEST_P(LevelDamageTest, EveryPrefixIsDamagedAndFlippedBytesGiveAResult) {
    auto description = test::SmallLevel(code());
    const auto bytes = WriteLevel(description);
    const size_t stride = std::max<size_t>(1, bytes.size() / 300);
    for (size_t length = 0; length < bytes.size(); length += stride) {
        EXPECT_EQ(level.LoadLevelFromBytes(prefix(bytes, length), test::FileNameFor(code())), kLevelDamaged) << length;
        EXPECT_TRUE(level.Damage) << length;
    }
    description.tileCount = 0;
    const auto original = WriteLevel(description);
    for (size_t at = 4; at < original.size(); at += 7) {
        auto flipped = original;
        flipped[at] ^= 0xFF;
        if (at + 1 < flipped.size()) flipped[at + 1] ^= 0x80;
        const uint8_t result = level.LoadLevelFromBytes(flipped, test::FileNameFor(code()));
        EXPECT_LE(result, kLevelTooLarge) << at;
        EXPECT_EQ(level.Damage.has_value(), result >= kLevelDamaged) << at;
    }
}

TEST_P(LevelDamageTest, ADamagedLevelKeepsTheRoomsBeforeTheDamageAndStillImports) {
    std::vector<SectionMark> marks;
    const auto bytes = WriteLevel(test::SmallLevel(code()), marks);
    const auto room1 = std::find_if(marks.begin(), marks.end(), [](const SectionMark& m) { return m.room == 1; });
    ASSERT_NE(room1, marks.end());
    const size_t cut = code() == 6 ? room1->levelDataOffset + 30 : room1->offset + 30;
    auto description = test::SmallLevel(code());
    description.levelDataLength = cut;
    TD3DScene scene(nullptr);
    TTombRaiderLevel damaged;
    std::string name = "x";
    name += test::FileNameFor(code());  // GCC 12 at -O3 misreads "x" + a temporary string
    ASSERT_EQ(damaged.LoadLevelFromBytes(code() == 6 ? WriteLevel(description) : prefix(bytes, cut), name), kLevelDamaged);
    ASSERT_EQ(damaged.Rooms.size(), 2u) << "the room the damage lies in is kept, with what was read of it";
    EXPECT_EQ(damaged.Rooms[0].rectangles.size(), code() == 7 ? 1u : 2u);
    EXPECT_EQ(damaged.TileCount, 2);
    EXPECT_TRUE(damaged.StaticMeshDefinitions.empty());
    EXPECT_NE(damaged.LoadErrorMessage(kLevelDamaged).find("Damaged file: the data ends early in the rooms (room 1) at byte "),
              std::string::npos)
        << damaged.LoadErrorMessage(kLevelDamaged);
    ImportLoadedLevel(scene, damaged, 128, 0.5f);
    EXPECT_EQ(scene.Shared->Textures.size(), 2u);
    EXPECT_FALSE(scene.Objects.empty());
}

TEST_P(LevelDamageTest, ALevelCutInItsSamplesIsReportedThereAndKeepsEverythingElse) {
    if (code() >= 3 && code() <= 5) GTEST_SKIP() << "TR2 and TR3 levels carry no samples";
    std::vector<SectionMark> marks;
    const auto bytes = WriteLevel(test::SmallLevel(code()), marks);
    const auto samples = std::find_if(marks.begin(), marks.end(), [](const SectionMark& m) { return m.name == "samples"; });
    ASSERT_NE(samples, marks.end());
    // Inside the count and inside the first sample; for codes 6-7, whose samples end the file, a byte
    // short of the end.
    for (size_t cut : {samples->offset + 2, samples->offset + 9, code() >= 6 ? bytes.size() - 1 : samples->offset + 10}) {
        const std::string what = "cut at " + std::to_string(cut) + " of " + std::to_string(bytes.size());
        ASSERT_EQ(level.LoadLevelFromBytes(prefix(bytes, cut), test::FileNameFor(code())), kLevelDamaged) << what;
        EXPECT_EQ(level.Damage->Section, "samples") << what;
        EXPECT_EQ(level.Damage->Bytes, TLevelBytes::File) << what;
        EXPECT_NE(level.LoadErrorMessage(kLevelDamaged).find("the data ends early in the samples at byte "), std::string::npos);
        EXPECT_EQ(level.Rooms.size(), 2u) << what;
        EXPECT_EQ(level.ObjectTextures.size(), 4u) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, LevelDamageTest, ::testing::Range(1, 8));

// ---- size fields, limits and overlapping rooms ----

// Offsets of a code 6 level's chunks: the uncompressed and compressed length fields of each.
struct ChunkFields {
    size_t uncompressed, compressed;
};
std::vector<ChunkFields> chunkFields(const std::vector<uint8_t>& bytes) {
    std::vector<ChunkFields> chunks;
    size_t at = 10;
    for (int i = 0; i < 4; ++i) {
        uint32_t packed;
        std::memcpy(&packed, bytes.data() + at + 4, 4);
        chunks.push_back({at, at + 4});
        at += 8 + packed;
    }
    return chunks;
}

void addTo(std::vector<uint8_t>& bytes, size_t at, int64_t delta) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    value = uint32_t(int64_t(value) + delta);
    std::memcpy(bytes.data() + at, &value, 4);
}

TEST(BadLevelInput, ChunkSizeFieldsTheDataDoesNotMatchAreDamage) {
    const auto original = WriteLevel(test::SmallLevel(6));
    const auto chunks = chunkFields(original);
    struct Case {
        size_t field;
        int64_t delta;
        const char* section;
        const char* detail;
    } cases[] = {
        {chunks[1].uncompressed, 131072, "16-bit texture tiles", "declares 393216 bytes, holds 262144"},
        {chunks[1].uncompressed, -1, "16-bit texture tiles", "inflates to more than the 262143 bytes it declares"},
        {chunks[0].compressed, 1, "16-bit texture tiles", ""},   // the next chunk's fields move by a byte
        {chunks[0].compressed, -1, "32-bit texture tiles", "compressed data ends early"},
        {chunks[3].uncompressed, int64_t{1} << 31, "level data chunk", ""},
    };
    for (const Case& c : cases) {
        auto bytes = original;
        addTo(bytes, c.field, c.delta);
        TTombRaiderLevel level;
        ASSERT_EQ(level.LoadLevelFromBytes(bytes, "x.tr4"), kLevelDamaged) << c.section << c.delta;
        EXPECT_EQ(level.Damage->Section, c.section) << c.delta;
        if (*c.detail) {
            EXPECT_EQ(level.Damage->Detail, c.detail);
        }
    }
}

TEST(BadLevelInput, AWrapperDeclaringFourGigabytesIsDamageAndInflatesOnlyWhatItHolds) {
    auto description = test::SmallLevel(3);
    description.zlibWrapped = true;
    auto bytes = WriteLevel(description);
    const uint32_t plain = uint32_t(WriteLevel(test::SmallLevel(3)).size());
    const uint32_t huge = 0xFFFFFFFF;
    std::memcpy(bytes.data() + 8, &huge, 4);
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevelFromBytes(bytes, "x.tr2"), kLevelDamaged);
    EXPECT_EQ(level.Damage->Section, "ZLIB wrapper");
    EXPECT_EQ(level.Damage->Detail, "declares 4294967295 bytes, holds " + std::to_string(plain));
    // What the inflation allocates follows the data, not the size field.
    const auto packed = std::span(bytes).subspan(12);
    EXPECT_LT(InflateUpTo(packed, huge, huge).Bytes.capacity(), size_t(plain) * 2);
}

TEST(BadLevelInput, FilesBeyondTheLimitsAreRefusedWithTheLimitNamed) {
    const auto refusal = [](const std::vector<uint8_t>& bytes, const std::string& name) {
        TTombRaiderLevel level;
        EXPECT_EQ(level.LoadLevelFromBytes(bytes, name), kLevelTooLarge);
        return level.Damage ? level.Damage->Section + ": " + level.Damage->Detail : std::string("no damage");
    };
    // Tiles: a classic count, and a chunk that inflates beyond what any real level holds.
    std::vector<uint8_t> manyTiles = {0x20, 0, 0, 0, 0x01, 0x02, 0, 0};
    manyTiles.resize(4096, 0);
    EXPECT_EQ(refusal(manyTiles, "x.phd"), "texture tile count: declares 513 texture tiles, more than the 512 this program reads");
    auto bomb = WriteLevel(test::SmallLevel(6));
    const auto chunks = chunkFields(bomb);
    const auto zeros = DeflateBytes(std::vector<uint8_t>(kMaxMiscTileBytes + 1), TCompressionLevel::clFastest);
    std::vector<uint8_t> misc(8);
    const uint32_t declared = 1u << 30, packed = uint32_t(zeros.size());
    std::memcpy(misc.data(), &declared, 4);
    std::memcpy(misc.data() + 4, &packed, 4);
    misc.insert(misc.end(), zeros.begin(), zeros.end());
    bomb.resize(chunks[2].uncompressed);
    bomb.insert(bomb.end(), misc.begin(), misc.end());
    EXPECT_EQ(refusal(bomb, "x.tr4"), "miscellaneous textures: inflates to more than 16 MiB, the most this program reads");

    // Rooms and faces.
    auto rooms = test::SmallLevel(3);
    rooms.rooms.resize(kMaxLevelRooms + 1);
    EXPECT_EQ(refusal(WriteLevel(rooms), "x.tr2"), "rooms: 4097 rooms, more than the 4096 this program reads");
    auto faces = test::SmallLevel(3);
    faces.rooms[1].rectangles.resize(40000);
    faces.rooms[1].triangles.resize(30000);
    EXPECT_EQ(refusal(WriteLevel(faces), "x.tr2"), "rooms: a room of 70000 faces, more than the 65536 this program reads");
    auto allFaces = test::SmallLevel(3);
    allFaces.rooms.resize(17, allFaces.rooms[0]);
    for (auto& room : allFaces.rooms) room.rectangles.resize(62000);
    EXPECT_EQ(refusal(WriteLevel(allFaces), "x.tr2"), "rooms: more than 1048576 faces, the most this program reads");
    // Squares, whose floor data is decoded for each.
    auto squares = test::SmallLevel(3);
    squares.rooms[1].xSectors = 2049;
    squares.rooms[1].zSectors = 2048;
    EXPECT_EQ(refusal(WriteLevel(squares), "x.tr2"), "rooms: more than 4194304 squares, the most this program reads");
}

TEST(BadLevelInput, LayeredRoomsSmallerThanTheirTablesAreNeverReadTwice) {
    auto description = test::SmallLevel(7);
    description.rooms.resize(200, description.rooms[0]);
    // Every room claims less data than its tables take, as if the rooms overlapped.
    for (auto& room : description.rooms) room.dataSize = 300;
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevelFromBytes(WriteLevel(description), "x.trc"), kLevelDamaged);
    EXPECT_EQ(level.Damage->Problem, TLevelProblem::Inconsistent);
    EXPECT_EQ(level.Damage->Room, 0);
    EXPECT_EQ(level.Damage->Detail, "the room's tables run past its data size of 300 bytes");
    EXPECT_EQ(level.Rooms.size(), 1u);
    // A room claiming more than the level data holds has simply run out of data.
    description.rooms[0].dataSize = 1u << 30;
    ASSERT_EQ(level.LoadLevelFromBytes(WriteLevel(description), "x.trc"), kLevelDamaged);
    EXPECT_EQ(level.Damage->Problem, TLevelProblem::EndsEarly);
}

// A TR4 level ending with a later tool's trailer: "NG", its records, "NGLE" and its whole length.
TEST(BadLevelInput, ATr4TrailerIsFoundByItsFooterAndACutInItIsDamage) {
    auto description = test::SmallLevel(6);
    std::vector<uint8_t> trailer = {'N', 'G'};
    trailer.resize(14002, 0x5A);
    const uint32_t length = uint32_t(trailer.size() + 8);
    trailer.insert(trailer.end(), {'N', 'G', 'L', 'E', uint8_t(length), uint8_t(length >> 8), 0, 0});
    const std::vector<uint8_t> samples = description.sampleTail;
    description.sampleTail.insert(description.sampleTail.end(), trailer.begin(), trailer.end());
    const auto bytes = WriteLevel(description);
    const size_t start = bytes.size() - length;
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevelFromBytes(bytes, "x.tr4"), kLevelLoaded);
    ASSERT_TRUE(level.Trailer);
    EXPECT_EQ(level.Trailer->Offset, start);
    EXPECT_EQ(level.Trailer->Size, length);
    EXPECT_EQ(level.SampleBlock, samples) << "the samples alone";

    for (size_t cut : {size_t{1}, size_t{2}, size_t{100}, size_t{length - 1}}) {
        ASSERT_EQ(level.LoadLevelFromBytes(prefix(bytes, bytes.size() - cut), "x.tr4"), kLevelDamaged) << cut;
        EXPECT_EQ(level.Damage->Problem, TLevelProblem::EndsEarly) << cut;
        EXPECT_EQ(level.Damage->Section, "NG trailer") << cut;
        EXPECT_EQ(level.Damage->Offset, start) << cut;
        EXPECT_EQ(level.Rooms.size(), 2u) << cut;
    }
    EXPECT_EQ(level.LoadLevelFromBytes(prefix(bytes, start), "x.tr4"), kLevelLoaded) << "no trailer at all";
    EXPECT_FALSE(level.Trailer);
    ASSERT_EQ(level.LoadLevelFromBytes(prefix(bytes, start - 1), "x.tr4"), kLevelDamaged);
    EXPECT_EQ(level.Damage->Section, "samples");

    // A footer whose length the bytes behind the level data cannot hold, or that does not lead to "NG".
    const size_t behind = samples.size() + length;
    for (const auto& [declared, detail] :
         {std::pair{uint32_t(behind + 1), "declares " + std::to_string(behind + 1) + " bytes, " + std::to_string(behind) +
                                              " lie behind the level data"},
          {length - 1, "declares " + std::to_string(length - 1) + " bytes, but no \"NG\" starts them"}}) {
        auto wrong = bytes;
        std::memcpy(wrong.data() + wrong.size() - 4, &declared, 4);
        ASSERT_EQ(level.LoadLevelFromBytes(wrong, "x.tr4"), kLevelDamaged);
        EXPECT_EQ(level.Damage->Problem, TLevelProblem::Inconsistent);
        EXPECT_EQ(level.Damage->Section, "NG trailer");
        EXPECT_EQ(level.Damage->Detail, detail);
    }
}

TEST(BadLevelInput, CorruptTileChunkIsDamageInThatChunk) {
    auto bytes = WriteLevel(test::SmallLevel(6));
    // The first chunk's zlib stream starts at 4 + 6 + 8.
    for (size_t i = 22; i < 60; ++i) bytes[i] = 0x55;
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevelFromBytes(bytes, "x.tr4"), kLevelDamaged);
    EXPECT_EQ(level.Damage->Problem, TLevelProblem::Inconsistent);
    EXPECT_EQ(level.Damage->Section, "32-bit texture tiles");
    EXPECT_EQ(level.Damage->Detail, "compressed data is corrupt");
}

TEST(BadLevelInput, LevelsFromExtendedEditorsLoadDespiteBrokenTailSections) {
    for (int code : {3, 5, 6, 7}) {
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
        // TR2 and TR3 files have no envelope that tells such tables from a cut file: they are damaged,
        // but what the viewer uses is all there.
        const uint8_t result = level.LoadLevelFromBytes(WriteLevel(description), test::FileNameFor(code));
        EXPECT_EQ(result, code <= 5 ? kLevelDamaged : kLevelLoaded) << code;
        EXPECT_EQ(level.Rooms.size(), 2u);
        EXPECT_EQ(level.ObjectTextures.size(), 4u);
        EXPECT_EQ(level.Entities.count, description.counts.entities);
        EXPECT_LE(level.SoundDetails.bytes.size(), 4000u);
        if (code == 7) {
            EXPECT_EQ(level.SampleBlock, description.sampleTail);
        }
    }
}

}  // namespace
}  // namespace grottix
