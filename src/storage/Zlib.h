#pragma once
// zlib driven the way every format of the program frames it: whole blocks in memory, and the
// compressed record (an int32 content length, then a zlib stream) on streams.

#include <cstdint>
#include <span>
#include <vector>

namespace grottix {

class TStream;

enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };
int ZlibLevel(TCompressionLevel level);

// How an inflation ended.
enum class TInflateEnd { Complete, EndsEarly, Corrupt, BeyondLimit };

struct TInflated {
    std::vector<uint8_t> Bytes;  // what was produced (at most the limit)
    TInflateEnd End = TInflateEnd::Complete;
};

// Inflates one zlib stream; never raises for bad data. The output grows with what the data produces:
// sizeHint (a size field) only shapes the first allocation and is believed no further than a few times
// the input. Inflating stops once more than limit bytes would come out (BeyondLimit).
TInflated InflateUpTo(std::span<const uint8_t> input, uint64_t sizeHint, uint64_t limit);

// Inflates one complete zlib stream of at most limit bytes. Raises EZlibError when the stream is corrupt,
// ends early or would exceed the limit.
std::vector<uint8_t> InflateBytes(std::span<const uint8_t> input, uint64_t sizeHint, uint64_t limit = UINT64_MAX);
// The message InflateBytes raises for an ending.
const char* InflateEndMessage(TInflateEnd end);

// Compressed records (WAD entries, their directory, embedded data) hold at most this many bytes.
constexpr uint64_t kMaxCompressedRecordBytes = uint64_t{256} << 20;
std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> input, TCompressionLevel level);

// Reads a compressed record from the stream's position; leaves the stream just behind the zlib stream.
// A length below 1 gives no content and nothing more is read; one above kMaxCompressedRecordBytes, or a
// stream that does not produce exactly the length, raises EZlibError.
std::vector<uint8_t> ReadCompressedRecord(TStream& stream);
// Writes a compressed record at the stream's position; leaves the stream behind it.
void WriteCompressedRecord(TStream& stream, std::span<const uint8_t> content, TCompressionLevel level);

}  // namespace grottix
