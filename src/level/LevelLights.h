#pragma once
// The lights of every room, decoded from the records each room keeps raw. Each game stores them its
// own way: TR1 and Unfinished Business 18 bytes (position, intensity, fade), TR2 24 bytes (two of
// each), TR3 24 bytes (position, colour, type, then a point light's intensity and fade or a sun's
// direction), TR4 46 bytes (colour, type, intensity, hotspot, falloff, length, cut-off, direction) and
// Chronicles 88 bytes with float positions, next to the 36-byte fog bulbs of its layered rooms.
// Fields a game does not store stay empty; values the file gets wrong are kept and named in problem.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

enum class TLightKind : uint8_t { Point, Sun, Spot, Shadow, FogBulb, Unknown };

// "point", "sun", "spot", "shadow", "fog bulb" or "unknown".
const char* LightKindName(TLightKind kind);

struct TRoomLight {
    int room = 0;
    size_t index = 0;             // in the room's lights; a Chronicles fog bulb counts on after them
    int32_t x = 0, y = 0, z = 0;  // level units, absolute, y down; Chronicles' floats rounded
    TLightKind kind = TLightKind::Point;
    int type = -1;                // the type as stored (TR3 on), -1 where the game stores none
    std::optional<int64_t> intensity, intensity2;  // TR1-TR3 (TR2 two), TR4 one byte
    std::optional<int64_t> fade, fade2;            // TR1-TR3 (TR2 two): how far it shines
    std::optional<std::array<double, 3>> colour;   // red, green, blue: bytes in TR3-TR4, floats in Chronicles
    std::optional<std::array<double, 3>> direction;  // suns and spots: TR3 a sun's normal, TR4 and Chronicles
    std::optional<double> in, out;                 // TR4 and Chronicles: hotspot and falloff
    std::optional<double> length, cutOff;          // TR4
    std::optional<double> radiansIn, radiansOut, range;  // Chronicles
    std::string problem;          // empty, or what the file gets wrong
};

// How far the light shines, in level units, from what its game stores: the fade of TR1-TR3, the
// falloff of TR4 (a spot's cut-off), the range of Chronicles (its falloff where the range is no
// distance). None for a sun, and none where the value is no positive distance within the level's
// coordinates.
std::optional<double> LightReach(const TRoomLight& light);

// Every room's lights in file order, room by room (in Chronicles each room's fog bulbs after its lights).
std::vector<TRoomLight> ReadLights(const TTombRaiderLevel& level);

}  // namespace grottix
