#include "level/LevelCameras.h"

#include "level/FloorData.h"
#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kCameraSize = 16;

}  // namespace

std::vector<TLevelCamera> ReadCameras(const TTombRaiderLevel& level, const std::vector<TLevelTrigger>& triggers) {
    const size_t count = RecordCount(level.Cameras, kCameraSize);
    std::vector<TLevelCamera> cameras(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = level.Cameras.bytes.data() + i * kCameraSize;
        TLevelCamera& c = cameras[i];
        c.index = i;
        c.x = RawField<int32_t>(r, 0);
        c.y = RawField<int32_t>(r, 4);
        c.z = RawField<int32_t>(r, 8);
        c.room = RawField<int16_t>(r, 12);
        c.flags = RawField<uint16_t>(r, 14);
    }
    for (size_t t = 0; t < triggers.size(); ++t) {
        const TLevelTrigger& trigger = triggers[t];
        for (const TTriggerStep& step : trigger.actions) {
            if (step.action != kActionCamera && step.action != kActionSink) continue;
            const size_t target = step.parameter;
            if (target >= cameras.size()) continue;  // the trigger names a camera the level lacks
            const bool sink = step.action == kActionSink;
            TLevelCamera& c = cameras[target];
            (sink ? c.sink : c.camera) = true;
            c.uses.push_back({t, trigger.room, trigger.x, trigger.z, sink});
        }
    }
    const size_t rooms = level.Rooms.size(), boxes = level.Boxes.count;
    for (TLevelCamera& c : cameras) {
        if ((c.camera || !c.sink) && (c.room < 0 || size_t(c.room) >= rooms))
            c.problem = "room " + std::to_string(c.room) + " names no room";
        else if (c.sink && !c.camera && c.flags >= boxes)
            c.problem = "box " + std::to_string(c.flags) + " lies past the " + std::to_string(boxes) + " boxes";
    }
    return cameras;
}

}  // namespace grottix
