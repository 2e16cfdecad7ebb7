#include "level/LevelStart.h"

#include <cmath>
#include <numbers>

#include "level/EntityOutsideRoom.h"
#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr double kSector = 1024;

bool roomHolds(const TRoomRecord& room, double x, double y, double z) {
    return x >= room.x && x <= room.x + room.xSectors * kSector && z >= room.z && z <= room.z + room.zSectors * kSector &&
           y >= room.yTop && y <= room.yBottom;
}

// The eye above a floor point: a person's height up, but never above the room's ceiling.
double eyeAbove(double floorY, const TRoomRecord& room) {
    const double eye = floorY - kEyeHeight;
    return eye > room.yTop ? eye : (room.yTop + floorY) / 2;
}

bool playerStart(const TTombRaiderLevel& level, TLevelStart& start) {
    for (const TLevelEntity& entity : ReadEntities(level)) {
        if (entity.type != kPlayerEntityType) continue;
        // A player stored far out in empty space would show nothing: start as without one.
        if (entity.room < 0 || size_t(entity.room) >= level.Rooms.size() || EntityOutsideItsRoom(level, entity)) return false;
        const TRoomRecord& room = level.Rooms[size_t(entity.room)];
        start.x = entity.x;
        start.y = eyeAbove(entity.y, room);
        start.z = entity.z;
        start.yaw = entity.angle / 65536.0 * 2 * std::numbers::pi;
        start.room = roomHolds(room, start.x, start.y, start.z) ? entity.room : RoomContaining(level, start.x, start.y, start.z);
        if (start.room < 0) start.room = entity.room;
        start.atPlayer = true;
        return true;
    }
    return false;
}

struct TFloorFace {
    double area = -1;
    double x = 0, y = 0, z = 0;  // centre, absolute level units
};

// Considers one face as the floor to start over: nearly horizontal and in the lower half of the room.
template <size_t N>
void considerFloor(const TRoomRecord& room, const uint16_t (&corners)[N], TFloorFace& best) {
    double px[N], py[N], pz[N];
    for (size_t i = 0; i < N; ++i) {
        if (corners[i] >= room.vertices.size()) return;
        const TRoomVertex& v = room.vertices[corners[i]];
        px[i] = double(room.x) + v.x;
        py[i] = v.y;
        pz[i] = double(room.z) + v.z;
    }
    double nx = 0, ny = 0, nz = 0, cx = 0, cy = 0, cz = 0;
    for (size_t i = 0; i < N; ++i) {  // Newell's normal: twice the area, any winding
        const size_t j = (i + 1) % N;
        nx += (py[i] - py[j]) * (pz[i] + pz[j]);
        ny += (pz[i] - pz[j]) * (px[i] + px[j]);
        nz += (px[i] - px[j]) * (py[i] + py[j]);
        cx += px[i] / N;
        cy += py[i] / N;
        cz += pz[i] / N;
    }
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length == 0 || std::abs(ny) < 0.7 * length || cy < (double(room.yTop) + room.yBottom) / 2) return;
    if (length / 2 > best.area) best = {length / 2, cx, cy, cz};
}

TLevelStart firstRoomStart(const TTombRaiderLevel& level) {
    const TRoomRecord& room = level.Rooms.front();
    TFloorFace floor;
    for (const auto& face : room.rectangles) considerFloor(room, face.vertices, floor);
    for (const auto& face : room.triangles) considerFloor(room, face.vertices, floor);
    if (floor.area < 0)  // no floor face: the middle of the room's box
        floor = {0, room.x + room.xSectors * kSector / 2, double(room.yBottom), room.z + room.zSectors * kSector / 2};
    TLevelStart start;
    start.x = floor.x;
    start.y = eyeAbove(floor.y, room);
    start.z = floor.z;
    start.room = roomHolds(room, start.x, start.y, start.z) ? 0 : RoomContaining(level, start.x, start.y, start.z);
    return start;
}

}  // namespace

int RoomContaining(const TTombRaiderLevel& level, double x, double y, double z) {
    for (size_t i = 0; i < level.Rooms.size(); ++i)
        if (roomHolds(level.Rooms[i], x, y, z)) return int(i);
    return -1;
}

TLevelStart FindLevelStart(const TTombRaiderLevel& level) {
    TLevelStart start;
    if (playerStart(level, start)) return start;
    return firstRoomStart(level);
}

}  // namespace grottix
