#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "storage/SubStream.h"
#include "storage/Wad.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string extract(TWad& wad, const std::string& name) {
    TMemoryStream out;
    EXPECT_TRUE(wad.ExtractEntry(name, out));
    EXPECT_EQ(out.Position(), 0);
    return {out.Bytes().begin(), out.Bytes().end()};
}

class Wad : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir_.file(name); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }
    void store(const std::string& wad, const std::string& name, const std::string& content) const {
        TMemoryStream stream(bytes(content));
        StoreStreamInWad(wad, name, stream, TCompressionLevel::clMax);
    }
    static uint32_t header(const std::vector<uint8_t>& file, size_t at) {
        uint32_t value;
        std::memcpy(&value, file.data() + at, 4);
        return value;
    }
    test::TempDir dir_;
};

TEST_F(Wad, ANewArchiveIsEmptyAndEveryLookupFails) {
    CreateWad(path("a.wad"));
    const std::vector<uint8_t> file = ReadWholeFile(path("a.wad"));
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "PWAD");
    EXPECT_EQ(header(file, 4), 12u);
    EXPECT_EQ(header(file, 8), 0u);
    EXPECT_EQ(header(file, 12), 0u);  // the directory: an empty compressed record
    TWad wad(path("a.wad"));
    EXPECT_EQ(wad.EntryCount(), 0);
    EXPECT_EQ(wad.FindEntry("x"), -1);
    EXPECT_FALSE(wad.EntryExists("x"));
}

TEST_F(Wad, StoredEntriesAreFoundWithoutRegardToCaseAndListedSorted) {
    store(path("a.wad"), "textures/Zeta.bmp", "zeta");
    store(path("a.wad"), "abc.bmp", "lower");
    store(path("a.wad"), "ABC.BMP", "upper");
    TWad wad(path("a.wad"));
    EXPECT_EQ(wad.EntryCount(), 3);
    std::vector<std::string> names = {"stale"};
    wad.GetEntryNames(names);
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(names[2], "textures/Zeta.bmp");
    EXPECT_EQ(extract(wad, "TEXTURES/zeta.BMP"), "zeta");
    const std::string either = extract(wad, "Abc.Bmp");
    EXPECT_TRUE(either == "lower" || either == "upper");
    EXPECT_NE(wad.FindEntry("abc.bmp"), -1);
    EXPECT_EQ(wad.Origin(), TWad::TOrigin::File);
}

TEST_F(Wad, AMissingEntryNamesItselfInTheError) {
    CreateWad(path("a.wad"));
    TWad wad(path("a.wad"));
    TMemoryStream out;
    try {
        wad.ExtractEntry("nope.d3d", out);
        FAIL();
    } catch (const EWadError& error) {
        EXPECT_STREQ(error.what(), "Entry not found inside WAD file:\r\nnope.d3d");
    }
}

TEST_F(Wad, NestedArchivesAreReachedThroughBars) {
    store(path("inner.wad"), "inner.d3d", "deep content");
    store(path("inner.wad"), "other", "x");
    const std::vector<uint8_t> inner = ReadWholeFile(path("inner.wad"));
    store(path("mid.wad"), "inner.wad", std::string(inner.begin(), inner.end()));
    std::vector<uint8_t> mid = ReadWholeFile(path("mid.wad"));
    store(path("outer.wad"), "mid.wad", std::string(mid.begin(), mid.end()));
    TWad outer(path("outer.wad"));
    EXPECT_EQ(extract(outer, "mid.wad|inner.wad|inner.d3d"), "deep content");
    EXPECT_FALSE(outer.EntryExists("mid.wad|inner.wad"));

    TWad mid2(outer, "mid.wad");
    EXPECT_EQ(mid2.Origin(), TWad::TOrigin::Entry);
    EXPECT_EQ(extract(mid2, "inner.wad|other"), "x");
}

TEST_F(Wad, AnArchiveIsReadFromAWindowOntoAnotherStream) {
    store(path("a.wad"), "e", "payload");
    std::vector<uint8_t> enclosing = bytes("HEADER");
    const std::vector<uint8_t> archive = ReadWholeFile(path("a.wad"));
    enclosing.insert(enclosing.end(), archive.begin(), archive.end());
    enclosing.push_back('!');
    TMemoryStream file(enclosing);
    TSubStream window(&file, 6, int64_t(archive.size()));
    TWad wad(window);
    EXPECT_EQ(wad.Origin(), TWad::TOrigin::Stream);
    EXPECT_EQ(extract(wad, "e"), "payload");
}

