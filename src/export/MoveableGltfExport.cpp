#include "export/MoveableGltfExport.h"

#include <filesystem>

#include "export/GltfAnimations.h"
#include "export/GltfDocument.h"
#include "export/GltfLevelBuilder.h"
#include "export/GltfMaterials.h"
#include "import/ItemImport.h"
#include "import/LevelFaces.h"
#include "level/AnimationPose.h"
#include "level/LevelMeshes.h"
#include "level/LevelNames.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"
#include "storage/OutputFiles.h"

namespace grottix {

namespace {

constexpr float kLevelUnits = 1;
constexpr int32_t kModelGroup = 1;

}  // namespace

std::string ModelAnimationName(uint16_t animation, uint16_t state) {
    return "anim " + std::to_string(animation) + " (state " + std::to_string(state) + ")";
}

uint8_t ExportMoveableToGltf(const std::string& path, uint32_t type, const std::string& out,
                             const TGltfExportOptions& options, TModelExportReport* report) {
    TTombRaiderLevel level;
    const uint8_t result = level.LoadLevel(path);
    if (result != kLevelLoaded) {
        if (report) report->Problem = level.LoadErrorMessage(result);
        return result;
    }
    const std::vector<TMoveable> moveables = ReadMoveables(level);
    size_t index = 0;
    while (index < moveables.size() && moveables[index].objectId != type) ++index;
    if (index == moveables.size()) throw EGrottixError("The level has no moveable of type " + std::to_string(type));

    const std::string name = ObjectName(level.VersionCode, int(type));
    TGltfLevelBuilder builder(level, name, options.Sprites, TGltfItemNodes::Model);
    {
        const TLevelMeshList meshes = ParseLevelMeshes(level);
        TFaceBuilder faces(builder, level, options.LightFactor, nullptr, options.Filtering);
        if (!ImportMoveable(faces, level, meshes, type, kLevelUnits, kModelGroup) || builder.Items().empty())
            throw EGrottixError("The level's tables do not hold the meshes of moveable " + std::to_string(type));
    }
    const std::filesystem::path file(path);
    TGltfMaterials materials(level, file.stem().string(), options.Filtering);
    materials.EncodeTiles(builder.UsedTiles(), {});
    TGltfDocument document;
    builder.Finish(document, materials);

    TAnimationLibrary library(level);
    const TMoveableAnimations& played = library.Moveable(index);
    const std::vector<int>& meshNodes = builder.Items().front().meshes;
    for (size_t i = 0; i < played.OwnAnimations(); ++i) {
        const TAnimationClip* clip = played.Clip(uint16_t(played.FirstAnimation() + i));
        if (!clip) continue;
        TJson animation{{"name", ModelAnimationName(clip->index, clip->animation.state)}};
        AddPoseChannels(document, animation, meshNodes, ClipKeys(*clip));
        if (animation.contains("channels")) document.Animations.push_back(std::move(animation));
    }

    const std::vector<uint8_t> glb = document.Glb({{"version", "2.0"}, {"generator", "Grottix Viewer " GROTTIX_VERSION}});
    WriteOutputFile(out, glb);
    if (report) {
        *report = {};
        report->Meshes = meshNodes.size();
        report->Animations = document.Animations.size();
        report->Triangles = builder.Triangles();
        report->Bytes = glb.size();
        for (const TLevelDamage& d : played.Damage()) report->Damage.push_back(d.Describe());
    }
    return kLevelLoaded;
}

}  // namespace grottix
