#include "level/LevelGoTo.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

#include "level/LevelEntities.h"
#include "level/LevelSectors.h"
#include "level/LevelSpace.h"
#include "level/LevelStart.h"
#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kLookHeight = 256;  // an item without a known extent: its middle above its floor,
constexpr double kItemRadius = 384;  // and the ball round it
constexpr double kViewShare = 0.4;   // of the view's height an item's ball fills (the view shows
                                     // as far up and down as it is away, 90 degrees)
constexpr double kNearest = 192, kFarthest = 8192;
constexpr double kClearance = 64;    // the eye keeps this far from floors and ceilings
constexpr double kStep = 256;        // the sight line is checked this often
constexpr double kDistanceSteps[] = {1, 0.75, 0.5, 0.25};  // of the framing distance, when nearer is free
constexpr double kFarthestSight = 65536;
// Go to a square: the eye stands this far back from the square's middle and this high above its
// floor (where the open space allows), or on a neighbouring square up to this many squares away.
constexpr double kSquareLookBack = 320, kSquareLookHeight = 768;
constexpr int kSquareRings = 3;
// Rooms that overlap (stacked rooms, flip-map alternates) are tried in turn at one place, but only a
// few: a damaged file piling thousands of rooms onto one spot must not make this search crawl.
constexpr int kRoomsTriedAtOnePlace = 4;
// Sides to try, as turns from the way the item faces: in front, beside, behind, then the diagonals.
constexpr double kSides[] = {0, kPi / 2, -kPi / 2, kPi, kPi / 4, -kPi / 4, 3 * kPi / 4, -3 * kPi / 4};

struct TPoint {
    double x = 0, y = 0, z = 0;
};

// A height near want inside the open space, clear of its floor and ceiling where it is tall enough.
double heightWithin(const TOpenSpace& space, double want) {
    if (space.Height() < 2 * kClearance) return (space.top + space.bottom) / 2;
    return std::clamp(want, space.top + kClearance, space.bottom - kClearance);
}

TEyePlacement lookingAt(const TPoint& eye, int room, const TPoint& target, double yawIfAbove) {
    TEyePlacement placement{eye.x, eye.y, eye.z, yawIfAbove, 0, room};
    const double dx = target.x - eye.x, dz = target.z - eye.z, across = std::hypot(dx, dz);
    if (across > 1e-6) placement.yaw = std::atan2(dx, dz);
    placement.pitch = std::atan2(target.y - eye.y, across);
    return placement;
}

// Rooms in the order a place is looked for: the preferred room, then the rooms shown at the start,
// then the alternates that replace them when the level flips.
std::vector<size_t> roomOrder(const TTombRaiderLevel& level, int preferred) {
    const size_t count = level.Rooms.size();
    std::vector<uint8_t> isAlternate(count, 0);
    for (const TRoomRecord& room : level.Rooms)
        if (room.alternateRoom >= 0 && size_t(room.alternateRoom) < count) isAlternate[size_t(room.alternateRoom)] = 1;
    std::vector<size_t> order;
    order.reserve(count);
    if (preferred >= 0) order.push_back(size_t(preferred));
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < count; ++i)
            if (isAlternate[i] == pass && int(i) != preferred) order.push_back(i);
    return order;
}

// Whether the line from the eye to the target runs through open space all the way; the last step
// before the target is not checked, so an item sunk into a wall or floor can still be looked at.
bool clearSight(const TTombRaiderLevel& level, const TPoint& eye, const TPoint& target) {
    const double length = std::hypot(target.x - eye.x, target.y - eye.y, target.z - eye.z);
    // A line longer than any room is taken as blocked, unchecked: a damaged file's far-off point (a
    // light at the edge of the coordinates) must not make the search step along billions of units.
    if (!(length <= kFarthestSight)) return false;
    for (double along = kStep; along < length - kStep; along += kStep) {
        const double t = along / length;
        if (!OpenSpaceAround(level, eye.x + (target.x - eye.x) * t, eye.y + (target.y - eye.y) * t,
                             eye.z + (target.z - eye.z) * t))
            return false;
    }
    return true;
}

