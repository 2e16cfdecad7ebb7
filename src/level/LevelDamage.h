#pragma once
// What the level reader found wrong with a file, and where. A load that meets damage stops there,
// keeps everything read before it, returns kLevelDamaged (or kLevelTooLarge) and leaves this record
// in TTombRaiderLevel::Damage, so that a caller can show what was read and say what is wrong.

#include <cstdint>
#include <string>

namespace grottix {

enum class TLevelProblem {
    EndsEarly,     // the data ends inside a section: a cut file, or a count beyond the data
    Inconsistent,  // a size field disagrees with the data it describes, or compressed data is corrupt
    TooLarge,      // beyond the reader's limits (LevelLimits.h)
};

// What a damage offset counts in.
enum class TLevelBytes {
    File,           // the file as it is on disk
    UnwrappedFile,  // the content of a "ZLIB"-wrapped file
    LevelData,      // the inflated level data chunk of a TR4 level
    Table,          // the table named by Section, from its first record (damage found after reading)
};

struct TLevelDamage {
    TLevelProblem Problem = TLevelProblem::EndsEarly;
    std::string Section;  // the section being read, e.g. "rooms", "16-bit texture tiles", "sound map"
    int Room = -1;        // the room being read (0-based, as --info numbers them), or -1
    int Tile = -1;        // the texture tile being read (1-based, as its texture name), or -1
    uint64_t Offset = 0;  // the byte where the read that failed began
    TLevelBytes Bytes = TLevelBytes::File;
    std::string Detail;   // e.g. "needs 4000 bytes, 1200 left" or "declares 4194304 bytes, holds 1048576"

    // One line for messages, e.g. "the data ends early in the rooms (room 3) at byte 51234: needs
    // 400 bytes, 120 left".
    std::string Describe() const;
};

}  // namespace grottix
