#include "demo_level/DemoGeometry.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace grottix::demo {

namespace {

constexpr int kSector = 1024;

struct Box {
    int x0, x1, z0, z1;
    int floor, ceiling;  // y grows downwards: ceiling < floor
    DemoTexture floorTexture, wallTexture, ceilingTexture;
    float ambient;
    bool open = false;  // no ceiling: the sky shows above
};

// An opening in the wall between two rooms: on the line x = at (alongZ false) or z = at.
struct Door {
    int a, b;
    bool alongX;  // the wall runs along x (it lies on z = at)
    int at, from, to;
};

struct PointLight {
    float x, y, z, r, g, b, radius;
};

const std::vector<Box> kBoxes = {
    {-3072, 3072, -3072, 3072, 3840, 768, DemoTexture::Marble, DemoTexture::Brick, DemoTexture::Stone, 0.12f},
    {-1024, 1024, 3072, 7168, 3840, 2048, DemoTexture::Stone, DemoTexture::Brick, DemoTexture::Wood, 0.08f},
    {-4096, 4096, 7168, 15360, 4352, -2048, DemoTexture::Grass, DemoTexture::Stone, DemoTexture::Stone, 0.3f, true},
    {3072, 7168, -2048, 2048, 3584, 1536, DemoTexture::Wood, DemoTexture::Brick, DemoTexture::Wood, 0.06f},
};

const std::vector<Door> kDoors = {
    {0, 1, true, 3072, -1024, 1024},
    {1, 2, true, 7168, -1024, 1024},
    {0, 3, false, 3072, -1024, 1024},
};

const std::vector<PointLight> kLights = {
    {0, 1800, 0, 1.0f, 0.75f, 0.45f, 4500},    {0, 2600, 5120, 0.35f, 0.5f, 1.0f, 2800},
    {0, 0, 11264, 0.8f, 0.8f, 0.7f, 8000},     {5120, 2400, 0, 1.0f, 0.5f, 0.2f, 3600},
    {-2500, 2000, 13000, 0.2f, 0.45f, 1.0f, 3500}, {2560, 3000, 2560, 0.9f, 0.3f, 0.2f, 2200},
};

Light5 lightAt(float x, float y, float z, float ambient) {
    float r = ambient, g = ambient, b = ambient;
    for (const auto& light : kLights) {
        const float d = std::sqrt((x - light.x) * (x - light.x) + (y - light.y) * (y - light.y) + (z - light.z) * (z - light.z));
        const float f = std::max(0.0f, 1.0f - d / light.radius);
        r += light.r * f;
        g += light.g * f;
        b += light.b * f;
    }
    const auto level = [](float c) { return uint8_t(std::clamp(int(std::lround(c * 31)), 0, 31)); };
    return {level(r), level(g), level(b)};
}

// Builds one room's vertex table, sharing vertices at equal positions.
class RoomBuilder {
public:
    RoomBuilder(DemoRoom& room, float ambient) : room_(room), ambient_(ambient) {}