// framing away from the target (or nearer) on one of its sides, at its height where the open space
// allows, with a clear line of sight.
std::optional<TEyePlacement> besideTarget(const TTombRaiderLevel& level, const TPoint& target, double framing, double facing,
                                          const std::vector<size_t>& rooms) {
    for (const double share : kDistanceSteps)
        for (const double side : kSides) {
            const double distance = std::max(framing * share, kNearest);
            const double angle = facing + side;
            TPoint eye{target.x + std::sin(angle) * distance, 0, target.z + std::cos(angle) * distance};
            int tries = kRoomsTriedAtOnePlace;
            for (auto room = rooms.begin(); room != rooms.end() && tries > 0; ++room) {
                const auto space = OpenSpaceAt(level, *room, eye.x, eye.z);
                if (!space) continue;
                eye.y = heightWithin(*space, target.y);
                if (clearSight(level, eye, target)) return lookingAt(eye, int(*room), target, angle + kPi);
                --tries;
            }
        }
    return std::nullopt;
}

// The middle of the open sector nearest the target, in any room; none when the level has none.
std::optional<TEyePlacement> nearestOpenSector(const TTombRaiderLevel& level, const TPoint& target, double facing) {
    double best = std::numeric_limits<double>::infinity();
    std::optional<TEyePlacement> placement;
    for (size_t index = 0; index < level.Rooms.size(); ++index) {
        const TRoomRecord& room = level.Rooms[index];
        if (room.zSectors == 0) continue;
        // The sector records read, not the grid's size: a damaged room may claim far more than it holds.
        const size_t records = std::min(RecordCount(room.sectors, 8), size_t(room.xSectors) * room.zSectors);
        for (size_t record = 0; record < records; ++record) {
            const double column = double(record / room.zSectors), row = double(record % room.zSectors);
            const TPoint middle{room.x + (column + 0.5) * kSectorSize, 0, room.z + (row + 0.5) * kSectorSize};
            const auto space = OpenSpaceAt(level, index, middle.x, middle.z);
            if (!space) continue;
            const TPoint eye{middle.x, heightWithin(*space, target.y), middle.z};
            const double distance = std::hypot(eye.x - target.x, eye.y - target.y, eye.z - target.z);
            if (distance < best) {
                best = distance;
                placement = lookingAt(eye, int(index), target, facing);
            }
        }
    }
    return placement;
}

// With no open sector anywhere: the middle of the room box nearest the target, or a sector in
// front of the target when the level has no rooms.
TEyePlacement nearestRoomBox(const TTombRaiderLevel& level, const TPoint& target, double facing) {
    double best = std::numeric_limits<double>::infinity();
    int nearest = -1;
    TPoint eye{target.x + std::sin(facing) * kSectorSize, target.y, target.z + std::cos(facing) * kSectorSize};
    for (size_t index = 0; index < level.Rooms.size(); ++index) {
        const TRoomRecord& room = level.Rooms[index];
        const TPoint middle{room.x + room.xSectors * kSectorSize / 2.0, (double(room.yTop) + room.yBottom) / 2,
                            room.z + room.zSectors * kSectorSize / 2.0};
        const double distance = std::hypot(middle.x - target.x, middle.y - target.y, middle.z - target.z);
        if (distance < best) {
            best = distance;
            nearest = int(index);
            eye = middle;
        }
    }
    return lookingAt(eye, nearest, target, facing + kPi);
}

