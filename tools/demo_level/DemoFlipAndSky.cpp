#include "demo_level/DemoFlipAndSky.h"

#include "demo_level/DemoGeometry.h"
#include "demo_level/DemoLevel.h"

namespace grottix::demo {

using namespace levelwriter;

namespace {

// The sky moveables' object ids (TR2, TR3, TR4, TR5).
uint32_t skyObject(int code) { return code <= 4 ? 254 : code == 5 ? 355 : code == 6 ? 459 : 454; }

// A cube of half size 8192 centred on its origin; drawn without culling, so its winding is free.
// Its sides show the water's picture through an object texture of their own (`still`), outside
// the water's animation: the games' skies are not animated.
DemoMesh skyMesh(uint16_t still) {
    DemoMesh mesh;
    constexpr int16_t s = 8192, n = -8192;
    mesh.vertices = {{{n, n, n}}, {{s, n, n}}, {{s, n, s}}, {{n, n, s}}, {{n, s, n}}, {{s, s, n}}, {{s, s, s}}, {{n, s, s}}};
    const DemoTexture sky = DemoTexture::Water;
    mesh.faces = {{{0, 1, 5, 4}, sky, still}, {{1, 2, 6, 5}, sky, still}, {{2, 3, 7, 6}, sky, still},
                  {{3, 0, 4, 7}, sky, still}, {{3, 2, 1, 0}, sky, still}, {{4, 5, 6, 7}, DemoTexture::Grass}};
    return mesh;
}

}  // namespace

void AddFloodedStoreroom(LevelDescription& level) {
    Room flooded = level.rooms[size_t(kStoreroom)];
    flooded.flags = 0x0001;
    flooded.alternateGroup = 1;
    Room& dry = level.rooms[size_t(kStoreroom)];
    dry.alternateRoom = int16_t(level.rooms.size());
    dry.alternateGroup = 1;
    level.rooms.push_back(std::move(flooded));
}

void AddDemoSky(LevelDescription& level, std::vector<uint8_t>& meshData) {
    if (level.code < 3) return;
    const auto still = uint16_t(level.objectTextures.size());
    level.objectTextures.push_back(level.objectTextures[size_t(DemoTexture::Water)]);
    const auto mesh = uint16_t(level.meshPointers.size());
    level.meshPointers.push_back(uint32_t(meshData.size()));
    const auto bytes = DemoMeshBytes(skyMesh(still), level.code);
    meshData.insert(meshData.end(), bytes.begin(), bytes.end());
    if (!level.moveables) level.moveables.emplace();
    level.moveables->push_back({skyObject(level.code), 1, mesh, 0, 0, 0xFFFF});
}

}  // namespace grottix::demo
