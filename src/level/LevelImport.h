#pragma once
// ImportTombRaiderMap: a level file becomes scene content. Room faces and static meshes become
// generic quadrangles and triangles merged by texture, room sprites become stubs, texture tiles
// become scene textures, and the eye is placed in the first room.

#include <cstdint>
#include <string>

namespace grottix {

class TD3DScene;
class TTombRaiderLevel;

// How long the steps of one import took, in seconds.
struct TImportTimings {
    double Reading = 0, Textures = 0, Converting = 0;
};

// scale divides every level coordinate (the viewer uses 128); gamma 0 keeps the level's lighting,
// 1 makes every room vertex white. Returns the load result (0 loaded, 1 not found, 2 unsupported).
uint8_t ImportTombRaiderMap(TD3DScene& scene, const std::string& path, float scale, float gamma,
                            TImportTimings* timings = nullptr);

// The same for a level already loaded (bound to the scene): textures, faces, sprites and the eye.
void ImportLoadedLevel(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma);

}  // namespace grottix
