#include "storage/CachedFileStream.h"

#include <algorithm>
#include <cstring>

namespace grottix {

TCachedFileStream::TCachedFileStream(const std::string& path, int32_t blockSize, FileMode mode)
    : file_(path, mode), blockSize_(std::max(blockSize, 1)), cache_(static_cast<size_t>(blockSize_)) {
    InvalidateCache();
    fileSize_ = file_.Size();
}

void TCachedFileStream::InvalidateCache() {
    cacheStart_ = -1;
    cacheEnd_ = -1;
}

int64_t TCachedFileStream::readFile(void* buffer, int64_t count) {
    ++fileReads_;
    file_.Seek(position_, SeekOrigin::Beginning);
    return file_.Read(buffer, count);
}

int64_t TCachedFileStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || position_ < 0) return 0;
    int64_t delivered;
    if (cacheStart_ >= 0 && position_ >= cacheStart_ && cacheEnd_ >= position_ + count) {
        std::memcpy(buffer, cache_.data() + (position_ - cacheStart_), static_cast<size_t>(count));
        delivered = count;
    } else if (count > blockSize_) {
        delivered = readFile(buffer, count);
    } else {
        const int64_t got = readFile(cache_.data(), blockSize_);
        cacheStart_ = position_;
        cacheEnd_ = position_ + got;
        delivered = std::min(count, got);
        std::memcpy(buffer, cache_.data(), static_cast<size_t>(delivered));
    }
    position_ += delivered;
    return delivered;
}

int64_t TCachedFileStream::Write(const void* buffer, int64_t count) {
    file_.Seek(position_, SeekOrigin::Beginning);
    const int64_t written = file_.Write(buffer, count);
    // A write over the cached range would leave stale bytes behind.
    if (written > 0 && position_ < cacheEnd_ && position_ + written > cacheStart_) InvalidateCache();
    position_ += written;
    fileSize_ = std::max(fileSize_, position_);
    return written;
}

int64_t TCachedFileStream::Seek(int64_t offset, SeekOrigin origin) {
    switch (origin) {
        case SeekOrigin::Beginning: position_ = offset; break;
        case SeekOrigin::Current: position_ += offset; break;
        case SeekOrigin::End: position_ = fileSize_ + offset; break;
    }
    return position_;
}

void TCachedFileStream::SetSize(int64_t newSize) {
    file_.SetSize(newSize);
    fileSize_ = newSize;
    if (cacheEnd_ > newSize) InvalidateCache();
}

}  // namespace grottix
