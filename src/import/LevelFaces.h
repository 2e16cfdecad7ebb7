#pragma once
// Turns faces of the level (corners already placed in scene units and lit) into the scene's
// generic quadrangle and triangle records: texture name and coordinates from the object texture,
// corners in the order the records keep them. The records go to a sink (the scene, or an exporter)
// with what else is known of the face: its object texture, its animated range, its group.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/SceneRecords.h"
#include "import/FaceSink.h"
#include "import/TextureAnimator.h"
#include "level/LevelLimits.h"

namespace grottix {

class TTombRaiderLevel;
struct TObjectTexture;

class TFaceBuilder {
public:
    // With an animator, the level's animated texture ranges are registered in it and their faces
    // carry their range; without, every face is still. With insetTexels, texture coordinates lie
    // half a texel inside each face's texture (TexelInset.h), animated ones and sprites' too.
    TFaceBuilder(TFaceSink& sink, const TTombRaiderLevel& level, float gamma, TTextureAnimator* animator = nullptr,
                 bool insetTexels = false);

    TFaceSink& Sink() const { return sink_; }
    bool InsetsTexels() const { return insetTexels_; }

    // The colour rule: a channel of 0..31 becomes c * 6 + 69, brightened by gamma (low 8 bits kept).
    uint8_t Channel(unsigned c) const { return c < channels_.size() ? channels_[c] : channelOf(c); }
    uint32_t Colour(unsigned r, unsigned g, unsigned b) const { return uint32_t(Channel(r)) << 16 | uint32_t(Channel(g)) << 8 | Channel(b); }
    const std::string& TileName(int tile) const;

    enum class TCorners { Room, Mesh };  // the coordinates a face without a usable texture gets
    // corners: positions and colours in the level's corner order (0..3 or 0..2).
    void Rectangle(std::array<TD3DLVertex, 4> corners, uint16_t textureWord, TCorners defaults);
    void Triangle(std::array<TD3DLVertex, 3> corners, uint16_t textureWord, TCorners defaults);
    // An untextured face: the texture name as given, coordinates (0, 0).
    void ColouredRectangle(std::array<TD3DLVertex, 4> corners, const std::string& name);
    void ColouredTriangle(std::array<TD3DLVertex, 3> corners, const std::string& name);

    // Whether a placed mesh of count faces still fits in MeshFaceBudget (and takes them); one that
    // does not is counted in MeshesLeftOut and left out whole.
    bool TakeMeshFaces(size_t count);
    uint64_t MeshFaceBudget = kMaxPlacedMeshFaces;
    size_t MeshesLeftOut = 0;

    // 0: level faces; otherwise the ID of the group the faces belong to (the items).
    int32_t Group = 0;
    // Multiplied into the colour of every face passed on (the water rooms' tint); white keeps it.
    uint32_t Tint = 0x00FFFFFF;

private:
    uint8_t channelOf(unsigned c) const;
    const TObjectTexture* objectTexture(uint16_t word, std::string& name) const;
    void registerRanges(TTextureAnimator& animator);
    TFaceTraits traits(size_t objectTexture, uint16_t textureWord = 0) const;
    template <size_t N>
    void tint(std::array<TD3DLVertex, N>& vertices) const;

    TFaceSink& sink_;
    const TTombRaiderLevel& level_;
    double keep_, add_;
    bool insetTexels_;
    std::array<uint8_t, 256> channels_{};  // the colour rule for every channel value a byte holds
    mutable std::vector<std::string> tileNames_;
    std::vector<std::pair<int, int>> animated_;  // per object texture: range and phase, or -1
    TD3DGenericQuadrangleInfo quad_;
    TD3DGenericTriangleInfo triangle_;
};

}  // namespace grottix
