#include "storage/SubStream.h"

#include <algorithm>

#include "storage/Exceptions.h"

namespace grottix {

TSubStream::TSubStream(TStream* parent, int64_t start, int64_t size) : parent_(parent), start_(start), size_(size) {
    if (!parent) throw ESSCreateError("Cannot create TSubStream class with nil parent");
}

int64_t TSubStream::clampToWindow(int64_t count) const {
    if (position_ < 0 || position_ >= size_) return 0;
    return std::clamp<int64_t>(count, 0, size_ - position_);
}

// Moves the parent to the window's position for one transfer, and back afterwards.
template <typename Transfer>
int64_t TSubStream::atWindowPosition(int64_t count, Transfer transfer) {
    const int64_t allowed = clampToWindow(count);
    const int64_t saved = parent_->Position();
    parent_->Seek(start_ + position_, SeekOrigin::Beginning);
    const int64_t done = allowed ? transfer(allowed) : 0;
    parent_->Seek(saved, SeekOrigin::Beginning);
    position_ += done;
    return done;
}

int64_t TSubStream::Read(void* buffer, int64_t count) {
    return atWindowPosition(count, [&](int64_t n) { return parent_->Read(buffer, n); });
}

int64_t TSubStream::Write(const void* buffer, int64_t count) {
    return atWindowPosition(count, [&](int64_t n) { return parent_->Write(buffer, n); });
}

int64_t TSubStream::Seek(int64_t offset, SeekOrigin origin) {
    switch (origin) {
        case SeekOrigin::Beginning: position_ = offset; break;
        case SeekOrigin::Current: position_ += offset; break;
        case SeekOrigin::End: position_ = size_ + offset; break;
    }
    return position_;
}

int64_t TSubStream::GetAbsolutePosition() {
    int64_t result = position_ + start_;
    if (auto* outer = dynamic_cast<TSubStream*>(parent_)) result += outer->GetAbsolutePosition();
    return result;
}

}  // namespace grottix