// The largest floor of a room: the largest group of open sectors joined side by side at one floor
// height. Gives the group's sector nearest its middle, as (column, row); none when no sector is open.
std::optional<std::pair<int, int>> largestFloorMiddle(const TTombRaiderLevel& level, size_t index) {
    const TRoomRecord& room = level.Rooms[index];
    const int columns = room.xSectors, rows = room.zSectors;
    const auto sectors = ReadSectors(room);
    const auto open = [&](int c, int r) {
        return OpenSpaceAt(level, index, room.x + (c + 0.5) * kSectorSize, room.z + (r + 0.5) * kSectorSize).has_value();
    };
    std::vector<int> group(size_t(columns) * size_t(rows), -1);
    std::vector<std::pair<int, int>> best, members, pending;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            if (group[size_t(c) * rows + r] >= 0 || !open(c, r)) continue;
            const int8_t floor = sectors[size_t(c) * rows + r].floor;
            members.clear();
            pending = {{c, r}};
            group[size_t(c) * rows + r] = 1;
            while (!pending.empty()) {
                const auto [pc, pr] = pending.back();
                pending.pop_back();
                members.push_back({pc, pr});
                const std::pair<int, int> neighbours[] = {{pc + 1, pr}, {pc - 1, pr}, {pc, pr + 1}, {pc, pr - 1}};
                for (const auto& [nc, nr] : neighbours) {
                    if (nc < 0 || nr < 0 || nc >= columns || nr >= rows) continue;
                    const size_t at = size_t(nc) * rows + nr;
                    if (group[at] >= 0 || sectors[at].floor != floor || !open(nc, nr)) continue;
                    group[at] = 1;
                    pending.push_back({nc, nr});
                }
            }
            if (members.size() > best.size()) best = members;
        }
    if (best.empty()) return std::nullopt;
    double mc = 0, mr = 0;
    for (const auto& [c, r] : best) {
        mc += c + 0.5;
        mr += r + 0.5;
    }
    mc /= double(best.size());
    mr /= double(best.size());
    return *std::min_element(best.begin(), best.end(), [&](auto a, auto b) {
        return std::hypot(a.first + 0.5 - mc, a.second + 0.5 - mr) < std::hypot(b.first + 0.5 - mc, b.second + 0.5 - mr);
    });
}

// The room seen whole: from the open sector farthest from the middle of its largest floor, high up
// under its ceiling, with a clear line to that middle, looking at it. None when no sector is open
// far enough from the middle (a room of one or two sectors is seen from over its floor instead).
std::optional<TEyePlacement> wholeRoomView(const TTombRaiderLevel& level, size_t index, const TPoint& target) {
    const TRoomRecord& room = level.Rooms[index];
    std::vector<std::pair<double, TPoint>> corners;
    for (int c = 0; c < room.xSectors; ++c)
        for (int r = 0; r < room.zSectors; ++r) {
            const TPoint middle{room.x + (c + 0.5) * kSectorSize, 0, room.z + (r + 0.5) * kSectorSize};
            const double across = std::hypot(middle.x - target.x, middle.z - target.z);
            if (across >= 1.5 * kSectorSize && OpenSpaceAt(level, index, middle.x, middle.z)) corners.push_back({across, middle});
        }
    std::sort(corners.begin(), corners.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    // A few of the farthest are tried: each try walks the line of sight.
    constexpr size_t kTried = 16;
    for (size_t i = 0; i < std::min(corners.size(), kTried); ++i) {
        TPoint eye = corners[i].second;
        const auto space = OpenSpaceAt(level, index, eye.x, eye.z);
        eye.y = heightWithin(*space, space->top);
        if (clearSight(level, eye, target)) return lookingAt(eye, int(index), target, 0);
    }
    return std::nullopt;
}

}  // namespace

TEyePlacement GoToRoom(const TTombRaiderLevel& level, size_t index) {
    if (level.Rooms.empty()) return {};
    if (index >= level.Rooms.size()) index = 0;
    const TRoomRecord& room = level.Rooms[index];
    // Only rooms whose grid the records fill are searched, so the sector table is never overrun.
    const bool gridRead = size_t(room.xSectors) * room.zSectors <= RecordCount(room.sectors, 8);
    const auto middle = gridRead ? largestFloorMiddle(level, index) : std::nullopt;
    TEyePlacement eye;
    eye.room = int(index);
    if (middle) {
        const TPoint target{room.x + (middle->first + 0.5) * kSectorSize, 0, room.z + (middle->second + 0.5) * kSectorSize};
        const auto floor = OpenSpaceAt(level, index, target.x, target.z);
        if (auto whole = wholeRoomView(level, index, {target.x, floor->bottom, target.z})) return *whole;
        eye.x = target.x;
        eye.z = target.z;
        eye.y = heightWithin(*floor, floor->bottom - kEyeHeight);
    } else {  // no open sector: the middle of the room's box, a person's height above its bottom
        eye.x = room.x + room.xSectors * kSectorSize / 2.0;
        eye.z = room.z + room.zSectors * kSectorSize / 2.0;
        eye.y = heightWithin({int(index), double(room.yTop), double(room.yBottom)}, room.yBottom - kEyeHeight);
    }
    // Along the longer side, towards the farther end of it.
    const double middleX = room.x + room.xSectors * kSectorSize / 2.0, middleZ = room.z + room.zSectors * kSectorSize / 2.0;
    if (room.xSectors >= room.zSectors) eye.yaw = eye.x <= middleX ? kPi / 2 : -kPi / 2;
    else eye.yaw = eye.z <= middleZ ? 0 : kPi;
    return eye;
}

