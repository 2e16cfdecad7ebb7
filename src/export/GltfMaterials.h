#pragma once
// The level's texture tiles as glTF images and its materials. Every tile that faces use becomes one
// PNG image (the pixels the viewer's textures get, black texels clear in an alpha channel) and one
// texture; a material pairs a tile, or none for faces with vertex colours alone, with how it is
// drawn: cut out where the tile holds colour-keyed texels (MASK), half see-through for the games'
// semi-transparent faces (BLEND), opaque otherwise. Images are named "tile N" (N from 1, as the
// viewer numbers tiles), textures and materials "tile N" and their mode ("opaque", "mask",
// "blend"). Every material is unlit and double-sided, as the viewer draws the level's pre-lit faces
// without culling.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace grottix {

class TGltfDocument;
class TTombRaiderLevel;

class TGltfMaterials {
public:
    // filtering: linear sampling (the viewer's texture filtering option), else nearest.
    TGltfMaterials(const TTombRaiderLevel& level, bool filtering) : level_(level), filtering_(filtering) {}

    // Converts and encodes the tiles (0-based) the faces use; progress goes from 0 to 1.
    void EncodeTiles(const std::set<int>& tiles, const std::function<void(double)>& progress);
    // The material's index, added to the document the first time it is asked for. tile: -1 for
    // vertex colours alone (or a tile that was not encoded); blended: a semi-transparent face.
    int Material(TGltfDocument& document, int tile, bool blended);
    // The size of the encoded images.
    size_t EncodedBytes() const;
    // Whether the tile's material shows a texture (faces then need texture coordinates).
    bool HasTexture(int tile) const { return tiles_.contains(tile); }

private:
    struct TTile {
        std::vector<uint8_t> png;
        bool keyed = false;  // holds texels the viewer leaves out
        int texture = -1;    // in the document, once a material uses it
    };
    int texture(TGltfDocument& document, int tile, TTile& encoded);

    const TTombRaiderLevel& level_;
    bool filtering_;
    std::map<int, TTile> tiles_;
    std::map<std::pair<int, bool>, int> materials_;
    int sampler_ = -1;
};

}  // namespace grottix
