#pragma once
// A file stream that serves small reads from one cached block: runs of small sequential reads
// become one file read per block; a read larger than the block bypasses the cache.

#include <vector>

#include "storage/Stream.h"

namespace grottix {

class TCachedFileStream : public TStream {
public:
    TCachedFileStream(const std::string& path, int32_t blockSize, FileMode mode);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return fileSize_; }

    void InvalidateCache();
    // How many times the file itself was read; lets callers check the cache does its job.
    int64_t FileReads() const { return fileReads_; }

private:
    int64_t readFile(void* buffer, int64_t count);

    TFileStream file_;
    int32_t blockSize_;
    std::vector<uint8_t> cache_;
    int64_t position_ = 0;
    int64_t cacheStart_ = -1;
    int64_t cacheEnd_ = -1;
    int64_t fileSize_ = 0;
    int64_t fileReads_ = 0;
};

}  // namespace grottix