TEST_F(Wad, StoringUnderAnExistingNameReplacesTheEntryAndKeepsTheOldBytes) {
    store(path("a.wad"), "e", "first version");
    const auto before = ReadWholeFile(path("a.wad"));
    store(path("a.wad"), "e", "second");
    const auto after = ReadWholeFile(path("a.wad"));
    TWad wad(path("a.wad"));
    EXPECT_EQ(wad.EntryCount(), 1);
    EXPECT_EQ(extract(wad, "e"), "second");
    EXPECT_GT(after.size(), before.size());
    // The old payload is still there, dead, right after the header.
    EXPECT_TRUE(std::equal(before.begin() + 12, before.begin() + header(before, 4), after.begin() + 12));

    store(path("a.wad"), "E", "another spelling is another entry");
    EXPECT_EQ(TWad(path("a.wad")).EntryCount(), 2);
}

TEST_F(Wad, AddingFilesSkipsNamesAlreadyPresentButRewritesTheDirectory) {
    CreateWad(path("a.wad"));
    const std::string one = write("one.txt", "1"), two = write("two.txt", "22");
    AddFilesToWad(path("a.wad"), {one, two, one}, TCompressionLevel::clFastest);
    TWad wad(path("a.wad"));
    EXPECT_EQ(wad.EntryCount(), 2);
    EXPECT_EQ(extract(wad, two), "22");

    const auto before = ReadWholeFile(path("a.wad"));
    AddFilesToWad(path("a.wad"), {two}, TCompressionLevel::clFastest);
    const auto after = ReadWholeFile(path("a.wad"));
    EXPECT_EQ(header(after, 8), 2u);
    EXPECT_EQ(header(after, 4), header(before, 4));
}

TEST_F(Wad, ARewrittenArchiveKeepsItsPermissions) {
    CreateWad(path("a.wad"));
    ::chmod(path("a.wad").c_str(), 0600);
    store(path("a.wad"), "e", "x");
    struct stat info {};
    ASSERT_EQ(::stat(path("a.wad").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(Wad, AWriterThatFailsPartWayLeavesTheArchiveAsItWas) {
    store(path("a.wad"), "keep", "precious");
    const auto before = ReadWholeFile(path("a.wad"));
    EXPECT_THROW(AddFilesToWad(path("a.wad"), {write("ok.txt", "x"), path("missing.txt")}, TCompressionLevel::clDefault),
                 EGrottixError);
    EXPECT_EQ(ReadWholeFile(path("a.wad")), before);
    EXPECT_FALSE(FileExists(path("a.wad.tmp~")));
}

TEST_F(Wad, WrongMagicIsInvalidFileTypeForReadersAndWriters) {
    write("bad.wad", "IWAD and some more bytes here");
    EXPECT_THROW({ TWad wad(path("bad.wad")); }, EWadError);
    try {
        TWad wad(path("bad.wad"));
    } catch (const EWadError& error) {
        EXPECT_STREQ(error.what(), "Invalid file type");
    }
    EXPECT_THROW(AddFilesToWad(path("bad.wad"), {}, TCompressionLevel::clDefault), EWadError);
    TMemoryStream stream;
    EXPECT_THROW(StoreStreamInWad(path("bad.wad"), "x", stream, TCompressionLevel::clDefault), EWadError);
    EXPECT_EQ(ReadWholeFile(path("bad.wad")), bytes("IWAD and some more bytes here"));
}

TEST_F(Wad, DamagedArchivesFailCleanly) {
    store(path("a.wad"), "e", "payload");
    std::vector<uint8_t> file = ReadWholeFile(path("a.wad"));
    std::vector<uint8_t> lyingCount = file;
    lyingCount[8] = 0xFF;
    lyingCount[11] = 0x7F;
    std::vector<uint8_t> directoryBeyondEnd = file;
    directoryBeyondEnd[7] = 0x40;
    std::vector<uint8_t> truncated(file.begin(), file.end() - 5);
    for (const auto& damaged : {lyingCount, directoryBeyondEnd, truncated}) {
        TMemoryStream stream(damaged);
        EXPECT_THROW({ TWad wad(stream); }, EGrottixError);
    }
    // An entry pointing past the end of the archive.
    std::vector<uint8_t> entry(TWadEntry::kRecordSize, 0);
    const uint32_t offset = 1000000, length = 50;
    std::memcpy(&entry[0], &offset, 4);
    std::memcpy(&entry[4], &length, 4);
    entry[8] = 1;
    entry[9] = 'e';
    TMemoryStream archive;
    const uint32_t directoryOffset = 12, count = 1;
    archive.WriteBuffer("PWAD", 4);
    archive.WriteBuffer(&directoryOffset, 4);
    archive.WriteBuffer(&count, 4);
    WriteCompressedRecord(archive, entry, TCompressionLevel::clDefault);
    TWad wad(archive);
    TMemoryStream out;
    EXPECT_THROW(wad.ExtractEntry("e", out), EGrottixError);
}

}  // namespace
}  // namespace grottix
