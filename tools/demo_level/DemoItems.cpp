#include "demo_level/DemoItems.h"

#include "demo_level/DemoGeometry.h"
#include "demo_level/DemoLevel.h"

namespace grottix::demo {

using namespace levelwriter;

namespace {

constexpr uint32_t kStatueObject = 50, kPickupObject = 60;

// A rotation about one axis (0 x, 1 y, 2 z) of turns / 1024, as the version packs frame rotations.
std::vector<uint16_t> rotation(int code, int axis, unsigned turns1024) {
    if (code <= 2) {  // one little-endian 32-bit value: x in bits 20-29, y in 10-19, z in 0-9
        const uint32_t packed = turns1024 << (10 * (2 - axis));
        return {uint16_t(packed), uint16_t(packed >> 16)};
    }
    const unsigned value = code >= 6 ? turns1024 * 4 : turns1024;  // codes 6-7: 12 bits a turn
    return {uint16_t((axis + 1) << 14 | value)};
}

// The statue's one frame: root at the entity, the body an eighth about y, the head tilted back a
// little (written with all three axes), the arm an eighth about z.
std::vector<uint16_t> statueFrame(int code) {
    std::vector<uint16_t> words(9, 0);  // bounding box, root offset
    if (code <= 2) words.push_back(4);  // rotations that follow
    const auto add = [&](const std::vector<uint16_t>& r) { words.insert(words.end(), r.begin(), r.end()); };
    add({0, 0});
    add(rotation(code, 1, 128));
    add(code <= 2 ? rotation(code, 0, 32) : std::vector<uint16_t>{uint16_t(32 << 4), 0});  // x in bits 20-29
    add(rotation(code, 2, 128));
    return words;
}

// Object textures 4 apart across the water picture, each 96 texels wide: the pool's faces cycle
// through them.
void animateWater(LevelDescription& level, const DemoTiles& tiles) {
    const TexturePlace& p = tiles.places[size_t(DemoTexture::Water)];
    std::vector<uint16_t> range;
    for (int step = 0; step < 8; ++step) {
        ObjectTexture water = level.objectTextures[size_t(DemoTexture::Water)];
        const auto left = uint8_t(p.left + 1 + step * 4), right = uint8_t(left + 95);
        water.u = {left, right, right, left};
        if (step == 0) level.objectTextures[size_t(DemoTexture::Water)] = water;
        range.push_back(step == 0 ? uint16_t(DemoTexture::Water) : uint16_t(level.objectTextures.size()));
        if (step > 0) level.objectTextures.push_back(water);
    }
    level.animatedTextures = std::vector<uint16_t>{1, uint16_t(range.size() - 1)};
    level.animatedTextures->insert(level.animatedTextures->end(), range.begin(), range.end());
}

}  // namespace

void AddDemoItems(LevelDescription& level, const DemoTiles& tiles, std::vector<uint8_t>& meshData) {
    const int code = level.code;
    const auto firstMesh = uint16_t(level.meshPointers.size());
    for (const DemoMesh& mesh : {BoxMesh(0, 384, 512, DemoTexture::Marble, DemoTexture::Marble),
                                 BoxMesh(0, 160, 768, DemoTexture::Stone, DemoTexture::Stone),
                                 BoxMesh(0, 128, 256, DemoTexture::Marble, DemoTexture::Marble),
                                 BoxMesh(0, 64, 448, DemoTexture::Wood, DemoTexture::Wood)}) {
        level.meshPointers.push_back(uint32_t(meshData.size()));
        const auto bytes = DemoMeshBytes(mesh, code);
        meshData.insert(meshData.end(), bytes.begin(), bytes.end());
    }
    // Body on the pedestal (pushed), head on the body, arm back on the pedestal (popped).
    level.meshTrees = std::vector<int32_t>{2, 0, -512, 0, 0, 0, -768, 0, 1, 224, -512, 0};
    level.frames = statueFrame(code);
    // One animation: the statue's one frame, an idle that comes back to itself.
    Animation still;
    still.frameSize = uint8_t(level.frames->size());
    level.animationList = std::vector<Animation>{still};
    level.moveables = std::vector<Moveable>{{kStatueObject, 4, firstMesh, 0, 0, 0}};

    // The pick-up: a 32-texel square of the crate picture, 256 units across.
    const TexturePlace& crate = tiles.places[size_t(DemoTexture::Crate)];
    SpriteTexture pickup{crate.tile, uint8_t(crate.left + 8), uint8_t(crate.top + 8), 32 * 256 - 1, 32 * 256 - 1, -128, -256, 128, 0};
    if (code >= 6) pickup = {crate.tile, 0, 0, 0, 0, int16_t(crate.left + 8), int16_t(crate.top + 8), int16_t(crate.left + 39),
                             int16_t(crate.top + 39)};
    level.spriteTextures->push_back(pickup);
    level.spriteSequences = std::vector<SpriteSequence>{{int32_t(kPickupObject), 1, uint16_t(level.spriteTextures->size() - 1)}};

    level.entities->push_back({int16_t(kStatueObject), 0, 0, 3840, 2304, 32768});
    level.entities->push_back({int16_t(kPickupObject), 0, -768, 3840, 1536, 0});
    animateWater(level, tiles);
}

}  // namespace grottix::demo
