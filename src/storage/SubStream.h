#pragma once
// A window onto a byte range of another stream (a WAD entry, a WAD inside a WAD), without copying.
// Using the window never moves the parent's position.

#include "storage/Stream.h"

namespace grottix {

class TSubStream : public TStream {
public:
    // Raises ESSCreateError when parent is null.
    TSubStream(TStream* parent, int64_t start, int64_t size);

    // Reads and writes stay inside the window: bytes beyond it belong to someone else.
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    void SetSize(int64_t newSize) override { size_ = newSize; }
    int64_t Size() override { return size_; }

    // The window's position in the outermost stream.
    int64_t GetAbsolutePosition();

private:
    int64_t clampToWindow(int64_t count) const;
    template <typename Transfer>
    int64_t atWindowPosition(int64_t count, Transfer transfer);

    TStream* parent_;
    int64_t start_;
    int64_t size_;
    int64_t position_ = 0;
};

}  // namespace grottix
