#include "LargeLevel.h"

#include <filesystem>

#include "demo_level/DemoLevel.h"
#include "storage/Stream.h"

namespace grottix::bench {

namespace {

using namespace levelwriter;

constexpr int kCopies = 55;  // of the demo level's four rooms: 220 rooms

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

}  // namespace

std::string LargeLevel(int items) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("grottix-bench-items32-" + std::to_string(items) + ".tr4")).string();
    if (FileExists(path)) return path;
    LevelDescription level = demo::DemoLevel(6);
    level.tileCount = 32;
    level.tiles16 = noisyTiles(32 * 131072);
    level.tiles32 = noisyTiles(32 * 262144);
    const std::vector<Room> rooms = level.rooms;
    const std::vector<Entity> demoItems(level.entities->begin() + 1, level.entities->end());
    level.entities->resize(1);
    level.rooms.clear();
    for (int copy = 0; copy < kCopies; ++copy)
        for (Room room : rooms) {
            room.x += copy * 20480;
            level.rooms.push_back(room);
        }
    for (int i = 0; i < items; ++i) {
        Entity item = demoItems[size_t(i) % demoItems.size()];
        item.x += (i / int(demoItems.size())) % kCopies * 20480;
        item.z += i / int(demoItems.size()) / kCopies * 64;
        level.entities->push_back(item);
    }
    WriteLevelFile(level, path);
    return path;
}

}  // namespace grottix::bench
