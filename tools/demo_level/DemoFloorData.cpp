#include "demo_level/DemoFloorData.h"

#include <map>
#include <tuple>

namespace grottix::demo {

using namespace levelwriter;

namespace {

constexpr uint16_t kEnd = 0x8000;

uint16_t header(int function, int sub = 0) { return uint16_t(function | sub << 8); }
uint16_t action(int what, int parameter) { return uint16_t(what << 10 | parameter); }

// The function chains of the squares that have any, by room, column and row.
class ChainBuilder {
public:
    void Add(int room, int x, int z, std::vector<uint16_t> function) {
        auto& words = chains_[{room, x, z}];
        lastHeader_[{room, x, z}] = words.size();
        words.insert(words.end(), function.begin(), function.end());
    }

    // Lays the chains out after the unused word 0, and points their squares at them.
    std::vector<uint16_t> Write(std::vector<Room>& rooms) {
        std::vector<uint16_t> words = {0};
        for (auto& [key, chain] : chains_) {
            const auto [room, x, z] = key;
            chain[lastHeader_[key]] |= kEnd;
            (*rooms[size_t(room)].sectorList)[size_t(x) * rooms[size_t(room)].zSectors + size_t(z)].floorDataIndex =
                uint16_t(words.size());
            words.insert(words.end(), chain.begin(), chain.end());
        }
        return words;
    }

private:
    std::map<std::tuple<int, int, int>, std::vector<uint16_t>> chains_;
    std::map<std::tuple<int, int, int>, size_t> lastHeader_;
};

void flatSectors(Room& room) {
    Sector sector;
    sector.floor = int8_t(room.yBottom / 256);
    sector.ceiling = int8_t(room.yTop / 256);
    room.sectorList = std::vector<Sector>(size_t(room.xSectors) * room.zSectors, sector);
}

void addPortals(ChainBuilder& chains) {
    for (int column : {2, 3}) chains.Add(0, column, 5, {header(1), 1});  // hall to corridor
    for (int row : {2, 3}) chains.Add(0, 5, row, {header(1), 3});        // hall to storeroom
    for (int column : {0, 1}) {
        chains.Add(1, column, 0, {header(1), 0});  // corridor to hall
        chains.Add(1, column, 3, {header(1), 2});  // corridor to courtyard
    }
    for (int column : {3, 4}) chains.Add(2, column, 0, {header(1), 1});  // courtyard to corridor
    for (int row : {1, 2}) chains.Add(3, 0, row, {header(1), 0});        // storeroom to hall
}

}  // namespace

void AddDemoFloorData(LevelDescription& level) {
    if (level.rooms.size() < 4) return;
    for (Room& room : level.rooms)
        if (!room.sectorList) flatSectors(room);
    ChainBuilder chains;
    addPortals(chains);
    // Walking into the hall's middle wakes the statue (item 1), shows camera 0 for 5 seconds and
    // plays a track, once; the switch square by the crate (item 2) looks at it.
    chains.Add(0, 2, 2, {header(4, 0), uint16_t(0x100 | 0x1F << 9), action(0, 1), action(1, 0), uint16_t(5 | 0x100),
                         uint16_t(action(8, 5) | kEnd)});
    chains.Add(0, 1, 4, {header(4, 2), uint16_t(0x1F << 9), action(0, 2), uint16_t(action(6, 2) | kEnd)});
    for (int row : {6, 7}) chains.Add(2, 0, row, {header(5)});
    if (level.code >= 3)
        for (int row : {1, 2}) chains.Add(3, 3, row, {header(6, 0x02)});  // the +x wall
    if (level.code >= 5)
        for (int column : {0, 1}) chains.Add(1, column, 2, {header(19)});
    level.floorData = chains.Write(level.rooms);
}

}  // namespace grottix::demo
