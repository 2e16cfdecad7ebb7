#pragma once
// A bounds-checked little-endian cursor over a byte block. Reads past the end raise EReadError;
// requireRemaining checks a table's size before anything is allocated for it.

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "storage/Exceptions.h"

namespace grottix {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    size_t position() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }

    void seek(size_t position) {
        if (position > data_.size()) fail();
        pos_ = position;
    }
    void skip(uint64_t count) {
        requireRemaining(count);
        pos_ += static_cast<size_t>(count);
    }
    void requireRemaining(uint64_t count) const {
        if (count > remaining()) fail();
    }

    uint8_t u8() { return take<uint8_t>(); }
    int8_t i8() { return take<int8_t>(); }
    uint16_t u16() { return take<uint16_t>(); }
    int16_t i16() { return take<int16_t>(); }
    uint32_t u32() { return take<uint32_t>(); }
    int32_t i32() { return take<int32_t>(); }
    float f32() { return take<float>(); }

    void bytes(void* out, size_t count) {
        requireRemaining(count);
        if (count) std::memcpy(out, data_.data() + pos_, count);
        pos_ += count;
    }
    std::span<const uint8_t> view(size_t count) {
        requireRemaining(count);
        auto result = data_.subspan(pos_, count);
        pos_ += count;
        return result;
    }

private:
    template <typename T>
    T take() {
        T value;
        bytes(&value, sizeof value);  // the machine is little-endian, like the files
        return value;
    }
    [[noreturn]] static void fail() { throw EReadError("Unexpected end of data"); }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

}  // namespace grottix
