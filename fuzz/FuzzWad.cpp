// Opens the input as a WAD archive and extracts every entry, and one nested name.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/Wad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grottix;
    TMemoryStream input(std::vector<uint8_t>(data, data + size));
    try {
        TWad wad(input);
        std::vector<std::string> names;
        wad.GetEntryNames(names);
        TMemoryStream out;
        for (const std::string& name : names) {
            try {
                wad.ExtractEntry(name, out);
            } catch (const EGrottixError&) {
            }
        }
        if (!names.empty()) wad.ExtractEntry(names.front() + "|" + names.back(), out);
    } catch (const EGrottixError&) {
    }
    return 0;
}
