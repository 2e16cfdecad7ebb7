// Where worlds come from and go to on disk: world files, the program's resources (none on this
// platform), the choice between a file and a WAD entry, and the worlds child scenes name.

#include "codecs/PictureFormats.h"
#include "engine/Scene.h"
#include "engine/WorldFileDisk.h"
#include "engine/WorldFileStream.h"
#include "level/LevelNames.h"
#include "storage/CachedFileStream.h"
#include "storage/Wad.h"

namespace grottix {

namespace {

constexpr int kMaxWorldNesting = 32;
constexpr int32_t kMaxChildWorlds = 65536;

// A world that names itself among its children would be read for ever, and so would worlds that
// nest without end or multiply at every level: refuse them before reading.
void checkNesting(TD3DScene& child) {
    const std::string& name = child.Info.FileName;
    TD3DScene* root = &child;
    int depth = 0;
    for (TD3DScene* ancestor = child.Parent; ancestor; ancestor = ancestor->Parent) {
        const std::string& world = ancestor->Parent ? ancestor->Info.FileName : ancestor->FileName;
        if (world == name) throw EWorldFileError("World " + name + " contains itself");
        root = ancestor;
        ++depth;
    }
    if (depth > kMaxWorldNesting)
        throw EWorldFileError("Child scenes nest more than " + std::to_string(kMaxWorldNesting) + " deep at " + name);
    if (++root->ChildWorldsRead > kMaxChildWorlds)
        throw EWorldFileError("A world names more than " + std::to_string(kMaxChildWorlds) + " child worlds");
}

}  // namespace

void TD3DScene::restartClock() {
    StartTime = TickSeconds();
    LastUpdate = -2 * FrameInterval;
}

void TD3DScene::SaveToFile(const std::string& name) {
    // The world is complete in memory before any file is touched.
    TMemoryStream world;
    SaveToStream(world);
    if (FileExists(name) && !SameTextIgnoringCase(FileExtension(name), "~D3D")) CopyToBackup(name, ".~D3D");
    FileName = name;
    ReplaceFileContent(name, world.Bytes());
    Modified = false;
}

void TD3DScene::LoadFromFile(const std::string& name) {
    FileName = ExpandFilePath(name);
    TCachedFileStream file(FileName, kWorldReadBlock, FileMode::OpenRead);
    LoadFromStream(file, kWorldFileVersion);
    Modified = false;
    restartClock();
    UpdateMaxID();
}

void TD3DScene::ImportFromFile(const std::string& name, TD3DVector rotation, TD3DVector translation) {
    FileName = ExpandFilePath(name);
    TCachedFileStream file(FileName, kWorldReadBlock, FileMode::OpenRead);
    ReadWorld(file, rotation, translation);
    Modified = true;
}

void TD3DScene::LoadFromResource(const std::string& name) {
    throw EWorldFileError("Resource " + ExpandResourceName(name) + " not found");
}

bool TD3DScene::OpenWorld(const std::string& name) {
    std::string wadFile, entry;
    if (SplitLevelTextureName(name, wadFile, entry)) {
        if (!FileExists(ExpandFilePath(wadFile))) return false;
        LoadFromWad(wadFile, entry);
        return true;
    }
    if (!SameTextIgnoringCase(FileExtension(FileName), "WAD")) {
        const std::string path = ExpandFilePath(name);
        if (!FileExists(path)) return false;
        LoadFromFile(path);
        return true;
    }
    // The current world came from a WAD: the name is another entry of it.
    if (!FileExists(FileName)) return false;
    LoadFromWad(FileName, name);
    return true;
}

void TD3DScene::readChildWorld() {
    if (Info.FileName.empty() || !Parent) return;
    checkNesting(*this);
    OnProcessMessages = Parent->OnProcessMessages;
    if (Parent->LoadingFromWad && Parent->Wad) {
        FileName.clear();
        readFromWad(*Parent->Wad, Info.FileName, [&](TStream& world) { LoadFromStream(world, kWorldFileVersion); });
        Modified = false;
        restartClock();
        UpdateMaxID();
    } else if (Parent->LoadingFromResource) {
        LoadFromResource(Info.FileName);
    } else {
        LoadFromFile(Info.FileName);
    }
}

}  // namespace grottix
