#include "codecs/BURle.h"

#include <algorithm>
#include <cstring>

namespace grottix {

std::vector<uint8_t> TBURle::Encode(std::span<const uint8_t> input) {
    std::vector<uint8_t> out;
    out.reserve(input.size() + input.size() / 8 + 16);
    size_t blockStart = 0;
    while (blockStart < input.size()) {
        const size_t blockEnd = std::min(input.size(), blockStart + kBlockSize);
        const bool fullBlock = blockEnd - blockStart == kBlockSize;
        size_t i = blockStart;
        size_t next = blockEnd;
        while (i < blockEnd) {
            const uint8_t value = input[i];
            size_t run = 1;
            while (i + run < blockEnd && run < size_t(kMaxRun) && input[i + run] == value) ++run;
            // A short run at the end of a full block may go on in the next one: code it there.
            if (fullBlock && run >= 2 && run < size_t(kMaxRun) && i + run == blockEnd) {
                next = i;
                break;
            }
            if (run == 1 && value < 192) {
                out.push_back(value);
            } else {
                out.push_back(uint8_t(192 + run));
                out.push_back(value);
            }
            i += run;
        }
        blockStart = next;
    }
    return out;
}

std::vector<uint8_t> TBURle::Decode(std::span<const uint8_t> input, size_t limit, size_t* consumed) {
    // No byte of input yields more than 63 bytes of output.
    std::vector<uint8_t> out(std::min(limit, input.size() * 63));
    uint8_t* const begin = out.data();
    uint8_t* const end = begin + out.size();
    uint8_t* at = begin;
    size_t i = 0;
    while (i < input.size() && at < end) {
        const uint8_t c = input[i++];
        if (c < 192) {
            *at++ = c;
            continue;
        }
        if (i >= input.size()) break;
        const uint8_t value = input[i++];
        const size_t count = std::min<size_t>(c - 192, size_t(end - at));
        std::memset(at, value, count);
        at += count;
    }
    out.resize(size_t(at - begin));
    if (consumed) *consumed = i;
    return out;
}

}  // namespace grottix
