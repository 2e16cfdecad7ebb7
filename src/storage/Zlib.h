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

// Inflates one complete zlib stream. sizeHint is only where the output starts (it grows as needed
// and never beyond what the input produces). Raises EZlibError when the stream is corrupt or ends early.
std::vector<uint8_t> InflateBytes(std::span<const uint8_t> input, uint64_t sizeHint);
std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> input, TCompressionLevel level);

// Reads a compressed record from the stream's position; leaves the stream just behind the zlib stream.
// A length below 1 gives no content and nothing more is read.
std::vector<uint8_t> ReadCompressedRecord(TStream& stream);
// Writes a compressed record at the stream's position; leaves the stream behind it.
void WriteCompressedRecord(TStream& stream, std::span<const uint8_t> content, TCompressionLevel level);

}  // namespace grottix
