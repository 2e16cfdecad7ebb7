#include "app/cli/RoomFlipSummary.h"

#include <sstream>

#include "app/cli/InfoJson.h"
#include "level/FlipMaps.h"
#include "level/RoomFlags.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

std::string list(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonString(items[i]);
    return out + "]";
}

}  // namespace

LevelFlipSummary SummarizeFlips(const TTombRaiderLevel& level) {
    LevelFlipSummary summary;
    const TFlipMaps flips = TFlipMaps::Read(level);
    for (size_t i = 0; i < level.Rooms.size(); ++i) {
        const TRoomFlip& flip = flips.Rooms()[i];
        RoomFlipSummary room;
        room.alternate = flip.alternate;
        room.group = flip.group;
        room.water = IsWaterRoom(level.Rooms[i]);
        room.flags = RoomFlagNames(level.VersionCode, RoomFlagWord(level.Rooms[i]));
        summary.pairs += flip.flips;
        summary.rooms.push_back(std::move(room));
    }
    for (const TFlipIssue& issue : flips.Issues()) summary.problems.push_back(DescribeFlipIssue(issue));
    return summary;
}

std::string RoomFlipJsonFields(const RoomFlipSummary& room) {
    std::ostringstream out;
    out << "\"alternate\": " << room.alternate << ", \"alternate_group\": " << room.group
        << ", \"water\": " << (room.water ? "true" : "false") << ", \"flags\": " << list(room.flags);
    return out.str();
}

std::string FlipJsonFields(const LevelFlipSummary& flips) {
    return "\"flip_pairs\": " + std::to_string(flips.pairs) + ",\n  \"flip_problems\": " + list(flips.problems);
}

std::string FlipText(const LevelFlipSummary& flips) {
    std::string out = "Flip map pairs:          " + std::to_string(flips.pairs) + "\n";
    for (const std::string& problem : flips.problems) out += "Inconsistent flip map:   " + problem + "\n";
    return out;
}

}  // namespace grottix
