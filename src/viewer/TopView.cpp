#include "viewer/TopView.h"

#include <algorithm>

#include "level/LevelSectors.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr float kStraightDown = -1.5707964f;  // the pitch limit the keys keep
constexpr float kMargin = 1.1f;               // a tenth more than the box, round it
constexpr float kViewAspect = 0.75f;          // the view matrix narrows x to a 4:3 view

}  // namespace

TSceneBox RoomSceneBox(const TTombRaiderLevel& level, size_t room, float scale) {
    TSceneBox box;
    if (room >= level.Rooms.size() || !(scale > 0)) return box;
    const TRoomRecord& r = level.Rooms[room];
    const double x = r.x, z = r.z;
    box.Add({float(x / scale), float(-double(r.yBottom) / scale), float(z / scale)});
    box.Add({float((x + double(r.xSectors) * kSectorSize) / scale), float(-double(r.yTop) / scale),
             float((z + double(r.zSectors) * kSectorSize) / scale)});
    return box;
}

TTopView TopViewOver(const TSceneBox& box, bool orthographic, float floorHeight) {
    const TD3DVector middle = (box.min + box.max) * 0.5f;
    const float across = (box.max.x - box.min.x) / 2, deep = (box.max.z - box.min.z) / 2;
    // The 90-degree view shows as far up and down from its middle as it is away: the half height
    // needed is the distance needed.
    const float halfHeight = std::max({deep, across * kViewAspect, 1.0f}) * kMargin;
    TTopView view;
    view.Eye = {middle.x, box.max.y + halfHeight, middle.z};
    view.Angles = {kStraightDown, 0, 0};
    view.Projection.Orthographic = orthographic;
    view.Projection.HalfHeight = halfHeight;
    view.Projection.Depth = std::max(view.Eye.y - floorHeight, 1.0f) + 1;
    return view;
}

std::vector<uint8_t> RoomsAbove(const TTombRaiderLevel& level, size_t room) {
    std::vector<uint8_t> above(level.Rooms.size(), 0);
    if (room >= level.Rooms.size()) return above;
    const int64_t ceiling = std::min(level.Rooms[room].yTop, level.Rooms[room].yBottom);
    for (size_t other = 0; other < level.Rooms.size(); ++other) {
        const TRoomRecord& r = level.Rooms[other];
        // Level y grows downwards: above means a smaller y.
        if (other != room && std::max(r.yTop, r.yBottom) <= ceiling) above[other] = 1;
    }
    return above;
}

}  // namespace grottix
