#include "viewer/ViewerScene.h"

#include <algorithm>

#include "device/D3DDevice.h"
#include "device/Direct3DTexture.h"
#include "import/WaterTint.h"
#include "level/LevelNames.h"
#include "level/LevelSpace.h"
#include "viewer/SceneBackdrop.h"
#include "viewer/SceneOverlay.h"
#include "viewer/SelectionOutline.h"

namespace grottix {

namespace {

constexpr float kSkyCentreHeight = 2000;  // the generated sky's ellipsoid is centred this high

}  // namespace

void TGrottixViewerScene::RenderObjects() {
    const double now = LevelTime();
    if (TextureAnimator) {
        if (!TextureAnimator->Started()) TextureAnimator->Advance(*this, 0);  // the cycle starts at the level's 0
        TextureAnimator->Advance(*this, now);
    }
    const bool fromAbove = !RoomsHidden.empty();
    ChooseCellsDrawn(RoomsVisible(), Level ? std::optional<int32_t>(fromAbove ? -1 : EyeRoom()) : std::nullopt);
    if (ItemAnimator) ItemAnimator->PoseAt(*this, itemsAnimated_ ? now : 0);
    TD3DDevice* device = Device();
    if (device && DrawsLevelSky()) {
        // The generated sky fills the directions the level's own leaves open (a horizon band alone,
        // or see-through texels), so that no direction without a room face shows black.
        if (SkyTexture) DrawStripAroundEye(*device, &SkyTexture->Surface(), SkyVertices, kSkyCentreHeight);
        DrawAroundEye(*device, LevelSky);
    }
    TD3DScene::RenderObjects();
    if (!device) return;
    DrawSceneOverlay(*device, Overlay, CellsDrawn);
    if (SkyTexture && !SkyVertices.empty() && !DrawsLevelSky()) {
        device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device->SetTexture(0, &SkyTexture->Surface());
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, SkyVertices.data(), uint32_t(SkyVertices.size()), 0);
    }
    if (EyeUnderWater()) TintView(*device, UnderwaterTint);
    DrawPlacementMarks(*device, Marks);
    if (Outlined) DrawBoxOutline(*device, *Outlined);
    if (Measure) DrawMeasure(*device, *Measure);
}

void TGrottixViewerScene::SetProjection(const TViewProjection& projection) {
    Projection = projection;
    if (TD3DDevice* device = Device()) device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, ProjectionMatrix(Projection, NearDistance));
}

std::vector<uint8_t> TGrottixViewerScene::RoomsVisible() const {
    if (RoomsHidden.empty()) return RoomsShown;
    std::vector<uint8_t> visible = RoomsShown;
    if (visible.empty()) visible.assign(RoomsHidden.size(), 1);
    for (size_t room = 0; room < visible.size() && room < RoomsHidden.size(); ++room)
        if (RoomsHidden[room]) visible[room] = 0;
    return visible;
}

double TGrottixViewerScene::LevelTime() {
    if (fixedTime_) return *fixedTime_;
    if (clockStart_ >= 0) return GetTime() - clockStart_;
    clockStart_ = GetTime();
    return 0;
}

void TGrottixViewerScene::SetItemsAnimated(bool animated) { itemsAnimated_ = animated; }

bool TGrottixViewerScene::ItemsMoveInView() const {
    return itemsAnimated_ && ItemAnimator && ItemAnimator->AnyInView(*this);
}

void TGrottixViewerScene::SetFlipState(TFlipState state) {
    FlipState = state;
    RoomsShown = Flips.RoomsShown(state);
}

int TGrottixViewerScene::EyeRoom() const {
    if (!Level) return -1;
    const TD3DVector eye = GetCameraPosition();
    std::vector<uint8_t> visible = RoomsVisible();
    if (eyeRoom_ != -2 && eye == eyeRoomAt_ && visible == eyeRoomShown_) return eyeRoom_;
    const double scale = LevelScale;
    // The room the eye was in keeps it where two rooms' open spaces meet.
    eyeRoom_ = RoomHoldingPoint(*Level, visible, eye.x * scale, -eye.y * scale, eye.z * scale, std::max(eyeRoom_, -1));
    eyeRoomAt_ = eye;
    eyeRoomShown_ = std::move(visible);
    return eyeRoom_;
}

std::optional<TItemExtent> TGrottixViewerScene::ItemExtent(int entity) const {
    const auto drawn = ItemBounds.find(entity);
    if (drawn == ItemBounds.end() || drawn->second.Empty()) return std::nullopt;
    const TSceneBox& box = drawn->second;
    const double scale = LevelScale;
    const TD3DVector middle = (box.min + box.max) * 0.5f;
    return TItemExtent{middle.x * scale, -middle.y * scale, middle.z * scale, VectorLength(box.max - box.min) / 2 * scale};
}

