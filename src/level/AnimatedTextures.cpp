#include "level/AnimatedTextures.h"

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<TAnimatedTextureRange> ReadAnimatedTextureRanges(const TTombRaiderLevel& level) {
    const size_t words = RecordCount(level.AnimatedTextures, 2);
    const auto word = [&](size_t i) { return RawField<uint16_t>(level.AnimatedTextures.bytes.data(), i * 2); };
    std::vector<TAnimatedTextureRange> ranges;
    if (words == 0) return ranges;
    size_t next = 1;
    for (uint16_t r = word(0); r > 0 && next < words; --r) {
        const size_t length = size_t(word(next++)) + 1;
        if (length > words - next) break;
        TAnimatedTextureRange range(length);
        for (auto& texture : range) texture = word(next++);
        ranges.push_back(std::move(range));
    }
    return ranges;
}

}  // namespace grottix
