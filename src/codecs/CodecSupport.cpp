#include "codecs/CodecSupport.h"

#include <algorithm>

#include "storage/Exceptions.h"
#include "storage/Stream.h"

namespace grottix {

namespace {
constexpr uint64_t kAlwaysAllowedBytes = uint64_t{16} << 20;
constexpr int64_t kPiece = 65536;
}  // namespace

uint64_t RemainingBytes(TStream& stream) {
    const int64_t position = stream.Position();
    const int64_t size = stream.Size();
    return position >= 0 && size > position ? uint64_t(size - position) : 0;
}

std::vector<uint8_t> ReadRest(TStream& stream) {
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(std::min<uint64_t>(RemainingBytes(stream), uint64_t{1} << 30)));
    for (;;) {
        const size_t used = bytes.size();
        bytes.resize(used + size_t(kPiece));
        const int64_t got = stream.Read(bytes.data() + used, kPiece);
        bytes.resize(used + size_t(std::max<int64_t>(got, 0)));
        if (got < kPiece) return bytes;
    }
}

void RaiseEndsEarly(const std::string& format, const std::string& part) {
    throw EImageEndsEarly(format + " image ends early in " + part);
}

std::string PixelRow(int64_t row, int64_t height) {
    return "its pixel data (row " + std::to_string(row) + " of " + std::to_string(height) + ")";
}

void CheckImageFits(int64_t width, int64_t height, TPixelFormat format, uint64_t inputBytes, uint64_t expansion) {
    if (width < 0 || height < 0) throw EGrottixError("Image too large");
    const uint64_t rowBytes = (uint64_t(width) * uint64_t(BitsPerPixel(format)) + 7) / 8;
    const uint64_t needed = rowBytes * uint64_t(height);
    if (needed > std::max(kAlwaysAllowedBytes, inputBytes * expansion)) throw EGrottixError("Image too large");
}

}  // namespace grottix
