#include "storage/Zlib.h"

#include <zlib.h>

#include <algorithm>
#include <string>

#include "storage/Exceptions.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr size_t kPiece = 65535;
// How far ahead of what inflate has written the output is sized.
constexpr size_t kGrowthPiece = size_t{2} << 20;
// A size field is believed up to this many times the input; real levels and images compress less.
constexpr uint64_t kBelievedRatio = 8;

[[noreturn]] void raise(const char* what, const z_stream& z) {
    std::string message = std::string("zlib: ") + what;
    if (z.msg) message += std::string(" (") + z.msg + ")";
    throw EZlibError(message);
}

// Owns an inflate state for the length of one call.
struct Inflater {
    z_stream z{};
    Inflater() {
        if (inflateInit(&z) != Z_OK) raise("cannot start inflating", z);
    }
    ~Inflater() { inflateEnd(&z); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
};

// The next stretch of output space: capacity grows geometrically, but only a piece at a time is sized
// (and so zero-filled) ahead of what inflate has written.
void makeRoom(std::vector<uint8_t>& out, size_t produced, uint64_t cap) {
    if (out.size() == out.capacity()) out.reserve(size_t(std::min<uint64_t>(cap, std::max<uint64_t>(out.capacity() * 2, kPiece))));
    out.resize(size_t(std::min<uint64_t>({out.capacity(), uint64_t{produced} + kGrowthPiece, cap})));
}

}  // namespace

int ZlibLevel(TCompressionLevel level) {
    switch (level) {
        case TCompressionLevel::clNone: return 0;
        case TCompressionLevel::clFastest: return 1;
        case TCompressionLevel::clMax: return 9;
        case TCompressionLevel::clDefault: break;
    }
    return Z_DEFAULT_COMPRESSION;
}

TInflated InflateUpTo(std::span<const uint8_t> input, uint64_t sizeHint, uint64_t limit) {
    Inflater inflater;
    z_stream& z = inflater.z;
    TInflated result;
    std::vector<uint8_t>& out = result.Bytes;
    // One byte beyond the limit tells a stream that goes on from one that ends exactly there.
    const uint64_t cap = limit == UINT64_MAX ? limit : limit + 1;
    out.reserve(size_t(std::min({sizeHint, cap, uint64_t{input.size()} * kBelievedRatio + kPiece})));
    z.next_in = const_cast<Bytef*>(input.data());
    size_t produced = 0;
    size_t inputLeft = input.size();
    for (;;) {
        if (produced == out.size()) {
            if (produced >= cap) break;
            makeRoom(out, produced, cap);
        }
        const size_t inChunk = std::min<size_t>(inputLeft, UINT32_MAX);
        z.avail_in = static_cast<uInt>(inChunk);
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(std::min<size_t>(out.size() - produced, UINT32_MAX));
        const uInt outBefore = z.avail_out;
        const int code = inflate(&z, Z_NO_FLUSH);
        produced += outBefore - z.avail_out;
        inputLeft -= inChunk - z.avail_in;
        if (code == Z_STREAM_END) break;
        if (code == Z_MEM_ERROR) raise("out of memory", z);
        if (code == Z_DATA_ERROR || code == Z_NEED_DICT || (code != Z_OK && code != Z_BUF_ERROR)) {
            result.End = TInflateEnd::Corrupt;
            break;
        }
        if (inputLeft == 0 && z.avail_out != 0) {
            result.End = TInflateEnd::EndsEarly;
            break;
        }
    }
    if (produced > limit) {
        result.End = TInflateEnd::BeyondLimit;
        produced = size_t(limit);
    }
    out.resize(produced);
    if (out.capacity() - produced > produced / 4 + kPiece) out.shrink_to_fit();
    return result;
}

const char* InflateEndMessage(TInflateEnd end) {
    switch (end) {
        case TInflateEnd::Complete: break;
        case TInflateEnd::EndsEarly: return "compressed data ends early";
        case TInflateEnd::Corrupt: return "compressed data is corrupt";
        case TInflateEnd::BeyondLimit: return "compressed data inflates beyond its limit";
    }
    return "";
}

std::vector<uint8_t> InflateBytes(std::span<const uint8_t> input, uint64_t sizeHint, uint64_t limit) {
    TInflated inflated = InflateUpTo(input, sizeHint, limit);
    if (inflated.End != TInflateEnd::Complete) throw EZlibError(std::string("zlib: ") + InflateEndMessage(inflated.End));
    return std::move(inflated.Bytes);
}

std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> input, TCompressionLevel level) {
    uLongf bound = compressBound(static_cast<uLong>(input.size()));
    std::vector<uint8_t> out(bound);
    if (compress2(out.data(), &bound, input.data(), static_cast<uLong>(input.size()), ZlibLevel(level)) != Z_OK)
        throw EZlibError("zlib: deflate failed");
    out.resize(bound);
    return out;
}

std::vector<uint8_t> ReadCompressedRecord(TStream& stream) {
    int32_t length = 0;
    stream.ReadBuffer(&length, 4);
    if (length < 1) return {};
    if (uint64_t(length) > kMaxCompressedRecordBytes) throw EZlibError("zlib: compressed record too large");

    Inflater inflater;
    z_stream& z = inflater.z;
    std::vector<uint8_t> piece(kPiece);
    std::vector<uint8_t> content;
    // Grow with what actually comes out, so a lying length allocates nothing it cannot fill.
    content.reserve(std::min<size_t>(static_cast<size_t>(length), size_t{1} << 20));
    const auto wanted = static_cast<size_t>(length);
    std::vector<uint8_t> out(kPiece);
    while (content.size() < wanted) {
        if (z.avail_in == 0) {
            z.avail_in = static_cast<uInt>(stream.Read(piece.data(), kPiece));
            z.next_in = piece.data();
            if (z.avail_in == 0) raise("compressed data ends early", z);
        }
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(std::min(kPiece, wanted - content.size()));
        const int result = inflate(&z, Z_NO_FLUSH);
        content.insert(content.end(), out.data(), z.next_out);
        if (result == Z_STREAM_END) break;
        if (result == Z_DATA_ERROR || result == Z_NEED_DICT) raise("compressed data is corrupt", z);
        if (result == Z_MEM_ERROR) raise("out of memory", z);
    }
    if (content.size() < wanted) raise("compressed data ends early", z);
    // Hand back the input read beyond the zlib stream.
    if (z.avail_in) stream.Seek(-static_cast<int64_t>(z.avail_in), SeekOrigin::Current);
    return content;
}

void WriteCompressedRecord(TStream& stream, std::span<const uint8_t> content, TCompressionLevel level) {
    const auto length = static_cast<int32_t>(content.size());
    stream.WriteBuffer(&length, 4);
    const std::vector<uint8_t> packed = DeflateBytes(content, level);
    stream.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
}

}  // namespace grottix
