#pragma once
// The world stream's building blocks: the signature and versions, and checked little-endian reads
// and writes on a TStream. Every read checks what the stream still holds first, so a damaged world
// raises EWorldFileError instead of reading garbage or sizing anything from a bad count.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "storage/Exceptions.h"
#include "storage/Stream.h"

namespace grottix {

class EWorldFileError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

constexpr std::string_view kWorldSignature = "D3DWORLD";
constexpr int32_t kWorldFileVersion = 119;
// Polygon records carry their prelit byte from this version on.
constexpr int32_t kFirstPrelitVersion = 108;
// The block size of the buffered file stream worlds are read through.
constexpr int32_t kWorldReadBlock = 65535;

// Bytes between the stream's position and its end.
int64_t BytesLeft(TStream& stream);
// Raises EWorldFileError unless the stream still holds count bytes; what names the part.
void RequireBytes(TStream& stream, uint64_t count, const char* what);

void ReadExact(TStream& stream, void* buffer, uint64_t count, const char* what);

template <typename T>
T ReadValue(TStream& stream, const char* what) {
    static_assert(std::is_trivially_copyable_v<T>);
    T value;
    ReadExact(stream, &value, sizeof value, what);  // the machine is little-endian, like the files
    return value;
}

template <typename T>
void WriteValue(TStream& stream, const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    stream.WriteBuffer(&value, sizeof value);
}

// A count of records of recordSize bytes each, checked against what the stream holds.
int32_t ReadCount(TStream& stream, uint64_t recordSize, const char* what);

// A name as one length byte and its characters.
std::string ReadShortString(TStream& stream, const char* what);
// At most 255 characters of the text, after their length byte.
void WriteShortString(TStream& stream, const std::string& text);
// Characters up to a 0 byte, which is consumed.
std::string ReadZeroTerminated(TStream& stream, const char* what);

// The texture block's lines (CR LF, LF or CR end a line) and the block made from names.
std::vector<std::string> SplitTextureBlock(const std::string& block);
std::string JoinTextureBlock(const std::vector<std::string>& names);

}  // namespace grottix
