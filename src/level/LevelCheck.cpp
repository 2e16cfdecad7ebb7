#include "level/LevelCheck.h"

#include <algorithm>
#include <set>

#include "level/EntityOutsideRoom.h"
#include "level/FlipMaps.h"
#include "level/LevelCheckParts.h"
#include "level/LevelEntities.h"
#include "level/LevelFlybyCameras.h"
#include "level/LevelSectors.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

TLevelFinding triggerFinding(const TLevelTrigger& trigger, size_t index, std::string kind, std::string message) {
    auto finding = TLevelFinding::Of(std::move(kind), std::move(message));
    finding.room = trigger.room;
    finding.x = trigger.x;
    finding.z = trigger.z;
    finding.trigger = int(index);
    return finding;
}

std::string where(const TLevelTrigger& trigger) {
    return "trigger at room " + std::to_string(trigger.room) + " (" + std::to_string(trigger.x) + ", " +
           std::to_string(trigger.z) + ")";
}

// The alternate groups some room's link names (codes 6-7): the flip maps their triggers may flip.
std::set<int> alternateGroups(const TTombRaiderLevel& level) {
    std::set<int> groups;
    for (const TRoomRecord& room : level.Rooms)
        if (room.alternateRoom >= 0) groups.insert(room.alternateGroup);
    return groups;
}

std::set<int> flybySequences(const TTombRaiderLevel& level) {
    std::set<int> sequences;
    for (const TFlybyCamera& camera : ReadFlybyCameras(level)) sequences.insert(camera.sequence);
    return sequences;
}

// What an action is aimed at when that is not there, else empty.
struct TTriggerTargets {
    size_t entities = 0, cameras = 0;
    int versionCode = 0;
    std::set<int> groups, sequences;

    std::string missing(const TTriggerStep& step) const {
        const int p = step.parameter;
        const std::string n = std::to_string(p);
        switch (step.action) {
            case kActionItem:
            case kActionLookAt:
                if (size_t(p) >= entities) return "item " + n + ": the level has " + std::to_string(entities) + " items";
                break;
            case kActionCamera:
            case kActionSink:
                if (size_t(p) >= cameras)
                    return (step.action == kActionSink ? "sink " : "camera ") + n + ": the level has " +
                           std::to_string(cameras) + " cameras";
                break;
            case kActionFlipMap:
            case kActionFlipOn:
            case kActionFlipOff:
                if (versionCode < 6 && p >= kClassicFlipMaps)
                    return "flip map " + n + ": the game keeps " + std::to_string(kClassicFlipMaps) + " flip maps";
                if (versionCode >= 6 && !groups.count(p)) return "flip map " + n + ": no room belongs to alternate group " + n;
                break;
            case kActionFlyby:
                if (!sequences.count(p)) return "fly-by " + n + ": no fly-by camera has sequence " + n;
                break;
            default:
                break;
        }
        return {};
    }
};

}  // namespace

void CheckTriggers(const TTombRaiderLevel& level, const TLevelFloorData& floor, std::vector<TLevelFinding>& out) {
    TTriggerTargets targets;
    targets.entities = ReadEntities(level).size();
    targets.cameras = level.Cameras.count;
    targets.versionCode = level.VersionCode;
    targets.groups = alternateGroups(level);
    if (level.VersionCode >= 6) targets.sequences = flybySequences(level);
    for (size_t t = 0; t < floor.triggers.size(); ++t) {
        const TLevelTrigger& trigger = floor.triggers[t];
        for (const TTriggerStep& step : trigger.actions) {
            if (step.action == kActionSecret) {
                out.push_back(triggerFinding(trigger, t, "secret", "secret " + std::to_string(step.parameter) + ": " + where(trigger)));
                continue;
            }
            const std::string missing = targets.missing(step);
            if (!missing.empty()) out.push_back(triggerFinding(trigger, t, "trigger", where(trigger) + " aims at " + missing));
        }
    }
}

namespace {

std::string itemName(const TTombRaiderLevel& level, size_t index, const TLevelEntity& entity) {
    return "item " + std::to_string(index) + " (" + ObjectName(level.VersionCode, entity.type) + ")";
}

void checkItem(const TTombRaiderLevel& level, size_t index, const TLevelEntity& entity, std::vector<TLevelFinding>& out) {
    TLevelFinding finding;
    finding.item = int(index);
    if (entity.room < 0 || size_t(entity.room) >= level.Rooms.size()) {
        finding.kind = "item_room";
        finding.message = itemName(level, index, entity) + " names room " + std::to_string(entity.room) + ": the level has " +
                          std::to_string(level.Rooms.size()) + " rooms";
        out.push_back(std::move(finding));
        return;
    }
    const TRoomRecord& room = level.Rooms[size_t(entity.room)];
    finding.room = entity.room;
    const int64_t distance = DistanceBeyondRoomBox(room, entity);
    if (distance > kOutsideRoomMargin) {
        finding.kind = "item_outside";
        finding.message = itemName(level, index, entity) + " stands " + std::to_string(distance) + " units outside room " +
                          std::to_string(entity.room);
        out.push_back(std::move(finding));
        return;
    }
    const int64_t column = (int64_t(entity.x) - room.x) / kSectorSize, row = (int64_t(entity.z) - room.z) / kSectorSize;
    if (entity.x < room.x || entity.z < room.z || column >= room.xSectors || row >= room.zSectors) return;
    const auto sector = SectorAt(room, int(column), int(row));
    if (!sector || !sector->IsWall()) return;
    finding.kind = "item_in_wall";
    finding.x = int(column);
    finding.z = int(row);
    finding.message = itemName(level, index, entity) + " stands in a wall square of room " + std::to_string(entity.room) +
                      " (" + std::to_string(column) + ", " + std::to_string(row) + ")";
    out.push_back(std::move(finding));
}

}  // namespace

void CheckItems(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out) {
    const std::vector<TLevelEntity> entities = ReadEntities(level);
    for (size_t i = 0; i < entities.size(); ++i) checkItem(level, i, entities[i], out);
}

void CheckFlipMaps(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out) {
    const TFlipMaps flips = TFlipMaps::Read(level);
    for (const TFlipIssue& issue : flips.Issues()) {
        auto finding = TLevelFinding::Of("flip_map", DescribeFlipIssue(issue));
        finding.room = issue.room;
        out.push_back(std::move(finding));
    }
}

std::vector<TLevelFinding> CheckLevel(const TTombRaiderLevel& level) {
    std::vector<TLevelFinding> findings;
    if (level.Damage) findings.push_back(TLevelFinding::Of("damage", level.Damage->Describe()));
    const TLevelFloorData floor = ReadFloorData(level);
    CheckTriggers(level, floor, findings);
    CheckItems(level, findings);
    CheckFlipMaps(level, findings);
    CheckFloorData(level, floor, findings);
    CheckRoomReferences(level, findings);
    CheckTables(level, floor, findings);
    return findings;
}

size_t CountProblems(const std::vector<TLevelFinding>& findings) {
    return size_t(std::count_if(findings.begin(), findings.end(), [](const TLevelFinding& f) { return f.IsProblem(); }));
}

}  // namespace grottix
