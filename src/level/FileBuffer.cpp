#include "level/FileBuffer.h"

#include <cstring>

#include "storage/Stream.h"

namespace grottix {

void TFileBuffer::Open(const std::string& path) { OpenBytes(ReadWholeFile(path)); }

void TFileBuffer::OpenBytes(std::vector<uint8_t> bytes) {
    data_ = std::move(bytes);
    position_ = 0;
    end_ = data_.size();
}

void TFileBuffer::ReadAll(void* destination, size_t count) {
    const auto bytes = Take(count);
    if (count) std::memcpy(destination, bytes.data(), count);
}

void TFileBuffer::MoveTo(uint64_t offset) {
    if (offset > end_) {
        position_ = end_;
        throw EDataEndsEarly(end_, offset - end_, end_);
    }
    position_ = size_t(offset);
}

std::vector<uint8_t> TFileBuffer::Release() {
    std::vector<uint8_t> bytes = std::move(data_);
    Close();
    return bytes;
}

void TFileBuffer::Close() {
    data_ = {};
    position_ = end_ = 0;
}

}  // namespace grottix
