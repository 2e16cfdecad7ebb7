#include "device/RecordingDevice.h"

#include <algorithm>

#include "device/DirectDrawSurface.h"

namespace grottix {

namespace {

const char* nameOf(TDeviceCall::TKind kind) {
    switch (kind) {
        case TDeviceCall::TKind::SetRenderState: return "SetRenderState";
        case TDeviceCall::TKind::SetTextureStageState: return "SetTextureStageState";
        case TDeviceCall::TKind::SetTransform: return "SetTransform";
        case TDeviceCall::TKind::SetViewport: return "SetViewport";
        case TDeviceCall::TKind::SetMaterial: return "SetMaterial";
        case TDeviceCall::TKind::Clear: return "Clear";
        case TDeviceCall::TKind::BeginScene: return "BeginScene";
        case TDeviceCall::TKind::EndScene: return "EndScene";
        case TDeviceCall::TKind::SetTexture: return "SetTexture";
        case TDeviceCall::TKind::DrawPrimitive: return "DrawPrimitive";
    }
    return "?";
}

}  // namespace

std::string TDeviceCall::ToString() const {
    std::string line = nameOf(kind);
    auto add = [&line](uint64_t value) { line += ' ' + std::to_string(value); };
    switch (kind) {
        case TKind::SetRenderState: add(a); add(b); break;
        case TKind::SetTextureStageState:
        case TKind::DrawPrimitive: add(a); add(b); add(c); break;
        case TKind::SetTransform: add(a); break;
        case TKind::SetViewport: add(viewport.dwX); add(viewport.dwY); add(viewport.dwWidth); add(viewport.dwHeight); break;
        case TKind::Clear: add(a); add(b); break;
        case TKind::SetTexture: add(a); line += texture ? " texture" : " none"; break;
        default: break;
    }
    return line;
}

TDeviceCall& TRecordingDevice::record(TDeviceCall::TKind kind, uint32_t a, uint32_t b, uint32_t c) {
    TDeviceCall call;
    call.kind = kind;
    call.a = a;
    call.b = b;
    call.c = c;
    calls_.push_back(std::move(call));
    return calls_.back();
}

bool TRecordingDevice::SetRenderState(TD3DRenderStateType state, uint32_t value) {
    record(TDeviceCall::TKind::SetRenderState, state, value);
    return TD3DStateDevice::SetRenderState(state, value);
}

bool TRecordingDevice::SetTextureStageState(uint32_t stage, TD3DTextureStageStateType type, uint32_t value) {
    record(TDeviceCall::TKind::SetTextureStageState, stage, type, value);
    return TD3DStateDevice::SetTextureStageState(stage, type, value);
}

bool TRecordingDevice::SetTransform(TD3DTransformStateType type, const TD3DMatrix& matrix) {
    record(TDeviceCall::TKind::SetTransform, type).matrix = matrix;
    return TD3DStateDevice::SetTransform(type, matrix);
}

// Any viewport is taken: the recorder keeps what it was asked for, surface or not.
bool TRecordingDevice::SetViewport(const TD3DViewport7& viewport) {
    record(TDeviceCall::TKind::SetViewport).viewport = viewport;
    return TD3DStateDevice::SetViewport(viewport);
}

void TRecordingDevice::ReadBackBuffer(uint32_t* pixels) {
    std::fill_n(pixels, size_t(surface_.width) * size_t(surface_.height), 0xFF000000u);
}

bool TRecordingDevice::SetMaterial(const TD3DMaterial7& material) {
    record(TDeviceCall::TKind::SetMaterial).material = material;
    return TD3DStateDevice::SetMaterial(material);
}

bool TRecordingDevice::Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
                             uint32_t /*stencil*/) {
    TDeviceCall& call = record(TDeviceCall::TKind::Clear, flags, color);
    if (rects) call.rects.assign(rects, rects + count);
    call.z = z;
    return true;
}

bool TRecordingDevice::BeginScene() {
    record(TDeviceCall::TKind::BeginScene);
    return TD3DStateDevice::BeginScene();
}

bool TRecordingDevice::EndScene() {
    record(TDeviceCall::TKind::EndScene);
    return TD3DStateDevice::EndScene();
}

bool TRecordingDevice::SetTexture(uint32_t stage, TDirectDrawSurface* texture) {
    record(TDeviceCall::TKind::SetTexture, stage).texture = texture;
    return TD3DStateDevice::SetTexture(stage, texture);
}

bool TRecordingDevice::DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices,
                                     uint32_t count, uint32_t /*flags*/) {
    TDeviceCall& call = record(TDeviceCall::TKind::DrawPrimitive, type, vertexFormat, count);
    call.texture = GetTexture(0);
    if (call.texture) call.textureKey = call.texture->ColorKey();
    call.renderStates = state_.renderStates;
    if (vertexFormat != D3DFVF_LVERTEX || !vertices) return false;
    const auto* first = static_cast<const TD3DLVertex*>(vertices);
    call.vertices.assign(first, first + count);
    return true;
}

std::vector<std::string> TRecordingDevice::Lines() const {
    std::vector<std::string> lines;
    for (const TDeviceCall& call : calls_) lines.push_back(call.ToString());
    return lines;
}

}  // namespace grottix
