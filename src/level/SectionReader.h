#pragma once
// Helpers that take the level's sections from a TFileBuffer. Short reads leave zeros; a table is
// sized to what its count asks, but never beyond the elements that the rest of the data can fill.

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "level/FileBuffer.h"
#include "level/LevelTypes.h"

namespace grottix::level {

template <typename T>
T read(TFileBuffer& buffer) {
    static_assert(std::is_trivially_copyable_v<T>);
    T value{};
    buffer.Read(&value, sizeof value);
    return value;
}

// count records of elementSize bytes, kept raw.
inline TLevelTable readTable(TFileBuffer& buffer, uint64_t count, size_t elementSize) {
    TLevelTable table;
    const auto bytes = buffer.Take(count * elementSize);
    table.bytes.assign(bytes.begin(), bytes.end());
    table.count = uint32_t((bytes.size() + elementSize - 1) / elementSize);
    table.bytes.resize(size_t(table.count) * elementSize);
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
    std::vector<T> records((bytes.size() + sizeof(T) - 1) / sizeof(T));
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

}  // namespace grottix::level
