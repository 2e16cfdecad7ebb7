#include "import/LevelFaces.h"

#include <cmath>
#include <tuple>

#include "level/AnimatedTextures.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "import/TexelInset.h"
#include "import/WaterTint.h"

namespace grottix {

namespace {

constexpr int kQuadSlots[4] = {0, 1, 3, 2};  // record slot -> level corner
constexpr float kRoomRectangle[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
constexpr float kRoomTriangle[3][2] = {{0, 0}, {1, 0}, {0, 1}};
constexpr uint16_t kDoubleSided = 0x8000;  // in a textured face's texture word

}  // namespace

bool TFaceBuilder::TakeMeshFaces(size_t count) {
    if (count > MeshFaceBudget) {
        ++MeshesLeftOut;
        return false;
    }
    MeshFaceBudget -= count;
    return true;
}

TFaceBuilder::TFaceBuilder(TFaceSink& sink, const TTombRaiderLevel& level, float gamma, TTextureAnimator* animator,
                           bool insetTexels)
    : sink_(sink), level_(level), keep_(1 - gamma), add_(255 * gamma), insetTexels_(insetTexels) {
    for (unsigned c = 0; c < channels_.size(); ++c) channels_[c] = channelOf(c);
    if (animator) registerRanges(*animator);
}

uint8_t TFaceBuilder::channelOf(unsigned c) const {
    return uint8_t(int64_t(std::lround(double(c * 6 + 69) * keep_ + add_)) & 0xFF);
}

const std::string& TFaceBuilder::TileName(int tile) const {
    if (tileNames_.empty())
        for (int i = 1; i <= level_.TileCount; ++i) tileNames_.push_back(MakeLevelTextureName(level_.Path, std::to_string(i)));
    return tileNames_[size_t(tile)];
}

// Every range of usable object textures becomes an animator range; a texture met in several
// ranges cycles with the first.
void TFaceBuilder::registerRanges(TTextureAnimator& animator) {
    animated_.assign(level_.ObjectTextures.size(), {-1, -1});
    for (const auto& range : ReadAnimatedTextureRanges(level_)) {
        std::vector<TTextureAnimator::TFrame> frames;
        for (uint16_t index : range) {
            TTextureAnimator::TFrame frame;
            if (const TObjectTexture* texture = objectTexture(index, frame.name)) {
                std::array<TD3DLVertex, 4> corners{};
                for (size_t c = 0; c < 4; ++c) corners[c].tu = texture->corners[c].u / 256.0f, corners[c].tv = texture->corners[c].v / 256.0f;
                if (insetTexels_) InsetTexels(corners);
                for (size_t c = 0; c < 4; ++c) frame.corners[c] = {corners[c].tu, corners[c].tv};
            }
            frames.push_back(std::move(frame));
        }
        if (frames.size() < 2) continue;
        const int id = animator.AddRange(std::move(frames));
        for (size_t phase = 0; phase < range.size(); ++phase)
            if (range[phase] < animated_.size() && animated_[range[phase]].first < 0) animated_[range[phase]] = {id, int(phase)};
    }
}

// The object texture of a texture word, when it and its tile exist.
const TObjectTexture* TFaceBuilder::objectTexture(uint16_t word, std::string& name) const {
    name.clear();
    const size_t t = word & 0x0FFF;
    if (t >= level_.ObjectTextures.size()) return nullptr;
    const TObjectTexture& texture = level_.ObjectTextures[t];
    const int tile = texture.tile & 0x7FFF;
    if (tile >= level_.TileCount) return nullptr;
    name = TileName(tile);
    return &texture;
}

void TFaceBuilder::Rectangle(std::array<TD3DLVertex, 4> corners, uint16_t textureWord, TCorners defaults) {
    const TObjectTexture* texture = objectTexture(textureWord, quad_.TextureName);
    for (size_t slot = 0; slot < 4; ++slot) {
        const auto corner = size_t(kQuadSlots[slot]);
        TD3DLVertex& v = quad_.Vertices[slot] = corners[corner];
        v.tu = texture ? texture->corners[corner].u / 256.0f : defaults == TCorners::Room ? kRoomRectangle[corner][0] : 0;
        v.tv = texture ? texture->corners[corner].v / 256.0f : defaults == TCorners::Room ? kRoomRectangle[corner][1] : 0;
    }
    if (texture && insetTexels_) InsetTexels(quad_.Vertices);
    tint(quad_.Vertices);
    sink_.AddQuadrangle(quad_, texture ? traits(textureWord & 0x0FFF, textureWord) : traits(SIZE_MAX));
}

void TFaceBuilder::Triangle(std::array<TD3DLVertex, 3> corners, uint16_t textureWord, TCorners defaults) {
    const TObjectTexture* texture = objectTexture(textureWord, triangle_.TextureName);
    for (size_t corner = 0; corner < 3; ++corner) {
        TD3DLVertex& v = triangle_.Vertices[corner] = corners[corner];
        v.tu = texture ? texture->corners[corner].u / 256.0f : defaults == TCorners::Room ? kRoomTriangle[corner][0] : 0;
        v.tv = texture ? texture->corners[corner].v / 256.0f : defaults == TCorners::Room ? kRoomTriangle[corner][1] : 0;
    }
    if (texture && insetTexels_) InsetTexels(triangle_.Vertices);
    tint(triangle_.Vertices);
    sink_.AddTriangle(triangle_, texture ? traits(textureWord & 0x0FFF, textureWord) : traits(SIZE_MAX));
}

void TFaceBuilder::ColouredRectangle(std::array<TD3DLVertex, 4> corners, const std::string& name) {
    for (size_t slot = 0; slot < 4; ++slot) quad_.Vertices[slot] = corners[size_t(kQuadSlots[slot])];
    quad_.TextureName = name;
    tint(quad_.Vertices);
    sink_.AddQuadrangle(quad_, traits(SIZE_MAX));
}

void TFaceBuilder::ColouredTriangle(std::array<TD3DLVertex, 3> corners, const std::string& name) {
    triangle_.Vertices = corners;
    triangle_.TextureName = name;
    tint(triangle_.Vertices);
    sink_.AddTriangle(triangle_, traits(SIZE_MAX));
}

template <size_t N>
void TFaceBuilder::tint(std::array<TD3DLVertex, N>& vertices) const {
    if (Tint == kNoTint) return;
    for (TD3DLVertex& v : vertices) v.color = TintColour(v.color, Tint);
}

TFaceTraits TFaceBuilder::traits(size_t objectTexture, uint16_t textureWord) const {
    TFaceTraits out;
    out.objectTexture = objectTexture;
    out.doubleSided = (textureWord & kDoubleSided) != 0;
    if (objectTexture < animated_.size()) std::tie(out.range, out.phase) = animated_[objectTexture];
    out.group = Group;
    return out;
}

}  // namespace grottix
