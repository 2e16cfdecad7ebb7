#pragma once
// ImportTombRaiderMap: a level file becomes scene content. Room faces and static meshes become
// generic quadrangles and triangles merged by texture, room sprites become stubs, the entities
// become items, texture tiles become scene textures, and the eye is placed at the player's start.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "import/SceneFaceSink.h"
#include "import/RoomVolumes.h"
#include "import/TextureAnimator.h"
#include "level/FlipMaps.h"

namespace grottix {

class TD3DScene;
class TTombRaiderLevel;

// What one import did beside filling the scene: how long its steps took (seconds), where it put
// the eye, the items it drew, and the animator of the level's animated textures.
struct TImportReport {
    double Reading = 0, Textures = 0, Converting = 0;
    int StartRoom = -1;    // the room that holds the eye, -1 when none does
    int Items = 0;         // entities drawn
    int32_t ItemsID = 0;   // the ID every item object carries (to show and hide them together)
    int32_t PlayerID = 0;  // the ID of the player's (Lara's) objects
    std::unique_ptr<TTextureAnimator> Animator = std::make_unique<TTextureAnimator>();
    std::string Problem;   // for a level that did not load cleanly, what is wrong (and where, when damaged)
    std::map<int, TSceneBox> ItemBounds;  // entity index -> the box around what was drawn of it
    TItemSpanMap ItemSpans;               // entity index -> where its meshes' vertices lie
    // The level as read (ImportTombRaiderMap only), for those who look at its tables afterwards.
    std::shared_ptr<const TTombRaiderLevel> Level;
    int VersionCode = 0;
    TFlipMaps Flips;                   // the level's flip maps (which rooms replace which)
    std::vector<TRoomVolume> Rooms;    // where each room stands, and which hold water
    int32_t SkyID = 0;                 // the ID of the level's own sky objects, 0 when it has none
    size_t MeshesLeftOut = 0;          // placed meshes beyond kMaxPlacedMeshFaces, not imported
};

// scale divides every level coordinate (the viewer uses 128); gamma 0 keeps the level's lighting,
// 1 makes every room vertex white. Returns the load result (0 loaded, 1 not found, 2 unsupported,
// 3 damaged: what could be read is imported and report->Damage says what is wrong, 4 too large).
// ReadLevelFile then ImportReadLevel.
uint8_t ImportTombRaiderMap(TD3DScene& scene, const std::string& path, float scale, float gamma,
                            TImportReport* report = nullptr);

// The first half of an import, which leaves every scene alone: reads the file into level and
// returns the load result; for any result but loaded, report->Problem says what is wrong.
uint8_t ReadLevelFile(const std::string& path, std::shared_ptr<TTombRaiderLevel>& level, TImportReport& report);
// The second half, for a level ReadLevelFile loaded (or found damaged): fills the scene, drops the
// level's tiles (they are the scene's textures now) and hands the level on in report.Level.
void ImportReadLevel(TD3DScene& scene, std::shared_ptr<TTombRaiderLevel> level, float scale, float gamma, TImportReport& report);

// The same for a level already loaded (bound to the scene): textures, faces, sprites, items and the eye.
void ImportLoadedLevel(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma, TImportReport* report = nullptr);

}  // namespace grottix
