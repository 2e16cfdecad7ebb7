#pragma once
// The static meshes placed in the rooms (furniture, plants, rocks): where each stands, its facing
// and light, and the static mesh definition its mesh id names. TR1 and Unfinished Business keep one
// intensity, TR2 two; from TR3 on the first intensity word holds a 15-bit colour instead.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TRoomStatic {
    int room = 0;
    size_t index = 0;             // in the room's static meshes
    int32_t x = 0, y = 0, z = 0;  // level units, absolute, y down
    uint16_t rotation = 0;        // as stored: 65536 to a full turn, 0 faces +z, 16384 faces +x
    double angle = 0;             // the same in degrees, 0 up to 360
    uint16_t meshId = 0;          // the object id of a static mesh definition
    int definition = -1;          // the definition with that id, -1 when none has it
    std::optional<uint16_t> intensity, intensity2;  // TR1 (one), TR2 (two): 0 bright up to 0x1FFF dark
    std::optional<uint16_t> colour;                 // TR3 on: red bits 10-14, green 5-9, blue 0-4
    std::string problem;          // empty, or what the file gets wrong
};

// A box along the level's axes, level units (y grows downwards).
struct TLevelBox {
    double minX = 0, minY = 0, minZ = 0, maxX = 0, maxY = 0, maxZ = 0;
};

// The box around the static where it stands: its definition's visibility box (the first six words
// after the mesh index: least and greatest x, then y, then z, about the mesh's origin) turned by the
// static's facing. None when the static names no definition or the box is all zeros.
std::optional<TLevelBox> StaticBox(const TTombRaiderLevel& level, const TRoomStatic& placed);

// Every room's static meshes in file order, room by room.
std::vector<TRoomStatic> ReadStatics(const TTombRaiderLevel& level);

}  // namespace grottix
