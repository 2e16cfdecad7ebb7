#pragma once
// TBURle: the byte-oriented run-length coding of PCX pixel data. A byte below 192 stands for itself;
// a byte c of 192 or more repeats the byte after it c - 192 times. The coder works in blocks of 1024
// input bytes and writes runs of at most 48.

#include <cstdint>
#include <span>
#include <vector>

namespace grottix {

class TBURle {
public:
    static constexpr size_t kBlockSize = 1024;
    static constexpr int kMaxRun = 48;

    static std::vector<uint8_t> Encode(std::span<const uint8_t> input);
    // Decodes until the input ends or `limit` bytes have been produced. A count byte with no byte
    // after it produces nothing. consumed, when given, receives how many input bytes were used.
    static std::vector<uint8_t> Decode(std::span<const uint8_t> input, size_t limit, size_t* consumed = nullptr);
};

}  // namespace grottix
