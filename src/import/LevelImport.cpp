#include "import/LevelImport.h"

#include <chrono>

#include "engine/Scene.h"
#include "import/CellImport.h"
#include "import/ItemImport.h"
#include "import/LevelFaces.h"
#include "import/SceneFaceSink.h"
#include "level/LevelMeshes.h"
#include "level/LevelNames.h"
#include "level/LevelStart.h"
#include "import/RoomImport.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// The eye at the level's start, in scene units, turned the way the player faces.
int placeEye(TD3DScene& scene, const TTombRaiderLevel& level, float scale) {
    const TLevelStart start = FindLevelStart(level);
    scene.SetCameraPosition({float(start.x / scale), float(-start.y / scale), float(start.z / scale)});
    scene.SetCameraRotation({0, float(start.yaw), 0});
    return start.room;
}

// Times the steps of one import, one lap per step.
class TLapTimer {
public:
    void lap(double& into) {
        const auto now = std::chrono::steady_clock::now();
        into = std::chrono::duration<double>(now - mark_).count();
        mark_ = now;
    }

private:
    std::chrono::steady_clock::time_point mark_ = std::chrono::steady_clock::now();
};

void importLoaded(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma, TImportReport& report, TLapTimer& timer) {
    scene.RegisterLevelTiles(level);
    timer.lap(report.Textures);
    report.VersionCode = level.VersionCode;
    report.Flips = TFlipMaps::Read(level);
    report.Rooms = ReadRoomVolumes(level, scale);
    if (level.Rooms.empty()) return;
    const TLevelMeshList meshes = ParseLevelMeshes(level);
    TSceneFaceSink sink(scene, *report.Animator);
    // Texture coordinates half a texel inside each face's texture: the view's filtering then never
    // reads a neighbouring picture of the tile.
    TFaceBuilder faces(sink, level, gamma, report.Animator.get(), true);
    ImportRooms(faces, level, meshes, scale);
    ImportCells(scene.Visibility, level, scale);
    report.ItemsID = NextID();
    report.PlayerID = NextID();
    report.Items = ImportItems(faces, level, meshes, scale, report.ItemsID, report.PlayerID);
    report.ItemBounds = std::move(sink.ItemBounds);
    report.ItemSpans = std::move(sink.ItemSpans);
    scene.FindCellContacts();
    const int32_t skyID = NextID();
    if (ImportLevelSky(faces, level, meshes, scale, skyID)) report.SkyID = skyID;
    report.MeshesLeftOut = faces.MeshesLeftOut;
    timer.lap(report.Converting);
    report.StartRoom = placeEye(scene, level, scale);
}

}  // namespace

void ImportLoadedLevel(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma, TImportReport* report) {
    TImportReport ignored;
    TLapTimer timer;
    importLoaded(scene, level, scale, gamma, report ? *report : ignored, timer);
}

uint8_t ReadLevelFile(const std::string& path, std::shared_ptr<TTombRaiderLevel>& level, TImportReport& report) {
    TLapTimer timer;
    level = std::make_shared<TTombRaiderLevel>();
    const uint8_t result = level->LoadLevel(path);
    timer.lap(report.Reading);
    if (result != kLevelLoaded) report.Problem = level->LoadErrorMessage(result);
    return result;
}

void ImportReadLevel(TD3DScene& scene, std::shared_ptr<TTombRaiderLevel> level, float scale, float gamma, TImportReport& report) {
    TLapTimer timer;
    importLoaded(scene, *level, scale, gamma, report, timer);
    // The tiles are in the scene's textures now: the level handed on keeps its tables only.
    for (std::vector<uint8_t>* tiles : {&level->Tiles8, &level->Tiles16, &level->Tiles32, &level->MiscTiles})
        std::vector<uint8_t>().swap(*tiles);
    report.Level = std::move(level);
}

uint8_t ImportTombRaiderMap(TD3DScene& scene, const std::string& path, float scale, float gamma, TImportReport* report) {
    TImportReport ignored;
    TImportReport& into = report ? *report : ignored;
    std::shared_ptr<TTombRaiderLevel> level;
    const uint8_t result = ReadLevelFile(path, level, into);
    if (result == kLevelLoaded || result == kLevelDamaged) ImportReadLevel(scene, std::move(level), scale, gamma, into);
    return result;
}

}  // namespace grottix
