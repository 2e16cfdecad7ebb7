#pragma once
// The fly-by cameras of TR4 and Chronicles (40 bytes each): the points of the camera paths a fly-by
// trigger plays, each with its sequence, its place in it, where it is and looks, field of view, roll,
// timer, speed, flags and room.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TFlybyCamera {
    size_t index = 0;                // in the table
    uint8_t sequence = 0;            // the path it belongs to
    uint8_t number = 0;              // its place in that path, from 0
    int32_t x = 0, y = 0, z = 0;     // level units, absolute, y down
    std::array<int32_t, 3> lookAt{};  // what it looks at, as stored
    uint16_t fov = 0;                // 65536 to a full turn
    int16_t roll = 0;                // the same
    uint16_t timer = 0, speed = 0, flags = 0;
    uint32_t room = 0;
    std::string problem;             // empty, or what the file gets wrong
};

// The fly-by cameras in file order; none before TR4.
std::vector<TFlybyCamera> ReadFlybyCameras(const TTombRaiderLevel& level);

}  // namespace grottix
