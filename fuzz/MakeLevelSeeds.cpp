// Writes small levels of every version into the folder given as the only argument, as seeds of the
// level fuzz targets beside the demo levels: two rooms with faces, sprites and a static mesh, mesh
// data, object textures, and for a few of them a texture tile; one more wrapped in "ZLIB".
#include <filesystem>
#include <string>

#include "level_writer/LevelWriter.h"

namespace {

using namespace grottix::levelwriter;

Room room(int index, int code) {
    Room room;
    room.x = 1024 * index;
    room.yTop = -1024;
    if (code == 7) {
        Layer layer;
        layer.vertices = {{0, 0, 0, 10, 20, 30}, {100, 0, 0}, {0, 0, 100}, {100, 0, 100}};
        layer.rectangles = {{{0, 1, 3, 2}, 1}};
        layer.triangles = {{{0, 1, 2}, 0}};
        room.layers = {layer, layer};
    } else {
        for (int16_t i = 0; i < 4; ++i) room.vertices.push_back({int16_t(i * 100), 0, int16_t(i % 2 * 100), 0x1000});
        room.rectangles = {{{0, 1, 3, 2}, 1}};
        room.triangles = {{{0, 1, 2}, 0}};
        room.sprites = {{1, 0}};
    }
    room.staticMeshes = {{100, 0, 100, 16384, 7}};
    room.portals = 1;
    room.lights = 1;
    return room;
}

LevelDescription level(int code) {
    LevelDescription level;
    level.code = code;
    level.tileCount = code == 2 || code >= 6 ? 1 : 0;
    level.rooms = {room(0, code), room(1, code)};
    level.meshData = {0, 0, 0, 0, 0, 3, 0, 0, 0, 100, 0, 0, 0, 0, 100, 0, 0, 1, 0, 1, 2, 0};
    level.meshPointers = {0};
    level.staticMeshDefinitions = {{7, 0}};
    level.objectTextures.resize(2);
    level.objectTextures[1].u = {0, 255, 255, 0};
    level.objectTextures[1].v = {0, 0, 255, 255};
    level.sampleTail = SampleTail({{1, 2, 3}});
    return level;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder);
    const char* names[] = {"", "level.phd", "level.tub", "level.tr2", "level.trg", "level3.tr2", "level.tr4", "level.trc"};
    for (int code = 1; code <= 7; ++code) WriteLevelFile(level(code), folder + "/" + names[code]);
    LevelDescription wrapped = level(3);
    wrapped.zlibWrapped = true;
    WriteLevelFile(wrapped, folder + "/wrapped.tr2");
    return 0;
}
