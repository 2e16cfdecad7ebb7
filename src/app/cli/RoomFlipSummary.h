#pragma once
// What --info says about each room's flip map and flags, and about links that do not hold.

#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct RoomFlipSummary {
    int alternate = -1;  // as the file names it, -1 when none
    int group = 0;       // codes 6-7, else 0
    bool water = false;
    std::vector<std::string> flags;  // the named flags set, "water" among them
};

struct LevelFlipSummary {
    std::vector<RoomFlipSummary> rooms;
    size_t pairs = 0;                   // links that flip
    std::vector<std::string> problems;  // one line per link that does not
};

LevelFlipSummary SummarizeFlips(const TTombRaiderLevel& level);

// `"alternate": 3, "alternate_group": 0, "water": true, "flags": ["water"]`, to go inside a room's
// JSON object.
std::string RoomFlipJsonFields(const RoomFlipSummary& room);
// `"flip_pairs": 2, "flip_problems": [...]`, to go inside the summary's JSON object.
std::string FlipJsonFields(const LevelFlipSummary& flips);
// The lines of the text summary: how many pairs flip and which rooms are inconsistent.
std::string FlipText(const LevelFlipSummary& flips);

}  // namespace grottix
