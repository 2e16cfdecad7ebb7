#pragma once
// A level as one binary glTF 2.0 file (.glb) for Blender and the web, as the viewer shows it: the
// faces of every room, static mesh and item and the sprites, converted by the same steps as the
// viewer's import, with the texture tiles embedded as PNG images. The command line and the window
// both export through ExportLevelToGltf.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "level/FlipMaps.h"

namespace grottix {

// How a sprite, which the viewer turns to face the eye, comes out: glTF has no such billboards.
enum class TGltfSprites {
    Crossed,  // two vertical quads crossed at right angles: seen from every horizontal direction
    Flat,     // one quad facing +Z
};

struct TGltfExportOptions {
    float LightFactor = 0.5f;  // brightens the baked light, as when the viewer opens a level
    bool Items = true;
    // Items far outside their rooms (EntityOutsideItsRoom) too; without, they are left out, so that
    // a stray item does not stretch the scene's bounds.
    bool AllItems = false;
    bool Filtering = true;     // linear texture sampling (the viewer's texture filtering), else nearest
    TGltfSprites Sprites = TGltfSprites::Crossed;
    TFlipState Flip = {};      // the rooms of this flip state are exported
    // Items with a node per mesh, playing their animations from the first on in one glTF animation.
    bool Animations = false;
};

struct TGltfExportReport {
    size_t Nodes = 0, Triangles = 0, Textures = 0, Bytes = 0;
    std::string Problem;  // for a level that did not load cleanly, what is wrong (and where, when damaged)
    size_t LeftOut = 0;   // degenerate triangles (no area, or a vertex repeated) not written
    size_t Animations = 0, AnimatedItems = 0;
    std::vector<std::string> Damage;  // what is wrong with the animation tables (the items it touches keep still)
    size_t MeshesLeftOut = 0;  // placed meshes beyond kMaxPlacedMeshFaces, not written
    size_t ItemsOutside = 0;   // items far outside their rooms left out (without AllItems)
};

// Called with the share of the work done, from 0 to 1.
using TExportProgress = std::function<void(double done)>;

// Writes the level at path as out, beside out first and then renamed over it. Returns the load
// result (0 loaded, 1 not found, 2 unsupported version) and writes nothing unless it is 0; a
// damaged level or a failed write raises.
uint8_t ExportLevelToGltf(const std::string& path, const std::string& out, const TGltfExportOptions& options = {},
                          const TExportProgress& progress = {}, TGltfExportReport* report = nullptr);

}  // namespace grottix
