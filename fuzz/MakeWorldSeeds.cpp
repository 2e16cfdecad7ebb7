// Writes the seeds of the world-file fuzz target into the folder given as the only argument: a
// world of every item kind, a world with a child world, and a WAD holding both.
#include <filesystem>
#include <string>
#include <vector>

#include "engine/WorldFileFixtures.h"

int main(int argc, char** argv) {
    using namespace grottix;
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder);

    TD3DScene everything(nullptr);
    test::fillWithEveryItem(everything);
    everything.SaveToFile(folder + "/every-item.d3d");

    TD3DScene parent(nullptr);
    TD3DSceneInfo child;
    child.ID = 3;
    child.Translation = {1, 2, 3};
    child.FileName = folder + "/every-item.d3d";
    parent.AddObject(kKindScene, &child);
    const auto quad = test::sampleQuadrangle("gray8");
    parent.AddObject(kKindQuadrangle, &quad);
    parent.SaveToFile(folder + "/with-child.d3d");

    const std::vector<std::string> files = {child.FileName};
    parent.SaveToWad(folder + "/world.wad", "world", &files, false);
    return 0;
}
