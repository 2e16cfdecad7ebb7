#include "app/cli/InfoFloorData.h"

#include <sstream>

#include "app/cli/InfoJson.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

RoomSectorCounts countSectors(const TRoomFloor& room) {
    RoomSectorCounts counts;
    for (const TSectorFloor& s : room.sectors) {
        counts.portals += s.portal >= 0;
        counts.triggers += !s.triggers.empty();
        counts.kill += s.kill;
        counts.climb += s.climb != 0;
        counts.walls += s.record.IsWall();
    }
    return counts;
}

void writeTriggerJson(std::ostream& out, const TLevelTrigger& t, uint16_t floorDataIndex) {
    out << "{\"room\": " << t.room << ", \"x\": " << t.x << ", \"z\": " << t.z << ", \"type\": " << int(t.type)
        << ", \"timer\": " << int(t.timer) << ", \"once\": " << (t.once ? "true" : "false")
        << ", \"mask\": " << int(t.mask) << ", \"actions\": [";
    for (size_t i = 0; i < t.actions.size(); ++i)
        out << (i ? ", " : "") << "{\"action\": " << int(t.actions[i].action)
            << ", \"parameter\": " << t.actions[i].parameter << "}";
    out << "], \"floor_data\": " << floorDataIndex << ", \"squares\": [";
    for (size_t i = 0; i < t.squares.size(); ++i)
        out << (i ? ", " : "") << "{\"room\": " << t.squares[i].room << ", \"x\": " << t.squares[i].x
            << ", \"z\": " << t.squares[i].z << "}";
    out << "]}";
}

}  // namespace

FloorSummary SummarizeFloorData(const TTombRaiderLevel& level) {
    TLevelFloorData data = ReadFloorData(level);
    FloorSummary summary;
    for (const TRoomFloor& room : data.rooms) summary.rooms.push_back(countSectors(room));
    for (const TLevelTrigger& trigger : data.triggers) {
        summary.triggerSquares += trigger.squares.size();
        summary.triggerStarts.push_back(data.entries[size_t(trigger.entry)].index);
    }
    summary.triggers = std::move(data.triggers);
    summary.problem = data.firstProblem;
    summary.badSectors = data.badSectors;
    return summary;
}

std::string RoomSectorsJson(const FloorSummary& floor, size_t room) {
    if (room >= floor.rooms.size()) return "";
    const RoomSectorCounts& c = floor.rooms[room];
    std::ostringstream out;
    out << "\"sectors\": {\"portals\": " << c.portals << ", \"triggers\": " << c.triggers << ", \"kill\": " << c.kill
        << ", \"climb\": " << c.climb << ", \"walls\": " << c.walls << "}";
    return out.str();
}

void WriteFloorDataJson(std::ostream& out, const FloorSummary& floor) {
    out << "\"triggers\": [";
    for (size_t i = 0; i < floor.triggers.size(); ++i) {
        out << (i ? ",\n    " : "\n    ");
        writeTriggerJson(out, floor.triggers[i], floor.triggerStarts[i]);
    }
    out << (floor.triggers.empty() ? "]" : "\n  ]");
    if (floor.problem)
        out << ",\n  \"floor_data_problem\": {\"room\": " << floor.problem->room << ", \"x\": " << floor.problem->x
            << ", \"z\": " << floor.problem->z << ", \"problem\": " << JsonString(floor.problem->what)
            << ", \"bad_sectors\": " << floor.badSectors << "}";
}

std::string FloorDataText(const FloorSummary& floor) {
    std::ostringstream out;
    out << "Triggers:                " << floor.triggers.size();
    if (floor.triggerSquares != floor.triggers.size())
        out << " (on " << floor.triggerSquares << (floor.triggerSquares == 1 ? " square)" : " squares)");
    out << "\n";
    if (floor.problem)
        out << "Floor data:              broken in room " << floor.problem->room << " at column " << floor.problem->x
            << ", row " << floor.problem->z << ": " << floor.problem->what << " (" << floor.badSectors
            << (floor.badSectors == 1 ? " square" : " squares") << " broken)\n";
    return out.str();
}

}  // namespace grottix
