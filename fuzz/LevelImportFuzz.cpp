// The whole level import on arbitrary bytes: reading, tiles, faces, meshes and sprites, with any
// indices a file may hold. A damaged level is imported as far as it was read, as the window shows it,
// and every moveable is posed through its animation run.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Scene.h"
#include "import/LevelImport.h"
#include "level/AnimationPose.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kNames[] = {"f.phd", "f.tr2", "f.tr4", "f.trc"};
    for (const char* name : kNames) {
        grottix::TD3DScene scene(nullptr);
        grottix::TTombRaiderLevel level;
        try {
            const uint8_t result = level.LoadLevelFromBytes(std::vector<uint8_t>(data, data + size), name);
            if (result == grottix::kLevelLoaded || result == grottix::kLevelDamaged) {
                grottix::ImportLoadedLevel(scene, level, 128, 0.5f);
                grottix::TAnimationLibrary library(level);
                for (size_t i = 0; i < library.Moveables().size(); ++i) {
                    const grottix::TMoveableAnimations& played = library.Moveable(i);
                    grottix::TAnimationPose pose;
                    const grottix::TAnimationRun run(played, played.FirstAnimation());
                    for (double seconds : {0.0, 0.5, 100.0}) run.PoseAt(seconds, pose);
                }
            }
        } catch (const grottix::EGrottixError&) {
        }
    }
    return 0;
}