bool TGrottixViewerScene::EyeUnderWater() const {
    const int room = EyeRoom();
    return room >= 0 && RoomVolumes[size_t(room)].water;
}

void TGrottixViewerScene::Reset() {
    SkyTexture = nullptr;
    TextureAnimator.reset();
    ItemAnimator.reset();
    clockStart_ = -1;
    ItemsID = PlayerID = ItemCount = 0;
    RoomsShown.clear();
    RoomsHidden.clear();
    Measure.reset();
    Level.reset();
    Overlay.clear();
    Marks.Clear();
    ItemBounds.clear();
    Outlined.reset();
    LevelVersionCode = 0;
    Flips = {};
    FlipState = {};
    RoomVolumes.clear();
    LevelSky.clear();
    eyeRoom_ = -2;
    TD3DScene::Reset();
}

void TGrottixViewerScene::SetItemsVisible(bool visible) {
    if (ItemsID == 0) return;
    if (visible) ShowItems(-1, ItemsID);
    else HideItems(-1, ItemsID);
}

void TGrottixViewerScene::SetLaraVisible(bool visible) {
    laraVisible_ = visible;
    if (PlayerID == 0) return;
    if (visible) ShowItems(-1, PlayerID);
    else HideItems(-1, PlayerID);
}

namespace {

// The sky's objects leave the scene's own drawing (hidden) and are drawn around the eye instead;
// the untextured ones stay out, as the level's do.
void collectLevelSky(TGrottixViewerScene& scene, int32_t skyID) {
    if (skyID == 0) return;
    for (auto& entry : scene.Objects) {
        if (entry.Item->GetID() != skyID || entry.Item->GetKind() != kKindPolygon) continue;
        if (!entry.Name.empty()) scene.LevelSky.push_back(entry.Item.get());
        entry.Item->SetHidden(true);
    }
}

}  // namespace

TD3DQuadrangleInfo MakeFloorRecord() {
    TD3DQuadrangleInfo floor;
    floor.ID = 1;
    floor.Corners = {TD3DVector{-10000, -1000, 10000}, {10000, -1000, 10000}, {-10000, -1000, -10000}, {10000, -1000, -10000}};
    floor.Flags = 1;
    floor.Colors = {RGB(192, 192, 192), RGB(192, 192, 192), RGB(192, 192, 192), RGB(192, 192, 192)};
    return floor;
}

uint8_t OpenLevelIntoScene(TGrottixViewerScene& scene, const std::string& path, float scale, float gamma,
                           const TBitmap& skyPicture, const TD3DQuadrangleInfo& floor, TImportReport* report) {
    TImportReport ownReport;
    TImportReport& imported = report ? *report : ownReport;
    std::shared_ptr<TTombRaiderLevel> level;
    const uint8_t result = ReadLevelFile(path, level, imported);
    // A file that is no level leaves the scene as it was.
    if (result != kLevelLoaded && result != kLevelDamaged) return result;
    scene.Reset();
    scene.MoveCamera({0, 0, 0});
    scene.SetCameraRotationNow({0, 0, 0});
    ImportReadLevel(scene, std::move(level), scale, gamma, imported);
    scene.TextureAnimator = std::move(imported.Animator);
    scene.ItemsID = imported.ItemsID;
    scene.PlayerID = imported.PlayerID;
    scene.ItemCount = imported.Items;
    scene.Level = std::move(imported.Level);
    scene.ItemBounds = std::move(imported.ItemBounds);
    scene.ItemAnimator = std::make_unique<TItemAnimator>(scene.Level, imported.ItemSpans, scale);
    scene.LevelVersionCode = imported.VersionCode;
    scene.Flips = std::move(imported.Flips);
    scene.SetFlipState({});
    scene.RoomVolumes = std::move(imported.Rooms);
    scene.LevelScale = scale;
    scene.UnderwaterTint = UnderwaterViewTint(imported.VersionCode);
    // Faces without a usable texture stay hidden, unless the level is damaged: its textures may lie
    // beyond the damage, and its rooms are then shown untextured, in their light.
    if (result == kLevelLoaded)
        for (auto& entry : scene.Objects)
            if (entry.Name.empty()) entry.Item->SetHidden(true);
    scene.SetLaraVisible(scene.LaraVisible());
    collectLevelSky(scene, imported.SkyID);
    scene.SkyTexture = scene.AddTextureFromBitmap("SKY", skyPicture);
    if (scene.SkyTexture) scene.SkyTexture->Surface().SetColorKey(0);
    scene.AddObject(kKindQuadrangle, &floor);
    return result;
}

}  // namespace grottix
