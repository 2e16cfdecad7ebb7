#include "engine/D3DObject.h"

#include <algorithm>
#include <cmath>

#include "device/CustomDXDraw.h"
#include "device/D3DDevice.h"
#include "device/Direct3DTexture.h"
#include "engine/SceneItems.h"

namespace grottix {

TD3DObject::~TD3DObject() = default;

void TD3DObject::Construct(TCustomDXDraw* display, TDirect3DTexture2* texture) {
    SafeMode = false;
    BoundsChanged = true;
    Hidden = false;
    Stored = true;
    Radius = 0;
    Center = {};
    Prelit = IsPrelit();
    ++IDCounter();
    Display = display;
    Texture = texture;
    OwnsTexture = texture == nullptr;
    InitObject();
}

void TD3DObject::MakeOwnTexture(TColor color) { MakeOwnTexture({color, color, color, color}); }

void TD3DObject::MakeOwnTexture(const std::array<TColor, 4>& colors) {
    Picture = TBitmap(2, 2, TPixelFormat::pf24bit);
    Picture.SetPixel(0, 0, colors[0]);
    Picture.SetPixel(1, 0, colors[1]);
    Picture.SetPixel(0, 1, colors[2]);
    Picture.SetPixel(1, 1, colors[3]);
    ownTexture_ = std::make_unique<TDirect3DTexture2>(Display, Picture);
    Texture = ownTexture_.get();
}

TD3DDevice* TD3DObject::Device() const { return Display ? Display->D3DDevice7() : nullptr; }

float TD3DObject::GetRadius() {
    if (BoundsChanged) {
        CalcBounds();
        BoundsChanged = false;
    }
    return Radius;
}

TD3DVector TD3DObject::GetCenter() {
    if (BoundsChanged) {
        CalcBounds();
        BoundsChanged = false;
    }
    return Center;
}

bool TD3DObject::HitsObject(TD3DObject& other) {
    if (other.GetKind() == kKindScene) return other.HitsObject(*this);
    return HitsSphere(other.GetCenter(), other.GetRadius());
}

bool TD3DObject::HitsSphere(TD3DVector center, float radius) {
    return GetRadius() + radius > DistanceBetween(GetCenter(), center);
}

bool TD3DObject::HitsPath(TD3DVector start, TD3DVector end, TD3DVector& out, float radius) {
    const TD3DVector d = end - start;
    const float length = VectorLength(d);
    if (length < 1e-5f) {
        const bool hit = HitsSphere(start, radius);
        out = hit ? start : end;
        return hit;
    }
    const int steps = int(std::trunc(length / (std::fabs(radius) + GetRadius() + 1e-5f))) + 1;
    const TD3DVector step = d / float(steps);
    for (int k = 0; k <= steps; ++k) {
        const TD3DVector point = start + step * float(k);
        if (HitsSphere(point, radius)) {
            out = point;
            return true;
        }
    }
    out = end;
    return false;
}

void TD3DObject::Render() {
    const bool draw = OnBeforeRender ? OnBeforeRender(Display) && !Hidden : !Hidden;
    if (draw) DoRender();
    if (OnAfterRender) OnAfterRender(Display);
}

bool TD3DObject::IsSameObject(const TD3DObject& other) const {
    return other.GetID() == GetID() && other.GetKind() == GetKind();
}

void TD3DObject::ApplyLights(const std::vector<std::unique_ptr<TD3DSceneLight>>& lights) {
    for (const auto& light : lights)
        if (light) ApplyLight(*light);
}

int TD3DTimingObject::FrameAt(int16_t frameCount, float framePeriod) const {
    if (framePeriod == 0 || frameCount <= 0) return 0;
    const double frame = std::trunc(double(frameCount) * Time / framePeriod);
    if (!std::isfinite(frame)) return 0;
    const auto index = int64_t(std::fmod(frame, double(frameCount)));
    return int(index < 0 ? index + frameCount : index);
}

void AddTextureName(std::vector<std::string>& names, const std::string& name) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

void SetKeyedTexture(TD3DDevice& device, TDirect3DTexture2* texture) {
    if (texture) texture->Surface().SetColorKey(0);
    SetPlainTexture(device, texture);
}

void SetPlainTexture(TD3DDevice& device, TDirect3DTexture2* texture) {
    device.SetTexture(0, texture ? &texture->Surface() : nullptr);
}

void DrawPasses(TD3DDevice& device, uint8_t passes, TDirect3DTexture2* primary, TDirect3DTexture2* secondary,
                TD3DPrimitiveType type, const TD3DLVertex* vertices, uint32_t count) {
    const auto draw = [&] { device.DrawPrimitive(type, D3DFVF_LVERTEX, vertices, count, 0); };
    if (passes >= 16 && primary == secondary) {
        SetKeyedTexture(device, primary);
        draw();
    } else if (passes >= 16) {
        device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_INVSRCCOLOR);
        device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_SRCCOLOR);
        SetPlainTexture(device, secondary);
        draw();
        device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_INVDESTCOLOR);
        device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCCOLOR);
        SetPlainTexture(device, primary);
        draw();
    } else {
        device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        SetPlainTexture(device, primary);
        device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_INVSRCCOLOR);
        device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_SRCCOLOR);
        for (int pass = 0; pass < passes; ++pass) draw();
    }
    device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
}

namespace {
// Rounds half to even, as the lighting rule asks.
uint8_t roundChannel(float value) { return uint8_t(std::clamp(std::nearbyint(value), 0.0f, 255.0f)); }
}  // namespace

void LightVertex(TD3DLVertex& vertex, TColor base, const TD3DSceneLight& light) {
    const TD3DSceneLightInfo& info = light.Info;
    const float d = DistanceBetween({vertex.x, vertex.y, vertex.z}, {info.X, info.Y, info.Z});
    if (info.Range > 0 && d <= info.Range) {
        if (info.LightKind == 0) {
            const float t = d / info.Range, f = 1 - t;
            const auto mix = [&](uint8_t b, uint8_t c) { return roundChannel(f * b + t * c); };
            vertex.color = DeviceColor(RGB(mix(GetRValue(base), GetRValue(info.Color)), mix(GetGValue(base), GetGValue(info.Color)),
                                           mix(GetBValue(base), GetBValue(info.Color))));
            vertex.specular = DeviceColor(RGB(roundChannel(f * GetRValue(info.SpecularColor)),
                                              roundChannel(f * GetGValue(info.SpecularColor)),
                                              roundChannel(f * GetBValue(info.SpecularColor))));
        } else if (info.LightKind == 1) {
            vertex.color = DeviceColor(info.Color);
            vertex.specular = DeviceColor(info.SpecularColor);
        }
        return;
    }
    vertex.color = DeviceColor(base);
    vertex.specular = 0;
}

}  // namespace grottix
