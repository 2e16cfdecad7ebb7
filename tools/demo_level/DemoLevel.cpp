#include "demo_level/DemoLevel.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "demo_level/DemoFlipAndSky.h"
#include "demo_level/DemoFloorData.h"
#include "demo_level/DemoGeometry.h"
#include "demo_level/DemoItems.h"

namespace grottix::demo {

using namespace levelwriter;

namespace {

// Object textures: one for quads (corners top-left, top-right, bottom-right, bottom-left) and one
// for triangles (apex at the top middle) per demo texture.
std::vector<ObjectTexture> objectTextures(const DemoTiles& tiles) {
    std::vector<ObjectTexture> textures;
    // One texel in from each edge, so that filtering never reaches the neighbouring texture.
    for (const TexturePlace& p : tiles.places) {
        ObjectTexture quad;
        quad.attribute = p.transparent ? 1 : 0;
        quad.tile = p.tile;
        const uint8_t left = uint8_t(p.left + 1), right = uint8_t(p.right - 1), top = uint8_t(p.top + 1),
                      bottom = uint8_t(p.bottom - 1);
        quad.u = {left, right, right, left};
        quad.v = {top, top, bottom, bottom};
        textures.push_back(quad);
    }
    for (const TexturePlace& p : tiles.places) {
        ObjectTexture triangle;
        triangle.tile = p.tile;
        triangle.u = {uint8_t((p.left + p.right) / 2), uint8_t(p.right - 1), uint8_t(p.left + 1), 0};
        triangle.v = {uint8_t(p.top + 1), uint8_t(p.bottom - 1), uint8_t(p.bottom - 1), 0};
        textures.push_back(triangle);
    }
    return textures;
}

// The sprite-texture table holds only the plant, inset by one texel like the object textures.
constexpr DemoTexture kSpriteTextures[] = {DemoTexture::Plant};

uint16_t spriteTextureIndex(DemoTexture texture) {
    return uint16_t(std::find(std::begin(kSpriteTextures), std::end(kSpriteTextures), texture) - std::begin(kSpriteTextures));
}

std::vector<SpriteTexture> spriteTextures(const DemoTiles& tiles, int code) {
    std::vector<SpriteTexture> textures;
    for (DemoTexture texture : kSpriteTextures) {
        const TexturePlace& p = tiles.places[size_t(texture)];
        const int left = p.left + 1, top = p.top + 1, width = p.right - p.left - 2, height = p.bottom - p.top - 2;
        SpriteTexture s;
        s.tile = p.tile;
        s.x = uint8_t(left);
        s.y = uint8_t(top);
        s.width = uint16_t(width * 256 - 1);
        s.height = uint16_t(height * 256 - 1);
        if (code >= 6) {  // the texel rectangle, inclusive; the extents follow from its size
            s.left = int16_t(left);
            s.top = int16_t(top);
            s.right = int16_t(left + width - 1);
            s.bottom = int16_t(top + height - 1);
        } else {
            s.left = -kPlantHalfWidth;
            s.top = -kPlantHeight;
            s.right = kPlantHalfWidth;
            s.bottom = 0;
        }
        textures.push_back(s);
    }
    return textures;
}

uint16_t textureIndex(const DemoFace& face) {
    if (face.objectTexture) return *face.objectTexture;
    const auto base = uint16_t(face.texture);
    return face.corners.size() == 3 ? uint16_t(base + uint16_t(DemoTexture::Count)) : base;
}

// TR1/TR2 lighting: 0 is brightest, 31 darkest, in the high byte.
int16_t lighting(const Light5& l) { return int16_t((31 - (l.r * 3 + l.g * 6 + l.b) / 10) << 8); }
uint16_t colour15(const Light5& l) { return uint16_t(l.r << 10 | l.g << 5 | l.b); }

void addFaces(const std::vector<DemoFace>& faces, std::vector<Rectangle>& rectangles, std::vector<Triangle>& triangles) {
    for (const DemoFace& face : faces) {
        if (face.corners.size() == 4) {
            rectangles.push_back({{face.corners[0], face.corners[1], face.corners[2], face.corners[3]}, textureIndex(face)});
        } else {
            triangles.push_back({{face.corners[0], face.corners[1], face.corners[2]}, textureIndex(face)});
        }
    }
}

Room convertRoom(const DemoRoom& demo, int code) {
    Room room;
    room.x = demo.x;
    room.z = demo.z;
    room.yBottom = demo.yBottom;
    room.yTop = demo.yTop;
    room.zSectors = demo.zSectors;
    room.xSectors = demo.xSectors;
    // Every sector open from the room's floor to its ceiling (in clicks), so go-to finds its way.
    const Sector open{0, 0xFFFF, 255, int8_t(demo.yBottom / 256), 255, int8_t(demo.yTop / 256)};
    room.sectorList = std::vector<Sector>(size_t(demo.xSectors) * demo.zSectors, open);
    std::vector<Rectangle> rectangles;
    std::vector<Triangle> triangles;
    addFaces(demo.faces, rectangles, triangles);
    if (code == 7) {
        Layer layer;
        for (const auto& v : demo.vertices)
            layer.vertices.push_back({float(v.x), float(v.y), float(v.z), uint8_t(v.light.b << 3), uint8_t(v.light.g << 3),
                                      uint8_t(v.light.r << 3), 255});
        layer.rectangles = rectangles;
        layer.triangles = triangles;
        room.layers.push_back(layer);
    } else {
        for (const auto& v : demo.vertices) room.vertices.push_back({v.x, v.y, v.z, lighting(v.light), 16, colour15(v.light)});
        room.rectangles = rectangles;
        room.triangles = triangles;
    }
    for (const auto& s : demo.sprites) room.sprites.push_back({s.vertex, spriteTextureIndex(s.texture)});
    for (const auto& s : demo.statics) room.staticMeshes.push_back({s.x, s.y, s.z, s.rotation, s.meshId});
    room.portalList.emplace();
    for (const auto& p : demo.portals) room.portalList->push_back({p.room, p.normal, p.corners});
    return room;
}

// A light under the middle of each room's ceiling, the camera the hall's trigger shows (high in its
// first corner), and no fly-by cameras or sound sources, which the demo's tables could not back.
void addLightsAndCameras(LevelDescription& level) {
    for (Room& room : level.rooms) {
        Light light{room.x + room.xSectors * 512, room.yTop + 256, room.z + room.zSectors * 512};
        light.colour = {255, 240, 200};
        light.in = 1024;
        light.out = 4096;
        room.lightList = std::vector<Light>{light};
    }
    const Room& hall = level.rooms[0];
    level.cameras = std::vector<Camera>{{hall.x + 1536, hall.yTop + 512, hall.z + 1536, 0, 0}};
    level.flybyCameras.emplace();
    level.soundSources.emplace();
}

}  // namespace

std::vector<uint8_t> DemoMeshBytes(const DemoMesh& mesh, int code) {
    std::vector<uint8_t> out;
    const auto put16 = [&](int v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    put16(0); put16(-512); put16(0);
    for (uint8_t b : {0x00, 0x08, 0x00, 0x00}) out.push_back(b);  // radius 2048
    put16(int(mesh.vertices.size()));
    for (const auto& v : mesh.vertices) { put16(v[0]); put16(v[1]); put16(v[2]); }
    put16(-int(mesh.vertices.size()));  // one light value per vertex
    for (size_t i = 0; i < mesh.vertices.size(); ++i) put16(4096);
    std::vector<Rectangle> rectangles;
    std::vector<Triangle> triangles;
    addFaces(mesh.faces, rectangles, triangles);
    put16(int(rectangles.size()));
    for (const auto& r : rectangles) {
        for (auto index : r.vertices) put16(index);
        put16(r.texture);
        if (code >= 6) put16(0);
    }
    put16(int(triangles.size()));
    for (const auto& t : triangles) {
        for (auto index : t.vertices) put16(index);
        put16(t.texture);
        if (code >= 6) put16(0);
    }
    if (code <= 5) { put16(0); put16(0); }
    if (out.size() % 4) put16(0);
    return out;
}

LevelDescription DemoLevel(int code) {
    const DemoTiles tiles = PaintDemoTiles();
    const DemoWorld world = BuildDemoWorld();
    LevelDescription level;
    level.code = code;
    level.tileCount = tiles.count;
    if (code <= 5) Tiles8(tiles, level.tiles8, level.palette8);
    if (code >= 3) level.tiles16 = Tiles16(tiles);
    if (code >= 6) level.tiles32 = Tiles32(tiles);
    level.objectTextures = objectTextures(tiles);
    for (const auto& room : world.rooms) level.rooms.push_back(convertRoom(room, code));

    std::vector<uint8_t> meshData;
    for (size_t i = 0; i < world.meshes.size(); ++i) {
        level.meshPointers.push_back(uint32_t(meshData.size()));
        level.staticMeshDefinitions.push_back({world.meshes[i].meshId, uint16_t(i)});
        const auto bytes = DemoMeshBytes(world.meshes[i], code);
        meshData.insert(meshData.end(), bytes.begin(), bytes.end());
    }
    level.spriteTextures = spriteTextures(tiles, code);
    const DemoStart& start = world.start;
    level.entities = std::vector<Entity>{{0, start.room, start.x, start.y, start.z, start.angle}};
    AddDemoItems(level, tiles, meshData);
    AddDemoFloorData(level);
    addLightsAndCameras(level);
    // The flooded storeroom copies the dry one after its sectors and floor data are in place.
    AddFloodedStoreroom(level);
    AddDemoSky(level, meshData);
    level.meshData.resize(meshData.size() / 2);
    std::memcpy(level.meshData.data(), meshData.data(), meshData.size());
    return level;
}

}  // namespace grottix::demo
