// LoadLevel on arbitrary bytes, under every file name that selects a different version code, and
// the floor data of what was read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/FloorData.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kNames[] = {"f.phd", "f.tub", "f.tr2", "f.trg", "f.tr4", "f.trc"};
    for (const char* name : kNames) {
        grottix::TTombRaiderLevel level;
        try {
            level.LoadLevelFromBytes(std::vector<uint8_t>(data, data + size), name);
            grottix::ReadFloorData(level);
        } catch (const grottix::EGrottixError&) {
        }
    }
    return 0;
}
