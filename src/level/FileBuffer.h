#pragma once
// TFileBuffer: a whole level file in memory, read with plain copies. The level reader uses the
// strict reads (Take, ReadAll, Skip, MoveTo), which raise EDataEndsEarly instead of reading past the
// readable end; that end is the data's size, or a narrower window (SetEnd) such as one room's data.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "storage/Exceptions.h"

namespace grottix {

// A strict read asked for more bytes than lie between the position and the readable end.
class EDataEndsEarly : public EGrottixError {
public:
    EDataEndsEarly(uint64_t offset, uint64_t needed, uint64_t end)
        : EGrottixError("Unexpected end of data"), Offset(offset), Needed(needed), End(end) {}
    uint64_t Offset;  // where the read began
    uint64_t Needed;  // how many bytes it asked for
    uint64_t End;     // the readable end it ran into
};

class TFileBuffer {
public:
    // Reads the whole file as it is; raises EFOpenError/EReadError for I/O failures.
    void Open(const std::string& path);
    // Takes bytes that are already in memory.
    void OpenBytes(std::vector<uint8_t> bytes);
    size_t Position() const { return position_; }
    size_t Size() const { return data_.size(); }
    size_t Remaining() const { return end_ > position_ ? end_ - position_ : 0; }
    void Close();

    // The next count bytes, without copying; advances. Raises EDataEndsEarly when fewer are left.
    std::span<const uint8_t> Take(uint64_t count) {
        if (count > Remaining()) endsEarly(count);
        const std::span<const uint8_t> bytes(data_.data() + position_, size_t(count));
        position_ += size_t(count);
        return bytes;
    }
    void ReadAll(void* destination, size_t count);
    void Skip(uint64_t count) { Take(count); }
    // Seeks to offset, which must not lie beyond the readable end.
    void MoveTo(uint64_t offset);

    // Reads stop at end (clipped to the size) until it is set again.
    size_t End() const { return end_; }
    void SetEnd(uint64_t end) { end_ = end < data_.size() ? size_t(end) : data_.size(); }
    // Hands the bytes out and leaves the buffer empty.
    std::vector<uint8_t> Release();

private:
    [[noreturn]] void endsEarly(uint64_t needed) const { throw EDataEndsEarly(position_, needed, end_); }

    std::vector<uint8_t> data_;
    size_t position_ = 0;
    size_t end_ = 0;
};

}  // namespace grottix
