// Worlds packed in WAD archives: reading a world entry (textures, data files and child worlds named
// inside it then come from the same archive), the files a world depends on, and writing a world
// with those files into a WAD.

#include <unistd.h>

#include <algorithm>

#include "engine/Scene.h"
#include "engine/WorldFileDisk.h"
#include "engine/WorldFileStream.h"
#include "storage/SubStream.h"
#include "storage/Wad.h"

namespace grottix {

namespace {

// "outer|inner" names an entry of a WAD stored in a WAD; world data must not nest them without end.
constexpr size_t kMaxWadNesting = 16;

// A top-level scene owns the WAD it reads; children only borrow their parent's.
void freeOwnedWad(TD3DScene& scene) {
    if (!scene.IsChild || !scene.Parent) delete scene.Wad;
    scene.Wad = nullptr;
}

bool listed(const std::vector<std::string>& files, const std::string& name) {
    return std::any_of(files.begin(), files.end(), [&](const std::string& file) { return SameTextIgnoringCase(file, name); });
}

// "C:\" in front unless the name has a drive, ".D3D" behind unless it has that extension.
std::string worldEntryName(std::string entry) {
    if (entry.size() < 3 || entry.compare(1, 2, ":\\") != 0) entry = "C:\\" + entry;
    if (entry.size() < 4 || !SameTextIgnoringCase(entry.substr(entry.size() - 4), ".D3D")) entry += ".D3D";
    return entry;
}

// The WAD writer reads every file by its list name; a name the scene finds only by its file
// search is given as the path it found.
std::vector<std::string> readablePaths(const TD3DScene& scene, const std::vector<std::string>& files) {
    std::vector<std::string> paths;
    for (const std::string& file : files) paths.push_back(FileExists(file) ? file : scene.ExpandFilePath(file));
    return paths;
}

}  // namespace

void TD3DScene::readFromWad(TWad& wad, const std::string& entry, const std::function<void(TStream&)>& read) {
    struct TRestore {
        TD3DScene& scene;
        TWad* wad;
        bool loading;
        ~TRestore() {
            scene.Wad = wad;
            scene.LoadingFromWad = loading;
        }
    } restore{*this, Wad, LoadingFromWad};
    Wad = &wad;
    LoadingFromWad = true;
    const std::string name = ExpandWadEntryName(entry);
    if (size_t(std::count(name.begin(), name.end(), '|')) > kMaxWadNesting)
        throw EWorldFileError("WAD entry nested too deep: " + name.substr(0, 255));
    TMemoryStream world;
    wad.ExtractEntry(name, world);
    read(world);
}

void TD3DScene::LoadFromWad(const std::string& file, const std::string& entry) {
    FileName = ExpandFilePath(file);
    freeOwnedWad(*this);
    TWad wad(FileName);
    readFromWad(wad, entry, [&](TStream& world) { LoadFromStream(world, kWorldFileVersion); });
    Modified = false;
    restartClock();
    UpdateMaxID();
}

void TD3DScene::LoadFromWadStream(TStream& stream, int64_t start, const std::string& entry, int64_t length) {
    FileName.clear();
    freeOwnedWad(*this);
    TSubStream window(&stream, start, length);
    TWad wad(window);
    readFromWad(wad, entry, [&](TStream& world) { LoadFromStream(world, kWorldFileVersion); });
    Modified = false;
    restartClock();
    UpdateMaxID();
}

void TD3DScene::ImportFromWad(const std::string& file, const std::string& entry, TD3DVector rotation,
                              TD3DVector translation) {
    freeOwnedWad(*this);
    TWad wad(ExpandFilePath(file));
    readFromWad(wad, entry, [&](TStream& world) { ReadWorld(world, rotation, translation); });
    Modified = true;
}

void TD3DScene::CollectFiles(std::vector<std::string>& files) {
    for (const auto& texture : Shared->Textures) {
        const std::string& name = texture.Name;
        const std::string expanded = ExpandFilePath(name);
        if (listed(files, name) || listed(files, expanded) || name.find("::") != std::string::npos || !FileExists(expanded))
            continue;
        files.push_back(name);
    }
    for (const auto& item : DataItems)
        if (!listed(files, item.Name) && !listed(files, ExpandFilePath(item.Name))) files.push_back(item.Name);
}

// Paths are added as found: upper-cased they would name other files on this platform.
void TD3DScene::CollectChildFiles(std::vector<std::string>& files) {
    for (const auto& entry : Objects) {
        if (entry.Item->GetKind() != kKindScene) continue;
        auto& child = static_cast<TD3DScene&>(*entry.Item);
        const std::string path = ExpandFilePath(child.FileName.empty() ? child.Info.FileName : child.FileName);
        if (!listed(files, path)) files.push_back(path);
        child.CollectFiles(files);
        child.CollectChildFiles(files);
    }
}

void TD3DScene::SaveToWad(const std::string& file, const std::string& entry, const std::vector<std::string>* files,
                          bool progress) {
    saveWorldToWad(file, entry, files, progress, false);
}

void TD3DScene::SaveToWadFilesFirst(const std::string& file, const std::string& entry,
                                    const std::vector<std::string>* files, bool progress) {
    saveWorldToWad(file, entry, files, progress, true);
}

// The new archive is built beside the old one and renamed over it once complete. Without
// filesFirst it starts empty and takes the world first; with it, it starts as a copy of the old
// archive and takes the files first.
void TD3DScene::saveWorldToWad(const std::string& file, const std::string& entry, const std::vector<std::string>* files,
                               bool progress, bool filesFirst) {
    const std::string target = filesFirst ? ExpandFilePath(file) : file;
    std::vector<std::string> list;
    if (files) {
        list = *files;
    } else {
        CollectFiles(list);
        CollectChildFiles(list);
    }
    list = readablePaths(*this, list);
    TMemoryStream world;
    SaveToStream(world);
    const std::string entryName = worldEntryName(entry);

    const bool exists = FileExists(target);
    if (exists) CopyToBackup(target, ".~WAD");
    FileName = target;
    const std::string building = target + ".new~";
    const auto step = [&] {
        if (progress) DoProgress();
    };
    try {
        if (filesFirst && exists) ReplaceFileContent(building, ReadWholeFile(target));
        else CreateWad(building);
        if (filesFirst) AddFilesToWad(building, list, TCompressionLevel::clDefault);
        step();
        StoreStreamInWad(building, entryName, world, TCompressionLevel::clDefault);
        step();
        if (!filesFirst) AddFilesToWad(building, list, TCompressionLevel::clDefault);
        step();
    } catch (...) {
        ::unlink(building.c_str());
        throw;
    }
    MoveOver(building, target);
    Modified = false;
}

}  // namespace grottix