    uint16_t vertex(int wx, int wy, int wz) {
        const auto key = std::make_tuple(wx, wy, wz);
        const auto found = indices_.find(key);
        if (found != indices_.end()) return found->second;
        const auto index = uint16_t(room_.vertices.size());
        room_.vertices.push_back({int16_t(wx - room_.x), int16_t(wy), int16_t(wz - room_.z),
                                  lightAt(float(wx), float(wy), float(wz), ambient_)});
        indices_.emplace(key, index);
        return index;
    }
    // Corners in texture order: top-left, top-right, bottom-right, bottom-left.
    void quad(std::array<std::array<int, 3>, 4> c, DemoTexture texture) {
        DemoFace face;
        for (const auto& p : c) face.corners.push_back(vertex(p[0], p[1], p[2]));
        face.texture = texture;
        room_.faces.push_back(face);
    }

private:
    DemoRoom& room_;
    float ambient_;
    std::map<std::tuple<int, int, int>, uint16_t> indices_;
};

const Door* doorAt(int room, bool alongX, int at, int from) {
    for (const auto& door : kDoors)
        if ((door.a == room || door.b == room) && door.alongX == alongX && door.at == at && from >= door.from && from < door.to)
            return &door;
    return nullptr;
}

// Vertical strips of a wall between y0 (top) and y1 (bottom), a sector high each.
void wallStrips(RoomBuilder& b, int ax, int az, int bx, int bz, int y0, int y1, DemoTexture texture) {
    for (int top = y0; top < y1;) {
        const int next = std::min(y1, int(std::floor(top / double(kSector))) * kSector + kSector);
        b.quad({{{ax, top, az}, {bx, top, bz}, {bx, next, bz}, {ax, next, az}}}, texture);
        top = next;
    }
}

void wallSegment(RoomBuilder& b, int index, bool alongX, int at, int from, int ax, int az, int bx, int bz) {
    const Box& box = kBoxes[size_t(index)];
    const Door* door = doorAt(index, alongX, at, from);
    if (!door) {
        wallStrips(b, ax, az, bx, bz, box.ceiling, box.floor, box.wallTexture);
        return;
    }
    const Box& other = kBoxes[size_t(door->a == index ? door->b : door->a)];
    if (other.ceiling > box.ceiling) wallStrips(b, ax, az, bx, bz, box.ceiling, other.ceiling, box.wallTexture);
    if (other.floor < box.floor) wallStrips(b, ax, az, bx, bz, other.floor, box.floor, box.wallTexture);
}

DemoTexture floorTextureAt(int index, int x, int z) {
    if (index == 2 && x >= 1024 && x < 4096 && z >= 12288) return DemoTexture::Water;
    if (index == 0 && ((x / kSector + z / kSector) & 1)) return DemoTexture::Stone;
    return kBoxes[size_t(index)].floorTexture;
}

// The room's doors as portals: each spans its opening, between the lower ceiling and the higher floor.
void addPortals(DemoRoom& room, int index) {
    const Box& box = kBoxes[size_t(index)];
    for (const Door& door : kDoors) {
        if (door.a != index && door.b != index) continue;
        const Box& other = kBoxes[size_t(door.a == index ? door.b : door.a)];
        const int top = std::max(box.ceiling, other.ceiling), bottom = std::min(box.floor, other.floor);
        const bool low = door.at == (door.alongX ? box.z0 : box.x0);  // the door is on the room's low side
        const auto corner = [&](int along, int y) {
            return door.alongX ? std::array<int16_t, 3>{int16_t(along - room.x), int16_t(y), int16_t(door.at - room.z)}
                               : std::array<int16_t, 3>{int16_t(door.at - room.x), int16_t(y), int16_t(along - room.z)};
        };
        DemoPortal portal;
        portal.room = uint16_t(door.a == index ? door.b : door.a);
        const int16_t inward = low ? 1 : -1;
        portal.normal = door.alongX ? std::array<int16_t, 3>{0, 0, inward} : std::array<int16_t, 3>{inward, 0, 0};
        portal.corners = {corner(door.from, top), corner(door.to, top), corner(door.to, bottom), corner(door.from, bottom)};
        room.portals.push_back(portal);
    }
}

DemoRoom buildRoom(int index) {
    const Box& box = kBoxes[size_t(index)];
    DemoRoom room;
    room.x = box.x0;
    room.z = box.z0;
    room.xSectors = uint16_t((box.x1 - box.x0) / kSector);
    room.zSectors = uint16_t((box.z1 - box.z0) / kSector);
    room.yBottom = box.floor;
    room.yTop = box.ceiling;
    RoomBuilder b(room, box.ambient);
    for (int x = box.x0; x < box.x1; x += kSector)
        for (int z = box.z0; z < box.z1; z += kSector) {
            const int x1 = x + kSector, z1 = z + kSector;
            b.quad({{{x, box.floor, z1}, {x1, box.floor, z1}, {x1, box.floor, z}, {x, box.floor, z}}}, floorTextureAt(index, x, z));
            if (!box.open)
                b.quad({{{x, box.ceiling, z}, {x1, box.ceiling, z}, {x1, box.ceiling, z1}, {x, box.ceiling, z1}}}, box.ceilingTexture);
        }
    for (int x = box.x0; x < box.x1; x += kSector) {
        wallSegment(b, index, true, box.z0, x, x, box.z0, x + kSector, box.z0);
        wallSegment(b, index, true, box.z1, x, x + kSector, box.z1, x, box.z1);
    }
    for (int z = box.z0; z < box.z1; z += kSector) {
        wallSegment(b, index, false, box.x0, z, box.x0, z + kSector, box.x0, z);
        wallSegment(b, index, false, box.x1, z, box.x1, z, box.x1, z + kSector);
    }
    addPortals(room, index);
    return room;
}

DemoMesh pyramidMesh(uint16_t id) {
    DemoMesh mesh;
    mesh.meshId = id;
    const int16_t w = 1536, h = -2560;
    mesh.vertices = {{{int16_t(-w), 0, int16_t(-w)}}, {{w, 0, int16_t(-w)}}, {{w, 0, w}}, {{int16_t(-w), 0, w}}, {{0, h, 0}}};
    mesh.faces = {{{4, 1, 0}, DemoTexture::Marble}, {{4, 2, 1}, DemoTexture::Marble}, {{4, 3, 2}, DemoTexture::Marble},
                  {{4, 0, 3}, DemoTexture::Marble}};
    return mesh;
}

void addSprites(DemoRoom& room) {
    const Box& box = kBoxes[2];
    int count = 0;
    for (int x = box.x0 + 512; x < box.x1; x += 2048)
        for (int z = box.z0 + 1536; z < box.z1 - 1024; z += 2560) {
            if (std::abs(x) < 2600 && std::abs(z - 11264) < 2600) continue;  // keep the pyramid clear
            room.vertices.push_back({int16_t(x - room.x), int16_t(box.floor), int16_t(z - room.z), {31, 31, 31}});
            room.sprites.push_back({uint16_t(room.vertices.size() - 1), DemoTexture::Plant});
            ++count;
        }
}

}  // namespace