TEyePlacement GoToSquare(const TTombRaiderLevel& level, size_t index, int x, int z) {
    if (index >= level.Rooms.size()) return GoToRoom(level, 0);
    const TRoomRecord& room = level.Rooms[index];
    const auto squareMiddle = [&](int column, int row) {
        return TPoint{room.x + (column + 0.5) * kSectorSize, 0, room.z + (row + 0.5) * kSectorSize};
    };
    TPoint target = squareMiddle(x, z);
    const auto own = OpenSpaceAt(level, index, target.x, target.z);
    target.y = own ? own->bottom : double(std::max(room.yTop, room.yBottom));
    // Rings of squares round the square, nearest first; the square itself when it is open.
    for (int ring = 0; ring <= kSquareRings; ++ring)
        for (int dx = -ring; dx <= ring; ++dx)
            for (int dz = -ring; dz <= ring; ++dz) {
                if (std::max(std::abs(dx), std::abs(dz)) != ring) continue;
                TPoint eye = squareMiddle(x + dx, z + dz);
                if (ring == 0) eye.z -= kSquareLookBack;  // inside the square, a little back from its middle
                std::optional<TOpenSpace> space = OpenSpaceAt(level, index, eye.x, eye.z);
                for (size_t other = 0; !space && other < level.Rooms.size(); ++other)
                    if (other != index) space = OpenSpaceAt(level, other, eye.x, eye.z);
                if (!space) continue;
                eye.y = heightWithin(*space, target.y - kSquareLookHeight);
                // The line need only reach the square's side: a wall square is solid inside.
                const TPoint side{std::clamp(eye.x, target.x - kSectorSize / 2.0, target.x + kSectorSize / 2.0), target.y,
                                  std::clamp(eye.z, target.z - kSectorSize / 2.0, target.z + kSectorSize / 2.0)};
                if (ring == 0 || clearSight(level, eye, side)) return lookingAt(eye, space->room, target, 0);
            }
    return GoToRoom(level, index);
}

TEyePlacement GoToItem(const TTombRaiderLevel& level, size_t entity, std::optional<TItemExtent> extent) {
    const auto entities = ReadEntities(level);
    if (entity >= entities.size()) return GoToRoom(level, 0);
    const TLevelEntity& item = entities[entity];
    const bool known = extent && std::isfinite(extent->x) && std::isfinite(extent->y) && std::isfinite(extent->z) &&
                       std::isfinite(extent->radius) && extent->radius >= 0;
    const TPoint target = known ? TPoint{extent->x, extent->y, extent->z} : TPoint{double(item.x), double(item.y) - kLookHeight, double(item.z)};
    const double radius = known ? extent->radius : kItemRadius;
    const double framing = std::clamp(radius / kViewShare, kNearest, kFarthest);
    const double facing = item.angle / 65536.0 * 2 * kPi;
    const int preferred = item.room >= 0 && size_t(item.room) < level.Rooms.size() ? item.room : -1;
    if (auto placement = besideTarget(level, target, framing, facing, roomOrder(level, preferred))) return *placement;
    if (auto placement = nearestOpenSector(level, target, facing + kPi)) return *placement;
    return nearestRoomBox(level, target, facing);
}

TEyePlacement GoToPoint(const TTombRaiderLevel& level, int room, double x, double y, double z, double facing) {
    const TPoint target{x, y, z};
    const int preferred = room >= 0 && size_t(room) < level.Rooms.size() ? room : -1;
    if (auto placement = besideTarget(level, target, kSectorSize, facing, roomOrder(level, preferred))) return *placement;
    if (auto placement = nearestOpenSector(level, target, facing + kPi)) return *placement;
    return nearestRoomBox(level, target, facing);
}

}  // namespace grottix
