#include "engine/WorldFileStream.h"

#include <algorithm>

namespace grottix {

int64_t BytesLeft(TStream& stream) { return std::max<int64_t>(stream.Size() - stream.Position(), 0); }

void RequireBytes(TStream& stream, uint64_t count, const char* what) {
    if (count > uint64_t(BytesLeft(stream))) throw EWorldFileError(std::string("World data ends inside ") + what);
}

void ReadExact(TStream& stream, void* buffer, uint64_t count, const char* what) {
    RequireBytes(stream, count, what);
    if (count > 0 && stream.Read(buffer, int64_t(count)) != int64_t(count))
        throw EWorldFileError(std::string("World data ends inside ") + what);
}

int32_t ReadCount(TStream& stream, uint64_t recordSize, const char* what) {
    const auto count = ReadValue<int32_t>(stream, what);
    if (count < 0) throw EWorldFileError(std::string("World data holds a negative count of ") + what);
    RequireBytes(stream, uint64_t(count) * recordSize, what);
    return count;
}

std::string ReadShortString(TStream& stream, const char* what) {
    const auto length = ReadValue<uint8_t>(stream, what);
    std::string text(length, '\0');
    ReadExact(stream, text.data(), length, what);
    return text;
}

void WriteShortString(TStream& stream, const std::string& text) {
    const auto length = uint8_t(std::min<size_t>(text.size(), 255));
    WriteValue(stream, length);
    stream.WriteBuffer(text.data(), length);
}

std::string ReadZeroTerminated(TStream& stream, const char* what) {
    std::string text;
    for (char c = ReadValue<char>(stream, what); c != '\0'; c = ReadValue<char>(stream, what)) text += c;
    return text;
}

std::vector<std::string> SplitTextureBlock(const std::string& block) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < block.size()) {
        const size_t end = std::min(block.find_first_of("\r\n", start), block.size());
        lines.push_back(block.substr(start, end - start));
        start = end;
        if (start < block.size() && block[start] == '\r') ++start;
        if (start < block.size() && block[start] == '\n') ++start;
    }
    return lines;
}

std::string JoinTextureBlock(const std::vector<std::string>& names) {
    std::string block;
    for (const std::string& name : names) block += name + "\r\n";
    return block;
}

}  // namespace grottix
