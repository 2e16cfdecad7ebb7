#pragma once
// The flag word of a room: bit 0x1 marks a water room in every game; the later games name a few
// more bits. Only bits that public format documentation names for the version are named here.

#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

struct TRoomRecord;

constexpr uint16_t kRoomWater = 0x0001;

uint16_t RoomFlagWord(const TRoomRecord& room);
bool IsWaterRoom(const TRoomRecord& room);

// The named flags set in the word for a version code ("water", "outside", "wind", "quicksand", ...).
std::vector<std::string> RoomFlagNames(int versionCode, uint16_t flags);

}  // namespace grottix