DemoMesh BoxMesh(uint16_t id, int halfWidth, int height, DemoTexture side, DemoTexture top) {
    DemoMesh mesh;
    mesh.meshId = id;
    const auto w = int16_t(halfWidth), n = int16_t(-halfWidth), h = int16_t(-height);
    mesh.vertices = {{{n, 0, n}}, {{w, 0, n}}, {{w, 0, w}}, {{n, 0, w}}, {{n, h, n}}, {{w, h, n}}, {{w, h, w}}, {{n, h, w}}};
    mesh.faces = {{{4, 5, 1, 0}, side}, {{5, 6, 2, 1}, side}, {{6, 7, 3, 2}, side}, {{7, 4, 0, 3}, side},
                  {{7, 6, 5, 4}, top}};
    return mesh;
}

DemoWorld BuildDemoWorld() {
    DemoWorld world;
    for (int i = 0; i < int(kBoxes.size()); ++i) world.rooms.push_back(buildRoom(i));
    world.meshes = {BoxMesh(10, 256, 3072, DemoTexture::Stone, DemoTexture::Stone),
                    BoxMesh(11, 448, 896, DemoTexture::Crate, DemoTexture::Crate), pyramidMesh(12)};
    for (int sx : {-1536, 1536})
        for (int sz : {-1536, 1536}) world.rooms[0].statics.push_back({sx, 3840, sz, 0, 10});
    world.rooms[3].statics = {{4608, 3584, -1024, 0, 11}, {5888, 3584, -1024, 8192, 11}, {5248, 3584, 1024, 3000, 11},
                              {5248, 2688, -1024, 12000, 11}};
    world.rooms[2].statics = {{0, 4352, 11264, 0, 12}};
    addSprites(world.rooms[2]);
    world.start = {0, 0, kBoxes[0].floor, 0, 0};
    return world;
}

}  // namespace grottix::demo
