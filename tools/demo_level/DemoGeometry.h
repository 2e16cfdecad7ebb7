#pragma once
// The demo level's content in a form independent of any level version: rooms of the hall,
// corridor, courtyard and storeroom with lit vertices, static meshes (pillars, crates, a pyramid),
// plant sprites and the player's start in the middle of the hall.

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "demo_level/DemoTextures.h"

namespace grottix::demo {

struct Light5 {
    uint8_t r = 31, g = 31, b = 31;  // 0..31 each
};

struct DemoVertex {
    int16_t x = 0, y = 0, z = 0;  // relative to the room origin; y grows downwards
    Light5 light;
};

struct DemoFace {
    DemoFace() = default;
    DemoFace(std::vector<uint16_t> corners, DemoTexture texture, std::optional<uint16_t> objectTexture = {})
        : corners(std::move(corners)), texture(texture), objectTexture(objectTexture) {}

    std::vector<uint16_t> corners;  // 3 or 4 vertex indices
    DemoTexture texture = DemoTexture::Stone;
    std::optional<uint16_t> objectTexture;  // an object texture of its own instead of the texture's
};

struct DemoSprite {
    uint16_t vertex = 0;
    DemoTexture texture = DemoTexture::Plant;
};

struct DemoStatic {
    int32_t x = 0, y = 0, z = 0;  // absolute
    uint16_t rotation = 0;
    uint16_t meshId = 0;
};

// The opening into another room: its normal points into this room; corners relative to the room's
// origin (y absolute).
struct DemoPortal {
    uint16_t room = 0;
    std::array<int16_t, 3> normal{};
    std::array<std::array<int16_t, 3>, 4> corners{};
};

struct DemoRoom {
    int32_t x = 0, z = 0, yBottom = 0, yTop = 0;
    uint16_t xSectors = 1, zSectors = 1;
    std::vector<DemoVertex> vertices;
    std::vector<DemoFace> faces;
    std::vector<DemoSprite> sprites;
    std::vector<DemoStatic> statics;
    std::vector<DemoPortal> portals;
};

struct DemoMesh {
    uint16_t meshId = 0;
    std::vector<std::array<int16_t, 3>> vertices;
    std::vector<DemoFace> faces;
};

// Where the player starts: absolute position on the floor, facing angle (65536 a full turn).
struct DemoStart {
    int16_t room = 0;
    int32_t x = 0, y = 0, z = 0;
    uint16_t angle = 0;
};

struct DemoWorld {
    std::vector<DemoRoom> rooms;
    std::vector<DemoMesh> meshes;
    DemoStart start;
};

// The plant sprite's extents in level units around the point it stands on.
constexpr int16_t kPlantHalfWidth = 500, kPlantHeight = 1000;

DemoWorld BuildDemoWorld();

// A box standing on y = 0, halfWidth to each side and height up, with its own side and top texture.
DemoMesh BoxMesh(uint16_t id, int halfWidth, int height, DemoTexture side, DemoTexture top);

}  // namespace grottix::demo
