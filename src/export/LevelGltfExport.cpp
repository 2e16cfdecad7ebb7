#include "export/LevelGltfExport.h"

#include <algorithm>
#include <filesystem>

#include "export/GltfAnimations.h"
#include "export/GltfDocument.h"
#include "export/GltfLevelBuilder.h"
#include "export/GltfMaterials.h"
#include "import/ItemImport.h"
#include "import/LevelFaces.h"
#include "import/RoomImport.h"
#include "import/ShownRoomsSink.h"
#include "level/EntityOutsideRoom.h"
#include "level/LevelMeshes.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "storage/OutputFiles.h"

namespace grottix {

namespace {

// The builder gets level units; it turns them into metres itself.
constexpr float kLevelUnits = 1;
// Items need a group to be told apart in the viewer's scene; here any will do.
constexpr int32_t kItemsGroup = 1;

// Converting takes this share of the work, encoding the tiles most of the rest.
constexpr double kLoaded = 0.15, kConverted = 0.4, kEncoded = 0.9;

}  // namespace

uint8_t ExportLevelToGltf(const std::string& path, const std::string& out, const TGltfExportOptions& options,
                          const TExportProgress& progress, TGltfExportReport* report) {
    const auto reach = [&](double done) {
        if (progress) progress(done);
    };
    reach(0);
    TTombRaiderLevel level;
    const uint8_t result = level.LoadLevel(path);
    if (result != kLevelLoaded) {
        if (report) report->Problem = level.LoadErrorMessage(result);
        return result;
    }
    reach(kLoaded);

    const std::filesystem::path file(path);
    TGltfLevelBuilder builder(level, file.filename().string(), options.Sprites,
                              options.Animations && options.Items ? TGltfItemNodes::PerMesh : TGltfItemNodes::Whole);
    size_t meshesLeftOut = 0;
    const std::vector<uint8_t> outside = options.AllItems ? std::vector<uint8_t>() : EntitiesOutsideTheirRooms(level);
    if (!level.Rooms.empty()) {
        const TLevelMeshList meshes = ParseLevelMeshes(level);
        TShownRoomsSink shown(builder, TFlipMaps::Read(level).RoomsShown(options.Flip));
        // Filtered, texture coordinates sit half a texel inside their face's texture, as the viewer's.
        TFaceBuilder faces(shown, level, options.LightFactor, nullptr, options.Filtering);
        ImportRooms(faces, level, meshes, kLevelUnits);
        if (options.Items) ImportItems(faces, level, meshes, kLevelUnits, kItemsGroup, 0, outside);
        meshesLeftOut = faces.MeshesLeftOut;
    }
    reach(kConverted);

    TGltfMaterials materials(level, file.stem().string(), options.Filtering);
    materials.EncodeTiles(builder.UsedTiles(), [&](double done) { reach(kConverted + (kEncoded - kConverted) * done); });
    TGltfDocument document;
    builder.Finish(document, materials);
    std::vector<TLevelDamage> damage;
    const size_t animated = options.Animations ? AddItemAnimation(document, level, builder.Items(), &damage) : 0;
    const std::vector<uint8_t> glb =
        document.Glb({{"version", "2.0"}, {"generator", "Grottix Viewer " GROTTIX_VERSION}});
    WriteOutputFile(out, glb);
    reach(1);

    if (report) {
        *report = {};
        report->Nodes = size_t(document.Nodes.size());
        report->Triangles = builder.Triangles();
        report->Textures = size_t(document.Textures.size());
        report->Bytes = glb.size();
        report->LeftOut = builder.LeftOut();
        report->Animations = document.Animations.size();
        report->AnimatedItems = animated;
        for (const TLevelDamage& d : damage) report->Damage.push_back(d.Describe());
        report->MeshesLeftOut = meshesLeftOut;
        if (options.Items) report->ItemsOutside = size_t(std::count(outside.begin(), outside.end(), 1));
    }
    return kLevelLoaded;
}

}  // namespace grottix
