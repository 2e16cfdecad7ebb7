#include <gtest/gtest.h>

#include <cstring>

#include "storage/BinaryData.h"
#include "storage/Exceptions.h"

namespace grottix {
namespace {

TBinary binaryOf(const std::vector<uint8_t>& bytes, TCompressionLevel level = TCompressionLevel::clDefault) {
    TBinary binary;
    TMemoryStream source(bytes);
    binary.ReadData(source, false);
    binary.SetCompressionLevel(level);
    return binary;
}

std::vector<uint8_t> textBytes(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t("grottix"[i % 7] + i / 1000);
    return bytes;
}

TEST(CompressedRecord, RoundTripKeepsContentAndStartsWithItsLength) {
    const auto content = textBytes(200000);
    TBinary binary = binaryOf(content);
    TMemoryStream record;
    binary.SaveToStream(record);
    int32_t length;
    std::memcpy(&length, record.Memory(), 4);
    EXPECT_EQ(length, 200000);

    record.SetPosition(0);
    TBinary back;
    back.LoadFromStream(record);
    EXPECT_EQ(std::vector<uint8_t>(back.GetMemory(), back.GetMemory() + back.GetSize()), content);
    EXPECT_EQ(record.Position(), record.Size()) << "the reader stops right behind the zlib stream";
}

TEST(CompressedRecord, EmptyContentWritesZeroAndReadsNothingMore) {
    TBinary empty;
    TMemoryStream record;
    empty.SaveToStream(record);
    EXPECT_GT(record.Size(), 4);
    record.SetPosition(0);
    TBinary back = binaryOf({1, 2, 3});
    back.LoadFromStream(record);
    EXPECT_TRUE(back.IsEmpty());
    EXPECT_EQ(record.Position(), 4);
}

TEST(CompressedRecord, TruncatedOrCorruptStreamRaisesInsteadOfReturningGarbage) {
    TMemoryStream record;
    binaryOf(textBytes(5000)).SaveToStream(record);
    std::vector<uint8_t> truncated(record.Bytes().begin(), record.Bytes().end() - 20);
    TMemoryStream shortStream(truncated);
    TBinary target;
    EXPECT_THROW(target.LoadFromStream(shortStream), EZlibError);

    std::vector<uint8_t> corrupt = record.Bytes();
    for (size_t i = 6; i < corrupt.size(); i += 3) corrupt[i] ^= 0x5A;
    TMemoryStream corruptStream(corrupt);
    EXPECT_THROW(target.LoadFromStream(corruptStream), EZlibError);
}

TEST(CompressedRecord, AbsurdLengthDoesNotAllocateBeyondWhatTheStreamProduces) {
    TMemoryStream record;
    binaryOf(textBytes(100)).SaveToStream(record);
    std::vector<uint8_t> lying = record.Bytes();
    const int32_t huge = 0x7FFFFFF0;
    std::memcpy(lying.data(), &huge, 4);
    TMemoryStream stream(lying);
    TBinary target;
    EXPECT_THROW(target.LoadFromStream(stream), EZlibError);
}

TEST(CompressedRecord, InflateBytesRejectsAnEarlyEnd) {
    const auto packed = DeflateBytes(textBytes(10000), TCompressionLevel::clMax);
    EXPECT_EQ(InflateBytes(packed, 10).size(), 10000u);
    EXPECT_THROW(InflateBytes(std::span(packed).first(packed.size() / 2), 10000), EZlibError);
    EXPECT_THROW(InflateBytes({}, 0), EZlibError);
}

TEST(Binary, EqualityComparesCompressedSerialisations) {
    const auto content = textBytes(3000);
    EXPECT_TRUE(binaryOf(content).Equals(binaryOf(content)));
    EXPECT_FALSE(binaryOf(content).Equals(binaryOf(textBytes(2999))));
    EXPECT_FALSE(binaryOf(content, TCompressionLevel::clNone).Equals(binaryOf(content, TCompressionLevel::clMax)));
    EXPECT_TRUE(TBinary().Equals(TBinary()));
    EXPECT_FALSE(TBinary().Equals(binaryOf(content)));
}

TEST(Binary, RawReadOfALargeStreamCopiesItAll) {
    const auto content = textBytes(70000);
    TBinary binary = binaryOf(content);
    EXPECT_EQ(binary.GetSize(), 70000);
    TMemoryStream out;
    binary.WriteData(out, false);
    EXPECT_EQ(out.Bytes(), content);
}

TEST(Binary, AssignCopiesContentAndLevelAndNullClears) {
    TBinary source = binaryOf({5, 6, 7}, TCompressionLevel::clMax);
    TBinaryData data;
    data.SetBinary(&source);
    EXPECT_EQ(data.GetSize(), 3);
    EXPECT_EQ(data.CompressionLevel(), TCompressionLevel::clMax);
    data.SetBinary(nullptr);
    EXPECT_TRUE(data.IsEmpty());
}

}  // namespace
}  // namespace grottix
