#pragma once
// ImportTombRaiderMap: a level file becomes scene content. Room faces and static meshes become
// generic quadrangles and triangles merged by texture, room sprites become stubs, texture tiles
// become scene textures, and the eye is placed at the player's start.

#include <cstdint>
#include <string>

namespace grottix {

class TD3DScene;
class TTombRaiderLevel;

// What one import did: how long its steps took, in seconds, and where it put the eye.
struct TImportReport {
    double Reading = 0, Textures = 0, Converting = 0;
    int StartRoom = -1;  // the room that holds the eye, -1 when none does
};

// scale divides every level coordinate (the viewer uses 128); gamma 0 keeps the level's lighting,
// 1 makes every room vertex white. Returns the load result (0 loaded, 1 not found, 2 unsupported).
uint8_t ImportTombRaiderMap(TD3DScene& scene, const std::string& path, float scale, float gamma,
                            TImportReport* report = nullptr);

// The same for a level already loaded (bound to the scene): textures, faces, sprites and the eye.
void ImportLoadedLevel(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma);

}  // namespace grottix
