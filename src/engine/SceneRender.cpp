// Drawing one frame of a scene: the change-mark driven update of the view, distance order,
// lights, and the frame sequence around the objects' own drawing.

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstring>

#include "device/CustomDXDraw.h"
#include "device/D3DDevice.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"

namespace grottix {

void TD3DScene::RenderScene(TColor background) {
    TD3DDevice* device = Device();
    const bool topLevel = !IsChild;
    try {
        double t = GetTime();
        if (t == LastFrameTime) LastFrameTime -= 0.001;
        EyeSpeed = VectorLength(EyePosition - PreviousEyePosition) / (t - LastFrameTime);
        SetObjectTimes();
        if (topLevel)
            for (auto& child : ChildScenes) child.second->Update();
        Update();
        for (size_t i = 0; i < Actions.size(); ++i) Actions[i].Item->Execute();
        if (topLevel) FramesPerSecond = (1 / (t - LastFrameTime) + FramesPerSecond) / 2;
        if (topLevel && device) {
            device->SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
            const TD3DRect whole{0, 0, Display->SurfaceWidth(), Display->SurfaceHeight()};
            const uint32_t targets = D3DCLEAR_TARGET | (Display->HasZBuffer() ? D3DCLEAR_ZBUFFER : 0);
            device->Clear(1, &whole, targets, DeviceColor(background), 1.0f, 0);
            device->SetRenderState(D3DRENDERSTATE_FILLMODE,
                                   TextureQuality == 5 ? D3DFILL_WIREFRAME : TextureQuality == 6 ? D3DFILL_POINT : D3DFILL_SOLID);
        }
        if (topLevel) {
            RenderChildren1();
            InScene = true;
            std::fesetenv(FE_DFL_ENV);
            if (device) device->BeginScene();
        }
        RenderObjects();
        if (topLevel) {
            if (device) device->EndScene();
            std::fesetenv(FE_DFL_ENV);
            InScene = false;
            RenderChildren2();
        }
        LastFrameTime = t;
    } catch (...) {
        // A failed frame is dropped silently; the device must not be left inside a scene.
        if (InScene && device) device->EndScene();
        InScene = false;
    }
}

void TD3DScene::Update() {
    if (Changes == 0) return;
    const double t = GetTime();
    const uint8_t marks = Changes & ~ChangedLights;
    const auto timedDistancePass = [&] {
        if (t - LastUpdate > FrameInterval) {
            if (NearDistance == 0) CalcDistances();
            LastUpdate = t;
        }
    };
    UpdateStubs();
    if (marks == ChangedRotation) {
        if (t - LastUpdate > FrameInterval) LastUpdate = t;
        if (!IsChild) SetupViewRotation();
    } else if (marks == ChangedPosition) {
        timedDistancePass();
        if (!IsChild) SetupViewTranslation();
    } else {
        timedDistancePass();
        if (!IsChild) {
            SetupViewRotation();
            SetupViewTranslation();
        }
    }
    if (Changes & ChangedLights) ApplyAllLights();
    Changes = 0;
}

void TD3DScene::Refresh() {
    InvalidateAll();
    Update();
}

TD3DMatrix ViewRotationMatrix(TD3DVector angles, float nearDistance) {
    const float pitch = angles.x, yaw = angles.y, roll = angles.z;
    TD3DMatrix rz, ry, p;
    rz.m[0][0] = std::cos(roll);
    rz.m[0][1] = std::sin(roll);
    rz.m[1][0] = -std::sin(roll);
    rz.m[1][1] = std::cos(roll);
    rz.m[2][2] = 1;
    rz.m[3][3] = 1;
    const float a = -yaw;
    ry.m[0][0] = std::cos(a);
    ry.m[0][2] = -std::sin(a);
    ry.m[1][1] = 1;
    ry.m[2][0] = std::sin(a);
    ry.m[2][2] = std::cos(a);
    ry.m[3][3] = 1;
    p.m[0][0] = 0.75f;
    p.m[1][1] = std::cos(pitch);
    p.m[1][2] = std::sin(pitch);
    p.m[2][1] = -std::sin(pitch);
    p.m[2][2] = std::cos(pitch);
    p.m[3][3] = 1;
    TD3DMatrix view = rz * ry * p;
    view.m[3][3] = nearDistance;
    return view;
}

void TD3DScene::SetupViewRotation() {
    if (TD3DDevice* device = Device()) device->SetTransform(D3DTRANSFORMSTATE_VIEW, ViewRotationMatrix(GetCameraRotation(), NearDistance));
}

void TD3DScene::SetupViewTranslation() {
    TD3DDevice* device = Device();
    if (!device) return;
    const TD3DVector eye = GetCameraPosition();
    TD3DMatrix world = TD3DMatrix::Identity();
    world.m[3][0] = -eye.x;
    world.m[3][1] = -eye.y;
    world.m[3][2] = -eye.z;
    device->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
}

void TD3DScene::CalcDistances() {
    const TD3DVector eye = GetCameraPosition() - GetWorldTranslation();
    for (auto& entry : Objects) entry.Item->CalcDistance(eye);
    std::stable_sort(Objects.begin(), Objects.end(),
                     [](const auto& a, const auto& b) { return a.Item->Distance > b.Item->Distance; });
}

void TD3DScene::SortByID() {
    if (NearDistance == 0) return;
    std::stable_sort(Objects.begin(), Objects.end(), [](const auto& a, const auto& b) { return a.Item->GetID() < b.Item->GetID(); });
}

void TD3DScene::SortByName() {
    if (NearDistance == 0) return;
    std::stable_sort(Objects.begin(), Objects.end(),
                     [](const auto& a, const auto& b) { return std::strcoll(a.Name.c_str(), b.Name.c_str()) < 0; });
}

void TD3DScene::SetObjectTimes() {
    const auto time = float(GetTime());
    for (auto& entry : Objects)
        if (auto* timing = dynamic_cast<TD3DTimingObject*>(entry.Item.get())) timing->Time = time;
}

void TD3DScene::UpdateStubs() {
    const TD3DVector eye = GetCameraPosition() - GetWorldTranslation();
    const TD3DVector angles = GetCameraRotation() - GetWorldRotation();
    for (auto& stub : Stubs) {
        if (stub.second->GetKind() != kKindStub) continue;
        stub.second->FaceCamera(eye, angles);
        stub.second->ApplyLights(Lights);
    }
    for (auto& child : ChildScenes) {
        child.second->UpdateStubs();
        child.second->ApplyLights(Lights);
    }
}

void TD3DScene::ApplyAllLights() {
    for (const auto& light : Lights)
        for (auto& entry : Objects) entry.Item->ApplyLight(*light);
    Changes &= ~ChangedLights;
}

void TD3DScene::RenderObjects() {
    if (Hidden) return;
    for (auto& entry : Objects)
        if (CellDrawn(entry.Item->Cell)) entry.Item->Render();
}

void TD3DScene::RenderChildren1() {
    for (auto& child : ChildScenes) child.second->RenderChildren1();
}

void TD3DScene::RenderChildren2() {
    for (auto& child : ChildScenes) child.second->RenderChildren2();
}

void TD3DScene::SetNearDistance(float distance) {
    if (distance == NearDistance) return;
    NearDistance = distance;
    Changes |= ChangedRotation;
}

void TD3DScene::PrepareScene() {
    for (auto entry = Objects.rbegin(); entry != Objects.rend(); ++entry)
        if (entry->Item->GetKind() == kKindScene) static_cast<TD3DScene&>(*entry->Item).PrepareScene();
    RebuildSubLists();
    ApplyAllLights();
    FramesPerSecond = 0;
}

void TD3DScene::RenderPass(bool drawing) {
    Drawing = drawing;
    DoRender();
    Drawing = false;
}

}  // namespace grottix
