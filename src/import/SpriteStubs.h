#pragma once
// A sprite as the scene shows it: a camera-facing, colour-keyed stub with the sprite texture's
// picture, sized and placed by the sprite's extents around the point it stands on.

#include <cstdint>

namespace grottix {

class TFaceBuilder;
class TTombRaiderLevel;
struct TSpriteTexture;

// x, y, z: the sprite's point in level units. The stub goes to the face builder's sink.
void AddSpriteStub(const TFaceBuilder& faces, const TTombRaiderLevel& level, const TSpriteTexture& texture,
                   double x, double y, double z, float scale, int32_t id);

}  // namespace grottix
