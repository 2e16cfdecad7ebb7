#include "viewer/SceneOverlay.h"

#include <algorithm>
#include <iterator>

#include "device/D3DDevice.h"
#include "level/LevelTypes.h"

namespace grottix {

namespace {

// Lifted this far (level units) above the floor, so that the square never fights the floor's depth.
constexpr float kLift = 12;

uint32_t triggerColour(const TSectorFloor& square, const TLevelFloorData& floor) {
    if (square.kill) return 0x90E02020;
    const int type = floor.triggers[size_t(square.triggers.front())].type;
    static const uint32_t colours[] = {0x90F0A020, 0x90F0E040, 0x90D040D0, 0x9040D060, 0x9040D0E0, 0x90A06030};
    return colours[size_t(type) % std::size(colours)];
}

// A rectangle of the square from (u0, v0) to (u1, v1), in fractions of the square along x and z.
void addPart(std::vector<TD3DLVertex>& out, const TRoomRecord& room, const TSectorFloor& square, int x, int z, float scale,
             uint32_t argb, float u0, float v0, float u1, float v1) {
    const float size = float(kSectorSize) / scale;
    const float left = float(room.x + x * kSectorSize) / scale, front = float(room.z + z * kSectorSize) / scale;
    const float x0 = left + u0 * size, x1 = left + u1 * size, z0 = front + v0 * size, z1 = front + v1 * size;
    const float y = -(float(square.record.floor) * kClickSize - kLift) / scale;
    const auto corner = [&](float cx, float cz) {
        TD3DLVertex v;
        v.x = cx;
        v.y = y;
        v.z = cz;
        v.color = argb;
        return v;
    };
    for (const TD3DLVertex& v : {corner(x0, z0), corner(x1, z0), corner(x1, z1), corner(x0, z0), corner(x1, z1), corner(x0, z1)})
        out.push_back(v);
}

}  // namespace

void AddSquareOverlay(std::vector<TD3DLVertex>& out, const TRoomRecord& room, const TSectorFloor& square, int x, int z,
                      float scale, uint32_t argb) {
    addPart(out, room, square, x, z, scale, argb, 0, 0, 1, 1);
}

void AddSquareFrame(std::vector<TD3DLVertex>& out, const TRoomRecord& room, const TSectorFloor& square, int x, int z,
                    float scale, uint32_t argb) {
    constexpr float w = 0.1f;
    addPart(out, room, square, x, z, scale, argb, 0, 0, 1, w);
    addPart(out, room, square, x, z, scale, argb, 0, 1 - w, 1, 1);
    addPart(out, room, square, x, z, scale, argb, 0, w, w, 1 - w);
    addPart(out, room, square, x, z, scale, argb, 1 - w, w, 1, 1 - w);
}

std::vector<std::vector<TD3DLVertex>> TriggerOverlay(const std::vector<TRoomRecord>& rooms, const TLevelFloorData& floor,
                                                     float scale) {
    std::vector<std::vector<TD3DLVertex>> overlay(std::min(rooms.size(), floor.rooms.size()));
    for (size_t r = 0; r < overlay.size(); ++r) {
        const TRoomFloor& room = floor.rooms[r];
        for (size_t i = 0; i < room.sectors.size(); ++i) {
            const TSectorFloor& square = room.sectors[i];
            if (!square.record.IsWall() && (square.kill || !square.triggers.empty()))
                AddSquareOverlay(overlay[r], rooms[r], square, int(i / room.zSectors), int(i % room.zSectors), scale,
                                 triggerColour(square, floor));
        }
    }
    return overlay;
}

void DrawSceneOverlay(TD3DDevice& device, const std::vector<std::vector<TD3DLVertex>>& overlay,
                      const std::vector<uint8_t>& cellsDrawn) {
    bool started = false;
    const uint32_t alphaArgument = device.GetTextureStageState(0, D3DTSS_ALPHAARG1);
    for (size_t room = 0; room < overlay.size(); ++room) {
        if (overlay[room].empty() || (room < cellsDrawn.size() && !cellsDrawn[room])) continue;
        if (!started) {
            device.SetTexture(0, nullptr);
            device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
            device.SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 0);
            device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
            device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
            device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
            // The opacity comes from the vertices: the squares have no texture.
            device.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
            started = true;
        }
        device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, overlay[room].data(),
                             uint32_t(overlay[room].size()), 0);
    }
    if (!started) return;
    device.SetTextureStageState(0, D3DTSS_ALPHAARG1, alphaArgument);
    device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    device.SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 1);
}

}  // namespace grottix
