#include "import/SpriteStubs.h"

#include "import/LevelFaces.h"
#include "import/TexelInset.h"
#include "level/SpriteTextures.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

void AddSpriteStub(const TFaceBuilder& faces, const TTombRaiderLevel& level, const TSpriteTexture& texture,
                   double x, double y, double z, float scale, int32_t id) {
    TD3DStubObjectInfo info;
    info.ID = id;
    info.Color = RGB(255, 255, 255);
    info.Passes = 16;
    info.FrameCount = 1;
    if (texture.tile < level.TileCount) info.TextureNames[0] = faces.TileName(texture.tile);
    info.TexLeft = float(texture.left) / 256;
    info.TexTop = float(texture.top) / 256;
    info.TexWidth = float(texture.width) / 256;
    info.TexHeight = float(texture.height) / 256;
    if (faces.InsetsTexels()) {
        const auto [left, right] = InsetSpan(info.TexLeft, info.TexWidth);
        const auto [top, bottom] = InsetSpan(info.TexTop, info.TexHeight);
        info.TexLeft = left, info.TexWidth = right - left;
        info.TexTop = top, info.TexHeight = bottom - top;
    }
    info.Width = float((double(texture.extentRight) - texture.extentLeft) / scale);
    info.Height = float((double(texture.extentBottom) - texture.extentTop) / scale);
    info.X = float(x / scale);
    info.Y = float(-(y + (double(texture.extentTop) + texture.extentBottom) / 2) / scale);
    info.Z = float(z / scale);
    faces.Sink().AddSprite(info);
}

}  // namespace grottix
