#pragma once
// Reading fields of the sections the reader keeps as raw bytes.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "level/LevelTypes.h"

namespace grottix {

// A little-endian field at a byte offset of a record the caller has checked to be whole.
template <typename T>
T RawField(const uint8_t* record, size_t offset) {
    T value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

// How many whole records of a size the table holds.
inline size_t RecordCount(const TLevelTable& table, size_t size) {
    return std::min<size_t>(table.count, table.bytes.size() / size);
}

}  // namespace grottix
