#pragma once
// The level's texture tiles as glTF images and its materials. Every tile that faces use becomes one
// PNG image (the pixels the viewer's textures get, black texels clear in an alpha channel) and one
// texture; a material pairs a tile, or none for faces with vertex colours alone, with how it is
// drawn: cut out where the tile holds colour-keyed texels (MASK), half see-through for the games'
// semi-transparent faces (BLEND), opaque otherwise; and whether both sides are drawn. Images are
// named after the level and the tile ("LEVEL1 tile N", N from 1, as the viewer numbers tiles), so
// that two levels imported into one Blender file keep their own; textures and materials "tile N"
// and their mode ("opaque", "mask", "blend"), " double-sided" after a material's mode when it is.
// Every material is unlit: the level's light is baked into the vertex colours.

#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace grottix {

class TGltfDocument;
class TTombRaiderLevel;

// What a material stands for: one of these per material, so that importers need not split them.
struct TGltfMaterialKey {
    int tile = -1;             // 0-based; -1 for vertex colours alone
    bool blended = false;      // a semi-transparent face
    bool doubleSided = false;  // drawn from both sides
    auto operator<=>(const TGltfMaterialKey&) const = default;
};

class TGltfMaterials {
public:
    // levelName: the images' names begin with it. filtering: linear sampling (the viewer's texture
    // filtering option), else nearest.
    TGltfMaterials(const TTombRaiderLevel& level, std::string levelName, bool filtering)
        : level_(level), levelName_(std::move(levelName)), filtering_(filtering) {}

    // Converts and encodes the tiles (0-based) the faces use; progress goes from 0 to 1.
    void EncodeTiles(const std::set<int>& tiles, const std::function<void(double)>& progress);
    // The material's index, added to the document the first time it is asked for. A tile that was
    // not encoded counts as none.
    int Material(TGltfDocument& document, TGltfMaterialKey key);
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
    std::string levelName_;
    bool filtering_;
    std::map<int, TTile> tiles_;
    std::map<TGltfMaterialKey, int> materials_;
    int sampler_ = -1;
};

}  // namespace grottix
