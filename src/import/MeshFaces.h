#pragma once
// The faces of one parsed mesh, placed and lit, handed to the face builder.

#include <cstdint>
#include <string>

namespace grottix {

class TFaceBuilder;
class TTombRaiderLevel;
struct TLevelMesh;
struct TMeshPlacement;

struct TMeshLook {
    uint32_t colour = 0x00FFFFFF;  // of every vertex of a textured face
    // Coloured faces: with a palette their colour is its entry, scaled by colour's brightness, and
    // they take the texture colouredName; without they stay white and take it as it is.
    bool palette = false;
    std::string colouredName;
};

// A mesh the faces' budget for placed meshes no longer holds is left out (TFaceBuilder::TakeMeshFaces).
void EmitMesh(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMesh& mesh, const TMeshPlacement& placement,
              float scale, const TMeshLook& look);

}  // namespace grottix
