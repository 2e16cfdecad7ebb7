#include "storage/Zlib.h"

#include <zlib.h>

#include <algorithm>
#include <string>

#include "storage/Exceptions.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr size_t kPiece = 65535;
// deflate cannot do better than about 1:1032; a size hint beyond that is a lie worth ignoring.
constexpr uint64_t kMaxRatio = 1032;

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

std::vector<uint8_t> InflateBytes(std::span<const uint8_t> input, uint64_t sizeHint) {
    Inflater inflater;
    z_stream& z = inflater.z;
    std::vector<uint8_t> out;
    const uint64_t plausible = uint64_t{input.size()} * kMaxRatio + 64;
    out.resize(static_cast<size_t>(std::max<uint64_t>(std::min(sizeHint, plausible), 1024)));
    z.next_in = const_cast<Bytef*>(input.data());
    size_t produced = 0;
    size_t inputLeft = input.size();
    for (;;) {
        if (produced == out.size()) out.resize(out.size() * 2);
        const size_t inChunk = std::min<size_t>(inputLeft, UINT32_MAX);
        z.avail_in = static_cast<uInt>(inChunk);
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(std::min<size_t>(out.size() - produced, UINT32_MAX));
        const uInt outBefore = z.avail_out;
        const int result = inflate(&z, Z_NO_FLUSH);
        produced += outBefore - z.avail_out;
        inputLeft -= inChunk - z.avail_in;
        if (result == Z_STREAM_END) break;
        if (result == Z_DATA_ERROR || result == Z_NEED_DICT) raise("compressed data is corrupt", z);
        if (result == Z_MEM_ERROR) raise("out of memory", z);
        if (result == Z_BUF_ERROR && inputLeft == 0) raise("compressed data ends early", z);
        if (result != Z_OK && result != Z_BUF_ERROR) raise("inflate failed", z);
        if (inputLeft == 0 && z.avail_out != 0) raise("compressed data ends early", z);
    }
    out.resize(produced);
    return out;
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

    Inflater inflater;
    z_stream& z = inflater.z;
    std::vector<uint8_t> piece(kPiece);
    std::vector<uint8_t> content;
    // Grow with what actually comes out, so a lying length allocates nothing it cannot fill.
    content.reserve(std::min<size_t>(static_cast<size_t>(length), size_t{1} << 24));
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
