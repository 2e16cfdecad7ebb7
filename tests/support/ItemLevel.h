#pragma once
// A small level with one item to find: a room 4 x 4 sectors with a green floor at y 512, the
// player's start at (0, 512, -1024) facing +z, and a sprite item (type 10, a red picture 512 units
// square standing on the floor) 2048 units ahead at (0, 512, 1024). From the start the item is
// straight ahead, below the middle of the view.

#include "level_writer/LevelWriter.h"

namespace grottix::test {

inline levelwriter::LevelDescription ItemLevel(int code = 1) {
    using namespace levelwriter;
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    level.tiles8.assign(65536, 0);
    level.tiles16.assign(131072, 0);
    level.palette8[3] = 63;  // entry 1: red
    level.palette8[7] = 63;  // entry 2: green
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const bool green = y < 64 && x < 64;
            if (!green && (y < 64 || x < 64)) continue;
            level.tiles8[size_t(y * 256 + x)] = green ? 2 : 1;
            const uint16_t texel = green ? 0x83E0 : 0xFC00;
            level.tiles16[size_t(y * 256 + x) * 2] = uint8_t(texel);
            level.tiles16[size_t(y * 256 + x) * 2 + 1] = uint8_t(texel >> 8);
        }
    ObjectTexture green;
    green.u = {0, 63, 63, 0};
    green.v = {0, 0, 63, 63};
    level.objectTextures = {green};
    if (code >= 6) level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0, 0, 64, 64, 127, 127}};
    else level.spriteTextures = std::vector<SpriteTexture>{{0, 64, 64, 64 * 256 - 1, 64 * 256 - 1, -256, -512, 256, 0}};
    level.spriteSequences = std::vector<SpriteSequence>{{10, 1, 0}};
    level.moveables = std::vector<Moveable>{};
    Room room;
    room.x = room.z = -2048;
    room.xSectors = room.zSectors = 4;
    room.yBottom = 512;
    room.yTop = -2048;
    room.vertices = {{0, 512, 0}, {4096, 512, 0}, {4096, 512, 4096}, {0, 512, 4096}};
    room.rectangles = {{{0, 1, 2, 3}, 0}};
    if (code == 7) {
        room.layers = {{{{0, 512, 0}, {4096, 512, 0}, {4096, 512, 4096}, {0, 512, 4096}}, room.rectangles, {}}};
        room.vertices.clear();
        room.rectangles.clear();
    }
    level.rooms = {room};
    level.entities = std::vector<Entity>{{0, 0, 0, 512, -1024, 0}, {10, 0, 0, 512, 1024, 0}};
    return level;
}

}  // namespace grottix::test
