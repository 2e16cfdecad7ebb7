#pragma once
// The space each room takes in scene units (its sectors across, its top to its bottom) and whether
// it holds water: enough to tell which room the eye is in without keeping the level.

#include <cstdint>
#include <vector>

#include "engine/EngineTypes.h"

namespace grottix {

class TTombRaiderLevel;

struct TRoomVolume {
    TD3DVector low{}, high{};  // scene units, low <= high on every axis
    bool water = false;
};

std::vector<TRoomVolume> ReadRoomVolumes(const TTombRaiderLevel& level, float scale);

}  // namespace grottix
