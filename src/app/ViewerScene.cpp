#include "app/ViewerScene.h"

#include "device/D3DDevice.h"
#include "device/Direct3DTexture.h"
#include "level/LevelNames.h"

namespace grottix {

void TGrottixViewerScene::RenderObjects() {
    if (TextureAnimator) TextureAnimator->Advance(*this, GetTime());
    CellsDrawn = RoomsShown;
    TD3DScene::RenderObjects();
    TD3DDevice* device = Device();
    if (!SkyTexture || !device || SkyVertices.empty()) return;
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device->SetTexture(0, &SkyTexture->Surface());
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, SkyVertices.data(), uint32_t(SkyVertices.size()), 0);
}

void TGrottixViewerScene::Reset() {
    SkyTexture = nullptr;
    TextureAnimator.reset();
    ItemsID = ItemCount = 0;
    RoomsShown.clear();
    TD3DScene::Reset();
}

void TGrottixViewerScene::SetItemsVisible(bool visible) {
    if (ItemsID == 0) return;
    if (visible) ShowItems(-1, ItemsID);
    else HideItems(-1, ItemsID);
}

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
    scene.Reset();
    scene.MoveCamera({0, 0, 0});
    scene.SetCameraRotationNow({0, 0, 0});
    TImportReport ownReport;
    TImportReport& imported = report ? *report : ownReport;
    const uint8_t result = ImportTombRaiderMap(scene, path, scale, gamma, &imported);
    if (result != kLevelLoaded && result != kLevelDamaged) return result;
    scene.TextureAnimator = std::move(imported.Animator);
    scene.ItemsID = imported.ItemsID;
    scene.ItemCount = imported.Items;
    // Faces without a usable texture stay hidden, unless the level is damaged: its textures may lie
    // beyond the damage, and its rooms are then shown untextured, in their light.
    if (result == kLevelLoaded)
        for (auto& entry : scene.Objects)
            if (entry.Name.empty()) entry.Item->SetHidden(true);
    scene.SkyTexture = scene.AddTextureFromBitmap("SKY", skyPicture);
    if (scene.SkyTexture) scene.SkyTexture->Surface().SetColorKey(0);
    scene.AddObject(kKindQuadrangle, &floor);
    return result;
}

}  // namespace grottix
