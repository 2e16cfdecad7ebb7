// Reads the input as a world stream (or, starting with "PWAD", as a WAD holding the world entry
// C:\world.D3D) into a scene without display, then writes back whatever was read.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/Scene.h"
#include "storage/Exceptions.h"
#include "storage/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grottix;
    TD3DScene scene(nullptr);
    TMemoryStream input(std::vector<uint8_t>(data, data + size));
    try {
        if (size >= 4 && std::memcmp(data, "PWAD", 4) == 0) scene.LoadFromWadStream(input, 0, "C:\\world.D3D", int64_t(size));
        else scene.LoadFromStream(input, 119);
    } catch (const EGrottixError&) {
    }
    TMemoryStream output;
    try {
        scene.SaveToStream(output);
    } catch (const EGrottixError&) {
    }
    return 0;
}
