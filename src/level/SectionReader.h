#pragma once
// Helpers that take the level's sections from a TFileBuffer. Every read is strict: a section the data
// cannot hold raises EDataEndsEarly before anything is allocated for it, and the other damage a
// section can show is raised as ELevelFault; TTombRaiderLevel turns both into its damage record.

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "level/FileBuffer.h"
#include "level/LevelDamage.h"
#include "level/LevelTypes.h"

namespace grottix::level {

// Damage other than a read past the end: a size field the data contradicts, or a limit passed.
class ELevelFault : public EGrottixError {
public:
    ELevelFault(TLevelProblem problem, uint64_t offset, const std::string& detail)
        : EGrottixError(detail), Problem(problem), Offset(offset) {}
    TLevelProblem Problem;
    uint64_t Offset;
};

template <typename T>
T read(TFileBuffer& buffer) {
    static_assert(std::is_trivially_copyable_v<T>);
    T value;
    std::memcpy(&value, buffer.Take(sizeof value).data(), sizeof value);
    return value;
}

// count records of elementSize bytes, kept raw.
inline TLevelTable readTable(TFileBuffer& buffer, uint64_t count, size_t elementSize) {
    const auto bytes = buffer.Take(count * elementSize);
    TLevelTable table;
    table.count = uint32_t(count);
    table.bytes.assign(bytes.begin(), bytes.end());
    return table;
}

inline TLevelTable readCountedTable(TFileBuffer& buffer, size_t elementSize) {
    return readTable(buffer, read<uint32_t>(buffer), elementSize);
}

// count records whose file layout is exactly T.
template <typename T>
std::vector<T> readRecords(TFileBuffer& buffer, uint64_t count) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto bytes = buffer.Take(count * sizeof(T));
    std::vector<T> records(bytes.size() / sizeof(T));
    // gcc 12 sees a possibly negative length in the vector arithmetic here and warns falsely.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    if (!bytes.empty()) std::memcpy(static_cast<void*>(records.data()), bytes.data(), bytes.size());
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    return records;
}

// A little-endian cursor over a block already taken from the buffer.
class SpanCursor {
public:
    explicit SpanCursor(std::span<const uint8_t> bytes) : at_(bytes.data()) {}
    template <typename T>
    T next() {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    void copy(void* out, size_t count) {
        std::memcpy(out, at_, count);
        at_ += count;
    }

private:
    const uint8_t* at_;
};

}  // namespace grottix::level
