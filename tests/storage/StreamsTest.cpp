#include <gtest/gtest.h>

#include <numeric>

#include "storage/CachedFileStream.h"
#include "storage/Exceptions.h"
#include "storage/SubStream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

std::vector<uint8_t> countingBytes(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 7 + i / 256);
    return bytes;
}

TEST(SubStream, WindowReadsItsRangeAndLeavesTheParentWhereItWas) {
    TMemoryStream parent(countingBytes(300));
    parent.SetPosition(17);
    TSubStream window(&parent, 100, 50);
    EXPECT_EQ(window.Seek(0, SeekOrigin::End), 50);
    window.SetPosition(0);
    uint8_t got[10];
    EXPECT_EQ(window.Read(got, 10), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(got[i], parent.Bytes()[size_t(100 + i)]);
    EXPECT_EQ(parent.Position(), 17);
    EXPECT_EQ(window.Position(), 10);
}

TEST(SubStream, NeverReadsOrWritesBeyondItsWindow) {
    TMemoryStream parent(countingBytes(300));
    TSubStream window(&parent, 100, 50);
    window.SetPosition(45);
    uint8_t got[20] = {};
    EXPECT_EQ(window.Read(got, 20), 5);
    const std::vector<uint8_t> ones(20, 1);
    window.SetPosition(48);
    EXPECT_EQ(window.Write(ones.data(), 20), 2);
    EXPECT_EQ(parent.Bytes()[150], countingBytes(300)[150]);
    window.SetPosition(60);
    EXPECT_EQ(window.Read(got, 1), 0);
}

TEST(SubStream, WindowOfAWindowAddsTheOffsets) {
    TMemoryStream parent(countingBytes(300));
    TSubStream outer(&parent, 100, 150);
    TSubStream inner(&outer, 30, 20);
    uint8_t got[4];
    ASSERT_EQ(inner.Read(got, 4), 4);
    EXPECT_EQ(got[0], parent.Bytes()[130]);
    EXPECT_EQ(got[3], parent.Bytes()[133]);
    inner.SetPosition(0);
    EXPECT_EQ(inner.GetAbsolutePosition(), 130);
}

TEST(SubStream, RefusesANullParent) {
    try {
        TSubStream window(nullptr, 0, 1);
        FAIL();
    } catch (const ESSCreateError& e) {
        EXPECT_STREQ(e.what(), "Cannot create TSubStream class with nil parent");
    }
}

class CachedFileStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = countingBytes(200000);
        path = dir.file("data.bin");
        WriteFileAtomically(path, bytes.data(), bytes.size());
    }
    test::TempDir dir;
    std::string path;
    std::vector<uint8_t> bytes;
};

TEST_F(CachedFileStreamTest, SmallSequentialReadsHitTheFileOncePerBlock) {
    TCachedFileStream stream(path, 65535, FileMode::OpenRead);
    uint8_t got[4];
    for (int64_t offset = 0; offset <= 65528; offset += 4) {
        ASSERT_EQ(stream.Read(got, 4), 4);
        ASSERT_EQ(got[0], bytes[size_t(offset)]);
    }
    EXPECT_EQ(stream.FileReads(), 1);
    ASSERT_EQ(stream.Read(got, 4), 4);  // offset 65532: its last byte lies beyond the block
    EXPECT_EQ(stream.FileReads(), 2);
    EXPECT_EQ(got[3], bytes[65535]);
}

TEST_F(CachedFileStreamTest, LargeReadBypassesAndKeepsTheCachedBlock) {
    TCachedFileStream stream(path, 1000, FileMode::OpenRead);
    uint8_t small[8];
    stream.Read(small, 8);
    std::vector<uint8_t> big(5000);
    stream.SetPosition(10000);
    EXPECT_EQ(stream.Read(big.data(), 5000), 5000);
    EXPECT_EQ(big[0], bytes[10000]);
    stream.SetPosition(100);
    stream.Read(small, 8);
    EXPECT_EQ(stream.FileReads(), 2);
    EXPECT_EQ(small[0], bytes[100]);
}

TEST_F(CachedFileStreamTest, ReadsAtTheEndDeliverWhatIsThere) {
    TCachedFileStream stream(path, 4096, FileMode::OpenRead);
    stream.Seek(-3, SeekOrigin::End);
    uint8_t got[10];
    EXPECT_EQ(stream.Read(got, 10), 3);
    EXPECT_EQ(stream.Read(got, 10), 0);
}

TEST(MemoryStream, ReadingBeforeTheStartGivesNothing) {
    TMemoryStream stream(countingBytes(10));
    stream.Seek(-4, SeekOrigin::Current);
    uint8_t got[4] = {};
    EXPECT_EQ(stream.Read(got, 4), 0);
    EXPECT_EQ(stream.Write(got, 4), 0);
}

TEST(FileStream, MissingFileRaisesOpenError) {
    EXPECT_THROW(TFileStream("/nonexistent/grottix/file", FileMode::OpenRead), EFOpenError);
}

TEST(FileStream, AtomicWriteReplacesAndLeavesNoTemporary) {
    test::TempDir dir;
    const std::string path = dir.file("out.bin");
    const std::vector<uint8_t> first(10, 1), second(3, 2);
    WriteFileAtomically(path, first.data(), first.size());
    WriteFileAtomically(path, second.data(), second.size());
    EXPECT_EQ(ReadWholeFile(path), second);
    EXPECT_FALSE(FileExists(path + ".tmp~"));
}

}  // namespace
}  // namespace grottix
