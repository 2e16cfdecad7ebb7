#pragma once
// Translucent squares drawn over the level's floors: the trigger and kill squares of View > Show
// Triggers and the selected square. Built from the floor data per room, drawn after the level's
// objects for the rooms drawn, blended by their alpha, without writing depth.

#include <cstdint>
#include <vector>

#include "device/D3DTypes.h"
#include "level/FloorData.h"

namespace grottix {

class TD3DDevice;
struct TRoomRecord;

// One square of a room lying a little above its floor, as two triangles in scene units (level
// units divided by scale, y up). argb: colour and opacity.
void AddSquareOverlay(std::vector<TD3DLVertex>& out, const TRoomRecord& room, const TSectorFloor& square, int x, int z,
                      float scale, uint32_t argb);
// A frame along the square's edges (a tenth of the square wide), leaving its middle as it is.
void AddSquareFrame(std::vector<TD3DLVertex>& out, const TRoomRecord& room, const TSectorFloor& square, int x, int z,
                    float scale, uint32_t argb);
// The trigger squares (by type) and kill squares of every room.
std::vector<std::vector<TD3DLVertex>> TriggerOverlay(const std::vector<TRoomRecord>& rooms, const TLevelFloorData& floor,
                                                     float scale);
// Draws each room's triangles when cellsDrawn says the room is drawn (empty: every room).
void DrawSceneOverlay(TD3DDevice& device, const std::vector<std::vector<TD3DLVertex>>& overlay,
                      const std::vector<uint8_t>& cellsDrawn);

}  // namespace grottix
