#pragma once
// The level's sound sources (16 bytes each): a point that plays one of the game's sounds around it,
// in the rooms' primary state, their alternate (flipped) state or both. The sound is an index into
// the level's sound map (256 entries in TR1 and Unfinished Business, 370 in TR2-TR4, 450 in
// Chronicles), whose entry picks the sound details, or -1 for a sound the level does not carry.

#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TSoundSource {
    size_t index = 0;
    int32_t x = 0, y = 0, z = 0;  // level units, absolute, y down
    uint16_t sound = 0;           // as stored: an index into the sound map
    uint16_t flags = 0;
    bool primary = false, alternate = false;  // plays with the rooms unflipped (0x80), flipped (0x40)
    int details = -1;             // the sound map's entry for it, -1 when it has none
    std::string problem;          // empty, or what the file gets wrong
};

// The sound sources in file order.
std::vector<TSoundSource> ReadSoundSources(const TTombRaiderLevel& level);

}  // namespace grottix
