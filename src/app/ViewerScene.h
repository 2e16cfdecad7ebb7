#pragma once
// TGrottixViewerScene: the viewer's scene, which draws the sky after the level; and the opening of
// a level into it, shared by the window and the command line.

#include <memory>
#include <string>
#include <vector>

#include "engine/Scene.h"
#include "import/LevelImport.h"

namespace grottix {

class TGrottixViewerScene : public TD3DScene {
public:
    using TD3DScene::TD3DScene;

    // Steps the level's animated textures to the scene clock, draws the level, then (when
    // SkyTexture exists) one strip of the sky vertices.
    void RenderObjects() override;
    // Forgets the sky texture and the level's animator and items too: resetting frees them.
    void Reset() override;
    // Shows or hides every item of the level.
    void SetItemsVisible(bool visible);

    // Per room, whether the room belongs to what is shown (the flip state); empty shows every room.
    // Each frame draws the rooms shown (CellsDrawn starts from this list).
    std::vector<uint8_t> RoomsShown;

    TDirect3DTexture2* SkyTexture = nullptr;
    std::vector<TD3DLVertex> SkyVertices;
    // Left by the last level opened.
    std::unique_ptr<TTextureAnimator> TextureAnimator;
    int32_t ItemsID = 0;
    int ItemCount = 0;
};

// The floor plane added after every load: 20000 x 20000 at y = -1000, double-sided, grey.
TD3DQuadrangleInfo MakeFloorRecord();

// What opening a level does to the scene: reset, eye to the origin, import, hide unnamed objects,
// register the sky picture as "SKY" (black colour key), add the floor. The scene takes the import's
// texture animator and items. Returns the load result; a damaged level (kLevelDamaged) is opened as
// far as it could be read, its untextured faces shown.
uint8_t OpenLevelIntoScene(TGrottixViewerScene& scene, const std::string& path, float scale, float gamma,
                           const TBitmap& skyPicture, const TD3DQuadrangleInfo& floor, TImportReport* report = nullptr);

}  // namespace grottix
