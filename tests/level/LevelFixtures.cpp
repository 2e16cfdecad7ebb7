#include "level/LevelFixtures.h"

namespace grottix::test {

using namespace levelwriter;

namespace {

Room classicRoom(int index) {
    Room room;
    room.x = 1024 * index;
    room.z = 2048;
    room.yBottom = 0;
    room.yTop = -1024;
    for (int16_t i = 0; i < 6; ++i)
        room.vertices.push_back({int16_t(i * 100), int16_t(-i), int16_t(i * 50), int16_t(i * 0x100), 16, uint16_t(0x1234 + i)});
    room.rectangles = {{{0, 1, 2, 3}, 1}, {{2, 3, 4, 5}, 0x1002}};
    room.triangles = {{{0, 1, 5}, 2}};
    room.sprites = {{4, 3}};
    room.staticMeshes = {{100, -200, 300, 16384, 7}};
    room.portals = 1;
    room.zSectors = 2;
    room.xSectors = 3;
    room.lights = 2;
    return room;
}

Room layeredRoom(int index) {
    Room room;
    room.x = 1024 * index;
    room.z = 512;
    room.yBottom = 256;
    room.yTop = -768;
    Layer first;
    first.vertices = {{0, 0, 0, 10, 20, 30}, {100.4f, 0, 0, 40, 50, 60}, {0, 0, 100, 70, 80, 90}, {100, 0, 100, 1, 2, 3}};
    first.rectangles = {{{0, 1, 3, 2}, 5}};
    first.triangles = {{{0, 1, 2}, 6}};
    Layer second;
    second.vertices = {{99.6f, 0, 0, 200, 100, 50}, {200, 0, 0, 8, 8, 8}, {200, -100, 0, 16, 16, 16}};
    second.triangles = {{{0, 1, 2}, 7}, {{1, 2, 0}, 8}};
    room.layers = {first, second};
    room.staticMeshes = {{100, -200, 300, 100, 7}};
    room.portals = 2;
    room.lights = 1;
    room.fogBulbs = 1;
    return room;
}

}  // namespace

LevelDescription SmallLevel(int code) {
    LevelDescription level;
    level.code = code;
    level.tileCount = 2;
    for (int i = 0; i < 768; ++i) level.palette8[size_t(i)] = uint8_t(i % 64);
    level.rooms = code == 7 ? std::vector<Room>{layeredRoom(0), layeredRoom(1)} : std::vector<Room>{classicRoom(0), classicRoom(1)};
    level.meshData = {1, 2, 3, 4, 5, 6, 7, 8};
    level.meshPointers = {0, 8};
    level.staticMeshDefinitions = {{7, 1}, {9, 0}};
    for (uint16_t i = 0; i < 4; ++i) {
        ObjectTexture texture;
        texture.tile = uint16_t(i % 2);
        texture.u = {0, 63, 63, 0};
        texture.v = {0, 0, uint8_t(31 + i), uint8_t(31 + i)};
        level.objectTextures.push_back(texture);
    }
    level.sampleTail = SampleTail({{0xAA, 0xBB, 0xCC}, {}});
    return level;
}

std::string FileNameFor(int code) {
    switch (code) {
        case 1: return "level.phd";
        case 2: return "level.tub";
        case 3: return "level.tr2";
        case 4: return "level.trg";
        case 5: return "level3.tr2";
        case 6: return "level.tr4";
        default: return "level.trc";
    }
}

}  // namespace grottix::test
