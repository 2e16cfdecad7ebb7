#include "level/FileBuffer.h"

#include <algorithm>
#include <cstring>

#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {

namespace {

constexpr size_t kWrapperHeader = 12;

bool isWrapped(const std::vector<uint8_t>& file) {
    return file.size() > kWrapperHeader && std::memcmp(file.data(), "ZLIB", 4) == 0;
}

std::vector<uint8_t> unwrap(const std::vector<uint8_t>& file) {
    uint32_t compressed, uncompressed;
    std::memcpy(&compressed, file.data() + 4, 4);
    std::memcpy(&uncompressed, file.data() + 8, 4);
    const size_t available = std::min<size_t>(compressed, file.size() - kWrapperHeader);
    return InflateBytes(std::span(file).subspan(kWrapperHeader, available), uncompressed);
}

}  // namespace

void TFileBuffer::Open(const std::string& path) {
    path_ = path;
    std::vector<uint8_t> file = ReadWholeFile(path);
    OpenBytes(isWrapped(file) ? unwrap(file) : std::move(file));
}

void TFileBuffer::OpenBytes(std::vector<uint8_t> bytes) {
    data_ = std::move(bytes);
    size_ = data_.size();
    position_ = 0;
}

size_t TFileBuffer::Read(void* destination, size_t count) {
    const size_t n = std::min(count, Remaining());
    if (n) std::memcpy(destination, data_.data() + position_, n);
    position_ += n;
    return n;
}

std::span<const uint8_t> TFileBuffer::Take(uint64_t count) {
    const size_t n = size_t(std::min<uint64_t>(count, Remaining()));
    std::span<const uint8_t> result(data_.data() + position_, n);
    position_ += n;
    return result;
}

void TFileBuffer::Write(const void* source, size_t count) {
    const size_t end = position_ + count;
    if (end > data_.size()) data_.resize(end);
    if (count) std::memcpy(data_.data() + position_, source, count);
    size_ = std::max(size_, end);
    position_ = end;
}

void TFileBuffer::Close() {
    data_ = {};
    path_.clear();
    size_ = position_ = 0;
}

}  // namespace grottix
