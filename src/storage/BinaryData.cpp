#include "storage/BinaryData.h"

#include <algorithm>
#include <typeinfo>

namespace grottix {

namespace {
constexpr int64_t kPiece = 65535;
}

bool TBinary::Equals(const TBinary& other) const {
    if (IsEmpty() || other.IsEmpty()) return IsEmpty() && other.IsEmpty();
    if (typeid(*this) != typeid(other)) return false;
    TMemoryStream mine, theirs;
    SaveToStream(mine);
    other.SaveToStream(theirs);
    return mine.Bytes() == theirs.Bytes();
}

void TBinary::LoadFromFile(const std::string& path, bool compressed) {
    TFileStream file(path, FileMode::OpenRead);
    ReadData(file, compressed);
}

void TBinary::SaveToFile(const std::string& path, bool compressed) const {
    TMemoryStream out;
    WriteData(out, compressed);
    out.SaveToFile(path);
}

void TBinary::ReadData(TStream& stream, bool compressed) {
    Clear();
    if (compressed) {
        content_ = TMemoryStream(ReadCompressedRecord(stream));
        return;
    }
    // Raw: the whole stream's size is the byte count; callers position the stream at 0 first.
    const int64_t total = stream.Size();
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(std::max<int64_t>(total, 0)));
    std::vector<uint8_t> piece(static_cast<size_t>(kPiece));
    for (int64_t left = total; left > 0;) {
        const int64_t got = stream.Read(piece.data(), std::min(left, kPiece));
        if (got <= 0) break;
        bytes.insert(bytes.end(), piece.begin(), piece.begin() + got);
        left -= got;
    }
    content_ = TMemoryStream(std::move(bytes));
}

void TBinary::WriteData(TStream& stream, bool compressed) const {
    const std::vector<uint8_t>& bytes = content_.Bytes();
    if (compressed) {
        WriteCompressedRecord(stream, bytes, level_);
        return;
    }
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBinary::Assign(const TBinary* source) {
    if (!source) {
        Clear();
        return;
    }
    if (source == this) return;
    content_ = TMemoryStream(source->content_.Bytes());
    level_ = source->level_;
}

void TCustomBinaryData::LoadFromBlob(std::span<const uint8_t> record) {
    TMemoryStream stream(std::vector<uint8_t>(record.begin(), record.end()));
    binary_->LoadFromStream(stream);
}

}  // namespace grottix
