#include "level_writer/RoomGrid.h"

#include <functional>

namespace grottix::levelwriter {

namespace {

constexpr int32_t kStep = 256;
constexpr int32_t kInner = kGridRoomSize - 2 * kGridWall;  // the room's inside, wall to wall
constexpr int32_t kDoorStart = (kGridRoomSize - kGridDoorWidth) / 2;

struct Point {
    int32_t x, y, z;
};

class RoomBuilder {
public:
    RoomBuilder(Room& room, uint32_t seed) : room_(room), seed_(seed) {}

    // A grid of squares from origin along u (nu squares) and v (nv squares); skip leaves squares out.
    void grid(Point origin, Point u, Point v, int nu, int nv, const std::function<bool(int, int)>& skip = {}) {
        const size_t first = room_.vertices.size();
        for (int j = 0; j <= nv; ++j)
            for (int i = 0; i <= nu; ++i)
                vertex({origin.x + u.x * i + v.x * j, origin.y + u.y * i + v.y * j, origin.z + u.z * i + v.z * j});
        const auto at = [&](int i, int j) { return uint16_t(first + size_t(j) * size_t(nu + 1) + size_t(i)); };
        for (int j = 0; j < nv; ++j)
            for (int i = 0; i < nu; ++i)
                if (!skip || !skip(i, j)) room_.rectangles.push_back({{at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)}, 0});
    }

private:
    void vertex(Point p) {
        seed_ = seed_ * 1664525u + 1013904223u;
        Vertex v;
        v.x = int16_t(p.x), v.y = int16_t(p.y), v.z = int16_t(p.z);
        v.colour = uint16_t((seed_ >> 9) & 0x7FFF);
        v.lighting = int16_t((seed_ >> 4) & 0x1F00);
        room_.vertices.push_back(v);
    }

    Room& room_;
    uint32_t seed_;
};

bool inDoor(int i, int j) {
    const int first = (kDoorStart - kGridWall) / kStep;
    return i >= first && i < first + kGridDoorWidth / kStep && j < kGridDoorHeight / kStep;
}

// The wall along one side, with a doorway when a neighbour lies there, that half of the tunnel and
// the portal on the box's edge. side: 0 -x, 1 +x, 2 -z, 3 +z.
void side(RoomBuilder& builder, Room& room, int side, int beyond) {
    const bool alongZ = side < 2;  // the wall runs along z (it faces x)
    const bool far = side % 2 == 1;
    const int32_t plane = far ? kGridRoomSize - kGridWall : kGridWall;
    const int32_t edge = far ? kGridRoomSize : 0;
    const auto place = [&](int32_t across, int32_t y, int32_t along) {
        return alongZ ? Point{across, y, along} : Point{along, y, across};
    };
    const Point alongStep = alongZ ? Point{0, 0, kStep} : Point{kStep, 0, 0};
    const Point up{0, -kStep, 0};
    const int squares = kInner / kStep, high = kGridRoomHeight / kStep;
    builder.grid(place(plane, 0, kGridWall), alongStep, up, squares, high, beyond >= 0 ? inDoor : std::function<bool(int, int)>{});
    if (beyond < 0) return;
    const int32_t from = std::min(plane, edge);
    const Point acrossStep = alongZ ? Point{kStep, 0, 0} : Point{0, 0, kStep};
    const int doorSquares = kGridDoorWidth / kStep, doorHigh = kGridDoorHeight / kStep;
    builder.grid(place(from, 0, kDoorStart), acrossStep, alongStep, 1, doorSquares);                     // floor
    builder.grid(place(from, -kGridDoorHeight, kDoorStart), acrossStep, alongStep, 1, doorSquares);      // ceiling
    builder.grid(place(from, 0, kDoorStart), acrossStep, up, 1, doorHigh);                               // one side
    builder.grid(place(from, 0, kDoorStart + kGridDoorWidth), acrossStep, up, 1, doorHigh);              // the other
    Portal portal;
    portal.room = uint16_t(beyond);
    const int16_t inward = far ? -1 : 1;
    portal.normal = alongZ ? std::array<int16_t, 3>{inward, 0, 0} : std::array<int16_t, 3>{0, 0, inward};
    const int32_t a = kDoorStart, b = kDoorStart + kGridDoorWidth, top = -kGridDoorHeight;
    const Point corners[4] = {place(edge, 0, a), place(edge, 0, b), place(edge, top, b), place(edge, top, a)};
    for (size_t c = 0; c < 4; ++c) portal.corners[c] = {int16_t(corners[c].x), int16_t(corners[c].y), int16_t(corners[c].z)};
    room.portalList->push_back(portal);
}

Room gridRoom(int column, int row, int columns, int rows) {
    Room room;
    room.x = column * kGridRoomSize;
    room.z = row * kGridRoomSize;
    room.xSectors = room.zSectors = kGridRoomSize / 1024;
    room.yBottom = 0;
    room.yTop = -kGridRoomHeight;
    room.sectorList = OpenSectors(room);
    room.portalList.emplace();
    RoomBuilder builder(room, uint32_t(row * columns + column) * 2654435761u + 17u);
    const Point across{kStep, 0, 0}, along{0, 0, kStep};
    const int squares = kInner / kStep;
    builder.grid({kGridWall, 0, kGridWall}, across, along, squares, squares);
    builder.grid({kGridWall, -kGridRoomHeight, kGridWall}, across, along, squares, squares);
    const auto index = [&](int c, int r) { return c < 0 || r < 0 || c >= columns || r >= rows ? -1 : r * columns + c; };
    side(builder, room, 0, index(column - 1, row));
    side(builder, room, 1, index(column + 1, row));
    side(builder, room, 2, index(column, row - 1));
    side(builder, room, 3, index(column, row + 1));
    return room;
}

// One tile of opaque grey checks (no texel is the transparency key), in every tile layout.
void solidTile(LevelDescription& level) {
    level.tileCount = 1;
    level.tiles8.assign(65536, 0);
    level.tiles16.assign(131072, 0);
    level.tiles32.assign(262144, 0);
    level.palette8[3] = level.palette8[4] = level.palette8[5] = 50;
    level.palette8[6] = level.palette8[7] = level.palette8[8] = 30;
    for (size_t y = 0; y < 256; ++y)
        for (size_t x = 0; x < 256; ++x) {
            const bool light = (x / 32 + y / 32) % 2 == 0;
            const size_t i = y * 256 + x;
            level.tiles8[i] = light ? 1 : 2;
            const uint16_t texel = light ? 0xE739 : 0xBDEF;  // alpha bit set
            level.tiles16[i * 2] = uint8_t(texel), level.tiles16[i * 2 + 1] = uint8_t(texel >> 8);
            const uint8_t grey = light ? 200 : 120;
            level.tiles32[i * 4] = level.tiles32[i * 4 + 1] = level.tiles32[i * 4 + 2] = grey;
            level.tiles32[i * 4 + 3] = 255;
        }
    ObjectTexture whole;
    whole.u = {0, 255, 255, 0};
    whole.v = {0, 0, 255, 255};
    level.objectTextures = {whole};
}

}  // namespace

LevelDescription RoomGridLevel(int code, int columns, int rows) {
    LevelDescription level;
    level.code = code;
    solidTile(level);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) level.rooms.push_back(gridRoom(column, row, columns, rows));
    level.entities = std::vector<Entity>{{0, 0, kGridRoomSize / 2, -512, kGridRoomSize / 2}};
    return level;
}

}  // namespace grottix::levelwriter
