#include "bench/support/LargeLevel.h"

#include <filesystem>

#include "demo_level/DemoLevel.h"
#include "level_writer/RoomGrid.h"
#include "storage/Stream.h"

namespace grottix::bench {

namespace {

using namespace levelwriter;

constexpr int kCopies = 55;  // of the demo level's five rooms (one the storeroom's alternate): 275 rooms

// Texture tiles with the grain of real ones: textured, yet compressible.
std::vector<uint8_t> noisyTiles(size_t bytes) {
    std::vector<uint8_t> tiles(bytes);
    uint32_t state = 12345;
    for (size_t i = 0; i < bytes; ++i) {
        state = state * 1664525u + 1013904223u;
        tiles[i] = uint8_t((i / 3 % 97) + (state >> 29));
    }
    return tiles;
}

constexpr int kTiles = 32;

// Copies of the object textures, each set on the next two tiles; room copy c takes set c.
void spreadOverTiles(LevelDescription& level, std::vector<Room>& rooms, size_t roomsPerCopy) {
    const size_t count = level.objectTextures.size();
    const int sets = kTiles / 2;
    for (int set = 1; set < sets; ++set)
        for (size_t t = 0; t < count; ++t) {
            ObjectTexture texture = level.objectTextures[t];
            texture.tile = uint16_t((texture.tile + 2 * set) % kTiles);
            level.objectTextures.push_back(texture);
        }
    const auto shift = [&](uint16_t& word, size_t set) { word = uint16_t((word & 0xF000) | ((word & 0x0FFF) + set * count)); };
    for (size_t r = 0; r < rooms.size(); ++r) {
        const size_t set = r / roomsPerCopy % size_t(sets);
        for (Rectangle& face : rooms[r].rectangles) shift(face.texture, set);
        for (Triangle& face : rooms[r].triangles) shift(face.texture, set);
    }
}

}  // namespace

std::string LargeLevel(int items, bool everyTile) {
    const std::string name = "grottix-bench-items32-" + std::to_string(items) + (everyTile ? "-every-tile" : "") + ".tr4";
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    if (FileExists(path)) return path;
    LevelDescription level = demo::DemoLevel(6);
    level.tileCount = kTiles;
    level.tiles16 = noisyTiles(kTiles * 131072);
    level.tiles32 = noisyTiles(kTiles * 262144);
    const std::vector<Room> rooms = level.rooms;
    const std::vector<Entity> demoItems(level.entities->begin() + 1, level.entities->end());
    level.entities->resize(1);
    level.rooms.clear();
    for (int copy = 0; copy < kCopies; ++copy)
        for (Room room : rooms) {
            room.x += copy * 20480;
            if (room.alternateRoom >= 0) room.alternateRoom = int16_t(room.alternateRoom + copy * int(rooms.size()));
            level.rooms.push_back(room);
        }
    if (everyTile) spreadOverTiles(level, level.rooms, rooms.size());
    for (int i = 0; i < items; ++i) {
        Entity item = demoItems[size_t(i) % demoItems.size()];
        item.x += (i / int(demoItems.size())) % kCopies * 20480;
        item.z += i / int(demoItems.size()) / kCopies * 64;
        level.entities->push_back(item);
    }
    WriteLevelFile(level, path);
    return path;
}

std::string PortalGridLevel(int side) {
    const std::string name = "grottix-bench-portal-grid-" + std::to_string(side) + ".tr4";
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    if (!FileExists(path)) WriteLevelFile(RoomGridLevel(6, side, side), path);
    return path;
}

}  // namespace grottix::bench
