// The scene as a container: construction, the lists and the operations that add, replace and
// delete objects, lights, actions and data items.

#include "engine/Scene.h"

#include <algorithm>

#include "device/Direct3DTexture.h"
#include "engine/Polygon.h"
#include "engine/QuadrAngle.h"
#include "engine/StubObject.h"
#include "storage/Stream.h"
#include "storage/Wad.h"

namespace grottix {

TD3DScene::TD3DScene(TCustomDXDraw* display, bool isChild) { construct(display, isChild); }

TD3DScene::TD3DScene(const TD3DSceneInfo& info, TD3DScene* parent) {
    Drawing = false;
    Parent = parent;
    construct(parent ? parent->Display : nullptr, true);
    Info = info;
    readChildWorld();
    RotateObjects(Info.Rotation);
    TranslateObjects(Info.Translation);
    Refresh();
}

void TD3DScene::construct(TCustomDXDraw* display, bool isChild) {
    Construct(display, nullptr);
    PausedTime = 0;
    Paused = false;
    PauseStart = 0;
    Drawing = false;
    FrameInterval = 0.01;
    Changes = 0;
    IsChild = isChild;
    EyePosition = PreviousEyePosition = EyeRotation = PreviousEyeRotation = {};
    StartTime = TickSeconds();
    LastUpdate = -2 * FrameInterval;
    if (IsChild && Parent) {
        NearDistance = Parent->NearDistance;
        FixTextureSizes = Parent->FixTextureSizes;
        TextureQuality = Parent->TextureQuality;
        Shared = Parent->Shared;
    } else {
        Parent = nullptr;
        FixTextureSizes = true;
        NearDistance = 0.05f;
        TextureQuality = 0;
        Info = {};
        Shared = std::make_shared<TSharedSceneLists>();
    }
    Reset();
    LoadingFromWad = false;
    LoadingFromResource = false;
}

TD3DScene::~TD3DScene() {
    Clear();
    if (!IsChild || !Parent) delete Wad;
}

// ---- the scene as an object ----

void TD3DScene::CalcBounds() { Center = IsChild ? Info.Translation : TD3DVector{}; }

void TD3DScene::SetHidden(bool hidden) {
    if (hidden == Hidden) return;
    Hidden = hidden;
    for (auto& entry : Objects) entry.Item->SetHidden(hidden);
}

void TD3DScene::SetSafeMode(bool safeMode) {
    if (safeMode == SafeMode) return;
    SafeMode = safeMode;
    for (auto& entry : Objects) entry.Item->SetSafeMode(safeMode);
}

bool TD3DScene::HitsObject(TD3DObject& other) {
    return std::any_of(Objects.begin(), Objects.end(), [&](auto& entry) { return entry.Item.get() != &other && entry.Item->HitsObject(other); });
}

bool TD3DScene::HitsSphere(TD3DVector center, float radius) {
    return std::any_of(Objects.begin(), Objects.end(), [&](auto& entry) { return entry.Item->HitsSphere(center, radius); });
}

void TD3DScene::DoRender() { RenderScene(0); }

void TD3DScene::GetTextureNames(std::vector<std::string>& names) const {
    for (const auto& entry : Objects) entry.Item->GetTextureNames(names);
}

float TD3DScene::CalcDistance(TD3DVector eye) { return Distance = DistanceBetween(Info.Translation, eye); }

void TD3DScene::GetOrigin(TD3DVector& out, float offset) {
    out = Info.Translation - TD3DVector{EyePosition.x, EyePosition.y, EyePosition.z - offset};
}

void TD3DScene::ApplyLight(const TD3DSceneLight& light) {
    for (auto& entry : Objects) entry.Item->ApplyLight(light);
}

int32_t TD3DScene::GetVertexCount() const {
    int32_t sum = 0;
    for (const auto& entry : Objects) sum += entry.Item->GetVertexCount();
    return sum;
}

int32_t TD3DScene::GetTriangleCount() const {
    int32_t sum = 0;
    for (const auto& entry : Objects) sum += entry.Item->GetTriangleCount();
    return sum;
}

// ---- objects ----

std::string TD3DScene::keyNameOf(const TD3DObject& object) {
    switch (object.GetKind()) {
        case kKindQuadrangle: return static_cast<const TD3DQuadrAngle&>(object).Info.TextureName;
        case kKindStub: return static_cast<const TD3DStubObject&>(object).Info.TextureNames[0];
        case kKindPolygon: return static_cast<const TD3DPolygon&>(object).Info.TextureNames[0];
        case kKindScene: return static_cast<const TD3DScene&>(object).Info.FileName;
        default: return object.GetName();
    }
}

std::unique_ptr<TD3DObject> TD3DScene::createObject(uint8_t kind, TInfoRecordRef info) {
    switch (kind) {
        case kKindQuadrangle:
            if (const auto* r = RecordAs<TD3DQuadrangleInfo>(info)) {
                std::string name = r->TextureName;
                TDirect3DTexture2* texture = FindTexture(name);
                return std::make_unique<TD3DQuadrAngle>(Display, *r, texture);
            }
            return nullptr;
        case kKindStub:
            if (const auto* r = RecordAs<TD3DStubObjectInfo>(info)) {
                TD3DStubObjectInfo record = *r;
                const TTextureSet textures = FindTextures(record.TextureNames);
                return std::make_unique<TD3DStubObject>(Display, record, textures);
            }
            return nullptr;
        case kKindPolygon:
            if (const auto* r = RecordAs<TD3DPolygonInfo>(info)) {
                TTextureNames names = r->TextureNames;
                const TTextureSet textures = FindTextures(names);
                if (names == r->TextureNames) return std::make_unique<TD3DPolygon>(Display, *r, textures);
                TD3DPolygonInfo record = *r;
                record.TextureNames = names;
                return std::make_unique<TD3DPolygon>(Display, record, textures);
            }
            return nullptr;
        case kKindScene:
            if (const auto* r = RecordAs<TD3DSceneInfo>(info)) return std::make_unique<TD3DScene>(*r, this);
            return nullptr;
        default:
            return nullptr;
    }
}

TD3DObject* TD3DScene::AddObject(uint8_t kind, TInfoRecordRef info) {
    if (kind == kKindGenericQuadrangle || kind == kKindGenericTriangle) {
        const auto* quad = RecordAs<TD3DGenericQuadrangleInfo>(info);
        const auto* triangle = RecordAs<TD3DGenericTriangleInfo>(info);
        if ((kind == kKindGenericQuadrangle && !quad) || (kind == kKindGenericTriangle && !triangle)) return nullptr;
        TD3DPolygon* polygon = AddEmptyPolygon(quad ? quad->TextureName : triangle->TextureName, false, D3DCULL_NONE, true);
        if (polygon) polygon->Merge(kind, info);
        return polygon;
    }
    std::unique_ptr<TD3DObject> object = createObject(kind, info);
    if (!object) return nullptr;
    Modified = true;
    TD3DObject* added = object.get();
    added->Cell = CurrentCell;
    Objects.push_back({keyNameOf(*added), std::move(object)});
    RegisterSubObject(Objects.back().Name, added);
    added->SetSafeMode(SafeMode);
    UpdateMaxID();
    return added;
}

namespace {
// The texture name a record must share with a polygon's frame-0 primary name to merge, if any.
const std::string* mergeName(uint8_t kind, TInfoRecordRef info) {
    if (kind == kKindGenericQuadrangle)
        if (const auto* r = RecordAs<TD3DGenericQuadrangleInfo>(info)) return &r->TextureName;
    if (kind == kKindGenericTriangle)
        if (const auto* r = RecordAs<TD3DGenericTriangleInfo>(info)) return &r->TextureName;
    if (kind == kKindQuadrangle)
        if (const auto* r = RecordAs<TD3DQuadrangleInfo>(info)) return &r->TextureName;
    return nullptr;
}
}  // namespace

uint64_t TD3DScene::mergeKeyOf(const std::string& name) {
    if (name != mergeKeyName_) {
        mergeKeyName_ = name;
        mergeKey_ = TextKeyIgnoringCase(name);
    }
    return mergeKey_;
}

// The polygon a name key last merged into, while no object was added or removed since: the search
// from the end would find it again, for polygons only ever become less able to take faces.
TD3DPolygon* TD3DScene::lastMergeTarget(uint64_t key) {
    if (mergeTargetsCount_ != Objects.size()) {
        mergeTargets_.clear();
        mergeTargetsCount_ = Objects.size();
        return nullptr;
    }
    for (const TMergeTarget& target : mergeTargets_) {
        if (target.key != key) continue;
        TD3DObject* object = Objects[target.index].Item.get();
        if (object != target.polygon || object->GetKind() != kKindPolygon || object->Cell != CurrentCell) return nullptr;
        return target.polygon;
    }
    return nullptr;
}

void TD3DScene::rememberMergeTarget(uint64_t key, size_t index, TD3DPolygon* polygon) {
    for (TMergeTarget& target : mergeTargets_)
        if (target.key == key) {
            target = {key, index, polygon};
            return;
        }
    mergeTargets_.push_back({key, index, polygon});
}

bool TD3DScene::AddOrMergeObject(uint8_t kind, TInfoRecordRef info) {
    // Level faces come by the hundred thousand: compare name keys before the full merge test.
    const std::string* name = mergeName(kind, info);
    const uint64_t key = name ? mergeKeyOf(*name) : 0;
    if (TD3DPolygon* last = name ? lastMergeTarget(key) : nullptr)
        if (last->CanMerge(kind, info) && last->Merge(kind, info)) return true;
    for (size_t i = Objects.size(); i-- > 0;) {
        // A cell's objects lie together at the end while its faces come: the search ends at another cell.
        if (Objects[i].Item->Cell != CurrentCell) {
            if (CurrentCell >= 0) break;
            continue;
        }
        if (Objects[i].Item->GetKind() != kKindPolygon) continue;
        auto* polygon = static_cast<TD3DPolygon*>(Objects[i].Item.get());
        if ((name && polygon->NameKey != key) || polygon->KeepApart) continue;
        if (polygon->CanMerge(kind, info) && polygon->Merge(kind, info)) {
            if (name) rememberMergeTarget(key, i, polygon);
            return true;
        }
    }
    AddObject(kind, info);
    return false;
}

TD3DPolygon* TD3DScene::AddEmptyPolygon(std::string name, bool planar, int32_t cullMode, bool colorKeyed) {
    FindTexture(name);
    TD3DPolygonInfo record;
    record.ID = NextID();
    record.Color = RGB(255, 255, 255);
    record.FrameCount = 1;
    record.Passes = colorKeyed ? 16 : 0;
    record.Planar = planar;
    record.CullMode = cullMode;
    record.PrimitiveType = kTriangleList;
    record.TextureNames[0] = name;
    auto* polygon = static_cast<TD3DPolygon*>(AddObject(kKindPolygon, &record));
    if (polygon) polygon->Prelit = true;
    return polygon;
}

void TD3DScene::AddLevelPolygon(const std::vector<std::string>& names, bool planar, int32_t cullMode, bool colorKeyed) {
    PreloadLevelTextures(names);
    for (const auto& name : names) AddEmptyPolygon(name, planar, cullMode, colorKeyed);
}

TD3DObject* TD3DScene::ReplaceObject(int index, uint8_t kind, TInfoRecordRef info) {
    if (index < 0 || index >= int(Objects.size())) return nullptr;
    std::unique_ptr<TD3DObject> object = createObject(kind, info);
    if (!object) return nullptr;
    if (object->GetKind() == kKindStub)
        static_cast<TD3DStubObject&>(*object).FaceCamera(GetCameraPosition(), GetCameraRotation());
    Modified = true;
    auto& entry = Objects[size_t(index)];
    entry.Name = keyNameOf(*object);
    entry.Item = std::move(object);
    TD3DObject* replaced = entry.Item.get();
    RebuildSubLists();
    InvalidateAll();
    UpdateMaxID();
    return replaced;
}

void TD3DScene::DeleteObject(int index) {
    if (index < 0 || index >= int(Objects.size())) return;
    Objects.erase(Objects.begin() + index);
    Modified = true;
    RebuildSubLists();
}

void TD3DScene::DeleteUnstoredObjects() {
    for (int i = int(Objects.size()) - 1; i >= 0; --i)
        if (!Objects[size_t(i)].Item->Stored) DeleteObject(i);
}

void TD3DScene::DeleteEmptyPolygons() {
    for (int i = int(Objects.size()) - 1; i >= 0; --i) {
        const TD3DObject& object = *Objects[size_t(i)].Item;
        if (object.GetKind() == kKindPolygon && static_cast<const TD3DPolygon&>(object).Count == 0)
            Objects.erase(Objects.begin() + i);
    }
    RebuildSubLists();
}

void TD3DScene::SplitPolygon(int index, bool deleteSplit, bool markPosition) {
    if (index < 0 || index >= int(Objects.size()) || Objects[size_t(index)].Item->GetKind() != kKindPolygon) return;
    const auto records = static_cast<const TD3DPolygon&>(*Objects[size_t(index)].Item).Split();
    for (const auto& record : records) AddObject(kKindPolygon, &record);
    if (deleteSplit) DeleteObject(index);
    if (markPosition) Changes |= ChangedPosition;
    Modified = true;
}

void TD3DScene::SplitAllPolygons() {
    const int count = int(Objects.size());
    for (int i = 0; i < count; ++i) SplitPolygon(i, false, false);
    TStack polygons;
    for (int i = 0; i < count; ++i)
        if (Objects[size_t(i)].Item->GetKind() == kKindPolygon) polygons.Push(i);
    while (const auto index = polygons.Pop()) DeleteObject(*index);
    Changes |= ChangedPosition;
}

// ---- lights ----

void TD3DScene::AddLight(const TD3DSceneLightInfo& info) {
    Lights.push_back(std::make_unique<TD3DSceneLight>(info));
    ApplyLight(*Lights.back());
    Changes |= ChangedLights;
    Modified = true;
    UpdateMaxID();
}

void TD3DScene::DeleteLight(int index) {
    if (index < 0 || index >= int(Lights.size())) return;
    Lights.erase(Lights.begin() + index);
    Changes |= ChangedLights;
    Modified = true;
}

void TD3DScene::ReplaceLight(int index, const TD3DSceneLightInfo& info) {
    if (Lights.empty() || index < 0 || index >= int(Lights.size())) return;
    Lights[size_t(index)] = std::make_unique<TD3DSceneLight>(info);
    Changes |= ChangedLights;
    Modified = true;
    UpdateMaxID();
}

// ---- actions ----

void TD3DScene::AddAction(const TD3DActionInfo& info) {
    Actions.push_back({"", std::make_unique<TD3DAction>(info, this)});
    Modified = Modified || !info.Finished;
    UpdateMaxID();
}

void TD3DScene::DeleteAction(int index) {
    if (index < 0 || index >= int(Actions.size())) return;
    Modified = Modified || !Actions[size_t(index)].Item->Info.Finished;
    Actions.erase(Actions.begin() + index);
}

void TD3DScene::ReplaceAction(int index, const TD3DActionInfo& info) {
    if (index < 0 || index >= int(Actions.size())) return;
    Modified = Modified || !Actions[size_t(index)].Item->Info.Finished;
    Actions[size_t(index)].Item = std::make_unique<TD3DAction>(info, this);
    Modified = Modified || !info.Finished;
    UpdateMaxID();
}

void TD3DScene::DeleteActionsOf(int32_t id) {
    for (int i = int(Actions.size()) - 1; i >= 0; --i)
        if (Actions[size_t(i)].Item->GetID() == id) DeleteAction(i);
}

void TD3DScene::DeleteFinishedActions() {
    for (int i = int(Actions.size()) - 1; i >= 0; --i)
        if (Actions[size_t(i)].Item->Info.Finished) DeleteAction(i);
}

// ---- data items ----

void TD3DScene::AddData(const TCustomDataInfo& info) {
    std::string name = info.Name;
    TStream* stream = OpenDataStream(name);
    DataItems.push_back({info.Name, std::make_unique<TCustomData>(info, stream)});
    Modified = true;
    UpdateMaxID();
}

void TD3DScene::DeleteData(int index) {
    if (index < 0 || index >= int(DataItems.size())) return;
    DataItems.erase(DataItems.begin() + index);
    Modified = true;
}

void TD3DScene::ReplaceData(int index, const TCustomDataInfo& info) {
    if (index < 0 || index >= int(DataItems.size())) return;
    const TCustomDataInfo old = DataItems[size_t(index)].Item->Info;
    auto& entry = DataItems[size_t(index)];
    entry.Name = info.Name;
    entry.Item.reset();
    std::string name = info.Name;
    TStream* stream = OpenDataStream(name);
    entry.Item = std::make_unique<TCustomData>(info, stream);
    Modified = Modified || old.Name != info.Name || old.ID != info.ID;
    UpdateMaxID();
}

// ---- clearing, sub-lists, IDs ----

namespace {
// Frees every item; an error while freeing one does not stop the others.
template <typename List>
void freeAll(List& list) {
    for (auto& entry : list) {
        try {
            if constexpr (requires { entry.Item; }) entry.Item.reset();
            else entry.reset();
        } catch (...) {
        }
    }
    list.clear();
}
}  // namespace

void TD3DScene::ClearObjects() {
    freeAll(Objects);
    freeAll(DataItems);
    freeAll(Actions);
    freeAll(Lights);
    ClearSubLists();
    CurrentCell = -1;
    CellsDrawn.clear();
}

void TD3DScene::Clear() {
    ClearObjects();
    if (!IsChild && Shared) {
        freeAll(Shared->Textures);
        freeAll(Shared->Streams);
    }
}

void TD3DScene::Reset() {
    FileName.clear();
    IDCounter() = 0;
    Clear();
    Modified = false;
}

void TD3DScene::ClearSubLists() {
    ChildScenes.clear();
    Stubs.clear();
}

void TD3DScene::RebuildSubLists() {
    ClearSubLists();
    for (auto& entry : Objects) RegisterSubObject(entry.Name, entry.Item.get());
}

bool TD3DScene::RegisterSubObject(const std::string& name, TD3DObject* object) {
    if (object->GetKind() == kKindScene) {
        ChildScenes.emplace_back(name, static_cast<TD3DScene*>(object));
        return true;
    }
    if (object->GetKind() == kKindStub) {
        Stubs.emplace_back(name, static_cast<TD3DStubObject*>(object));
        return true;
    }
    return false;
}

void TD3DScene::UpdateMaxID() {
    int32_t& counter = IDCounter();
    if (!IsChild && !Parent) counter = 0;
    for (const auto& entry : Objects) counter = std::max(counter, entry.Item->GetID());
    for (const auto& entry : DataItems) counter = std::max(counter, entry.Item->GetID());
    for (const auto& light : Lights) counter = std::max(counter, light->GetID());
}

}  // namespace grottix
