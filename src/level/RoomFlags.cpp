#include "level/RoomFlags.h"

#include "level/LevelTypes.h"

namespace grottix {

namespace {

struct TNamedFlag {
    uint16_t bit;
    int firstCode, lastCode;  // the version codes that give the bit this meaning
    const char* name;
};

constexpr TNamedFlag kNamedFlags[] = {
    {0x0001, 1, 7, "water"},
    {0x0008, 3, 7, "outside"},    // the sky shows through the room
    {0x0020, 3, 7, "wind"},
    {0x0080, 5, 5, "quicksand"},
    {0x0100, 5, 7, "caustics"},   // light ripples on the floor
    {0x0200, 5, 7, "reflective"}, // water that mirrors
};

}  // namespace

uint16_t RoomFlagWord(const TRoomRecord& room) { return uint16_t(room.flags[0] | room.flags[1] << 8); }

bool IsWaterRoom(const TRoomRecord& room) { return (RoomFlagWord(room) & kRoomWater) != 0; }

std::vector<std::string> RoomFlagNames(int versionCode, uint16_t flags) {
    std::vector<std::string> names;
    for (const TNamedFlag& flag : kNamedFlags)
        if ((flags & flag.bit) && versionCode >= flag.firstCode && versionCode <= flag.lastCode) names.emplace_back(flag.name);
    return names;
}

}  // namespace grottix
