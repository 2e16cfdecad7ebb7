#pragma once
// The animated-texture table: ranges of object textures that cycle. The table is 16-bit words:
// the number of ranges, then each range as its length less one followed by its object textures.

#include <cstdint>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

using TAnimatedTextureRange = std::vector<uint16_t>;  // object texture indices, in cycling order

// The ranges that lie wholly inside the table; a range running past its end ends the list.
std::vector<TAnimatedTextureRange> ReadAnimatedTextureRanges(const TTombRaiderLevel& level);

}  // namespace grottix
