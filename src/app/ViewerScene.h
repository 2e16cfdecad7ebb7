#pragma once
// TGrottixViewerScene: the viewer's scene, which draws the sky after the level; and the opening of
// a level into it, shared by the window and the command line.

#include <string>
#include <vector>

#include "engine/Scene.h"
#include "level/LevelImport.h"

namespace grottix {

class TGrottixViewerScene : public TD3DScene {
public:
    using TD3DScene::TD3DScene;

    // The level, then (when SkyTexture exists) one strip of the sky vertices.
    void RenderObjects() override;
    // Forgets the sky texture too: resetting frees every texture.
    void Reset() override;

    TDirect3DTexture2* SkyTexture = nullptr;
    std::vector<TD3DLVertex> SkyVertices;
};

// The floor plane added after every load: 20000 x 20000 at y = -1000, double-sided, grey.
TD3DQuadrangleInfo MakeFloorRecord();

// What opening a level does to the scene: reset, eye to the origin, import, hide unnamed objects,
// register the sky picture as "SKY" (black colour key), add the floor. Returns the load result.
uint8_t OpenLevelIntoScene(TGrottixViewerScene& scene, const std::string& path, float scale, float gamma,
                           const TBitmap& skyPicture, const TD3DQuadrangleInfo& floor, TImportReport* report = nullptr);

}  // namespace grottix
