// LoadLevel on arbitrary bytes, under every file name that selects a different version code, then
// Go to the first and last item and room of whatever was read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/LevelEntities.h"
#include "level/LevelGoTo.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kNames[] = {"f.phd", "f.tub", "f.tr2", "f.trg", "f.tr4", "f.trc"};
    for (const char* name : kNames) {
        grottix::TTombRaiderLevel level;
        try {
            level.LoadLevelFromBytes(std::vector<uint8_t>(data, data + size), name);
        } catch (const grottix::EGrottixError&) {
        }
        const size_t items = grottix::ReadEntities(level).size(), rooms = level.Rooms.size();
        for (const size_t item : {size_t(0), items ? items - 1 : 0}) grottix::GoToItem(level, item);
        for (const size_t room : {size_t(0), rooms ? rooms - 1 : 0}) grottix::GoToRoom(level, room);
    }
    return 0;
}
