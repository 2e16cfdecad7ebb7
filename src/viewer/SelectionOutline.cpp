#include "viewer/SelectionOutline.h"

#include <array>

#include "device/D3DDevice.h"
#include "device/TextureScope.h"

namespace grottix {

void DrawBoxOutline(TD3DDevice& device, const TSceneBox& box, uint32_t colour) {
    if (box.Empty()) return;
    const auto corner = [&](int bits) {
        TD3DLVertex v;
        v.x = bits & 1 ? box.max.x : box.min.x;
        v.y = bits & 2 ? box.max.y : box.min.y;
        v.z = bits & 4 ? box.max.z : box.min.z;
        v.color = colour;
        return v;
    };
    // Corners numbered by which coordinates are at the maximum (bit 0 x, bit 1 y, bit 2 z): the
    // edges join corners that differ in one bit.
    std::array<TD3DLVertex, 24> lines;
    size_t n = 0;
    for (int from = 0; from < 8; ++from)
        for (int bit = 1; bit < 8; bit <<= 1)
            if (!(from & bit)) {
                lines[n++] = corner(from);
                lines[n++] = corner(from | bit);
            }
    DrawLinesOverEverything(device, lines.data(), lines.size());
}

void DrawLinesOverEverything(TD3DDevice& device, const TD3DLVertex* lines, size_t count) {
    const uint32_t depth = device.GetRenderState(D3DRENDERSTATE_ZENABLE);
    const uint32_t blend = device.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE);
    device.SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    {
        TTextureScope untextured(device, nullptr);
        device.DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX, lines, uint32_t(count), 0);
    }
    device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blend);
    device.SetRenderState(D3DRENDERSTATE_ZENABLE, depth);
}

}  // namespace grottix
