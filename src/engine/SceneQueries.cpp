// Moving, turning, finding, counting, showing and hiding the items of a scene; the scene clock.

#include <chrono>

#include "engine/Scene.h"
#include "engine/StubObject.h"

namespace grottix {

template <typename Visit>
void TD3DScene::forEachMatching(int kind, int32_t id, Visit visit) {
    for (auto& entry : Objects)
        if (entry.Item->GetID() == id && (kind == kKindAny || entry.Item->GetKind() == kind)) visit(*entry.Item);
}

void TD3DScene::TranslateObjects(TD3DVector v) {
    for (auto& entry : Objects) entry.Item->Translate(v);
    Changes |= ChangedPosition | ChangedLights;
}

void TD3DScene::RotateObjects(TD3DVector angles) {
    for (auto& entry : Objects) entry.Item->Rotate(angles);
    Changes |= ChangedRotation;
}

void TD3DScene::TranslateObjectsXYZ(float x, float y, float z) {
    for (auto& entry : Objects) entry.Item->TranslateXYZ(x, y, z);
    Changes |= ChangedPosition | ChangedLights;
}

void TD3DScene::RotateObjectsXYZ(float a, float b, float c) {
    for (auto& entry : Objects) entry.Item->RotateXYZ(a, b, c);
    Changes |= ChangedRotation;
}

void TD3DScene::Translate(TD3DVector v) {
    TranslateObjects(v);
    if (IsChild) Info.Translation = Info.Translation + v;
    BoundsChanged = true;
}

void TD3DScene::Rotate(TD3DVector angles) {
    RotateObjects(angles);
    if (IsChild) Info.Rotation = Info.Rotation + angles;
    BoundsChanged = true;
}

void TD3DScene::MoveItems(int kind, int32_t id, float x, float y, float z) {
    if (kind == kKindAny) {
        forEachMatching(kKindAny, id, [&](TD3DObject& object) { object.TranslateXYZ(x, y, z); });
    } else if (kind >= 0 && kind <= 99) {
        forEachMatching(kind, id, [&](TD3DObject& object) {
            object.TranslateXYZ(x, y, z);
            object.ApplyLights(Lights);
        });
    }
    Changes |= ChangedPosition;
    BoundsChanged = true;
}

void TD3DScene::TurnItems(int kind, int32_t id, float ax, float ay, float az) {
    std::vector<TD3DObject*> turned;
    forEachMatching(kind, id, [&](TD3DObject& object) { turned.push_back(&object); });
    if (turned.empty()) return;
    const TD3DVector eye = GetCameraPosition() - GetWorldTranslation();
    const TD3DVector angles = GetCameraRotation() - GetWorldRotation();
    for (TD3DObject* object : turned) {
        TD3DVector origin;
        object->GetOrigin(origin, 0);
        object->Translate(-origin);
        object->RotateXYZ(ax, ay, az);
        object->Translate(origin);
        if (object->GetKind() == kKindStub) static_cast<TD3DStubObject*>(object)->FaceCamera(eye, angles);
        if (object->GetKind() == kKindScene) static_cast<TD3DScene*>(object)->UpdateStubs();
        object->ApplyLights(Lights);
    }
    BoundsChanged = true;
}

void TD3DScene::TurnItemsAbout(int kind, int32_t id, float ax, float ay, float az, float px, float py, float pz) {
    std::vector<TD3DObject*> turned;
    forEachMatching(kind, id, [&](TD3DObject& object) { turned.push_back(&object); });
    if (turned.empty()) return;
    const TD3DVector eye = GetCameraPosition() - GetWorldTranslation();
    const TD3DVector angles = GetCameraRotation() - GetWorldRotation();
    const TD3DVector pivot{px, py, pz};
    for (TD3DObject* object : turned) {
        object->Translate(-pivot);
        object->RotateXYZ(ax, ay, az);
        object->Translate(pivot);
        if (object->GetKind() == kKindStub) static_cast<TD3DStubObject*>(object)->FaceCamera(eye, angles);
        if (object->GetKind() == kKindScene) static_cast<TD3DScene*>(object)->UpdateStubs();
        object->ApplyLights(Lights);
    }
    BoundsChanged = true;
}

int TD3DScene::GetObjectsOfID(int32_t id, std::vector<TD3DObject*>& list) {
    int found = 0;
    forEachMatching(kKindAny, id, [&](TD3DObject& object) {
        list.push_back(&object);
        ++found;
    });
    return found;
}

int TD3DScene::GetItemsOf(int kind, int32_t id, std::vector<TSceneItemRef>& list) {
    const size_t before = list.size();
    forEachMatching(kind, id, [&](TD3DObject& object) { list.emplace_back(&object); });
    for (auto& entry : DataItems)
        if (entry.Item->GetID() == id && (kind == kKindAny || kind == kKindData)) list.emplace_back(entry.Item.get());
    for (auto& entry : Actions)
        if (entry.Item->GetID() == id && (kind == kKindAny || kind == entry.Item->GetKind())) list.emplace_back(entry.Item.get());
    for (auto& light : Lights)
        if (light->GetID() == id && (kind == kKindAny || kind == kKindLight)) list.emplace_back(light.get());
    return int(list.size() - before);
}

int TD3DScene::CountItems(int kind) const {
    if (kind == kKindAny) return int(Objects.size() + DataItems.size() + Actions.size() + Lights.size());
    int count = 0;
    for (const auto& entry : Objects) count += entry.Item->GetKind() == kind;
    if (kind == kKindData) count += int(DataItems.size());
    for (const auto& entry : Actions) count += entry.Item->GetKind() == kind;
    if (kind == kKindLight) count += int(Lights.size());
    return count;
}

void TD3DScene::ShowItems(int kind, int32_t id) {
    forEachMatching(kind, id, [](TD3DObject& object) { object.SetHidden(false); });
}

void TD3DScene::HideItems(int kind, int32_t id) {
    forEachMatching(kind, id, [](TD3DObject& object) { object.SetHidden(true); });
}

// ---- clock ----

double TD3DScene::TickSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double TD3DScene::GetTime() const { return TickSeconds() - StartTime - PausedTime; }

void TD3DScene::PauseClock() {
    if (Paused) return;
    Paused = true;
    PauseStart = TickSeconds();
    for (auto& child : ChildScenes) child.second->PauseClock();
}

void TD3DScene::ResumeClock() {
    if (!Paused) return;
    Paused = false;
    PausedTime += TickSeconds() - PauseStart;
    for (auto& child : ChildScenes) child.second->ResumeClock();
}

void TD3DScene::ProcessMessages() {
    if (OnProcessMessages) OnProcessMessages();
}

bool TD3DScene::IsDrawing() const {
    const TD3DScene* top = this;
    while (top->Parent) top = top->Parent;
    return top->Drawing;
}

}  // namespace grottix
