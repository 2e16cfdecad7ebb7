#pragma once
// Turns the device state of one draw into the snapshot the rasterizer stages read.

#include "device/DeviceState.h"
#include "device/raster/RasterTypes.h"

namespace grottix::raster {

TDrawState BuildDrawState(const TD3DDeviceState& state, const TSurfaceDesc& surface);

// The vertex colour lighting gives when no lights are set: emissive + ambient x material ambient,
// alpha from the material's diffuse alpha; every component in 0..255.
void UnlitVertexColor(const TD3DDeviceState& state, float rgba[4]);

}  // namespace grottix::raster
