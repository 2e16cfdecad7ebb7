#pragma once
// TFileBuffer: a whole level file in memory (unwrapped from an optional "ZLIB" header), read with
// plain copies. Reads past the end are silent: the missing bytes are simply not written.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace grottix {

class TFileBuffer {
public:
    // Reads the file; raises EFOpenError/EReadError for I/O failures and EZlibError for a bad wrapper.
    void Open(const std::string& path);
    // Copies up to count bytes (clipped to what is left) and advances; returns the bytes copied.
    size_t Read(void* destination, size_t count);
    // Writes at the position, growing the logical size as needed.
    void Write(const void* source, size_t count);
    void Seek(size_t offset) { position_ = offset < size_ ? offset : size_; }
    size_t Position() const { return position_; }
    size_t Size() const { return size_; }
    size_t Remaining() const { return size_ - position_; }
    // Moves past count bytes, clipped to the end.
    void Skip(uint64_t count) { Seek(count > Remaining() ? size_ : position_ + size_t(count)); }
    // The next count bytes (clipped to what is left), without copying; advances.
    std::span<const uint8_t> Take(uint64_t count);
    void Close();

    // Takes bytes that are already in memory (the file path is kept for messages only).
    void OpenBytes(std::vector<uint8_t> bytes);

private:
    std::string path_;
    std::vector<uint8_t> data_;
    size_t size_ = 0;
    size_t position_ = 0;
};

}  // namespace grottix
