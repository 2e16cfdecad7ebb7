// How the scene finds the files a world names (on disk, in the WAD being read, among the program's
// resources) and its cache of open data streams.

#include <algorithm>

#include "engine/FileNames.h"
#include "engine/Scene.h"
#include "level/LevelNames.h"
#include "storage/Stream.h"
#include "storage/Wad.h"

namespace grottix {

namespace {

// The places a file name is looked for, in order: the name, beside the current folder, beside the
// world, the current and program folders, the search paths, beside the child worlds, one folder up.
std::vector<std::string> fileCandidates(const TD3DScene& scene, const std::string& name) {
    const std::string trimmed = CleanName(name);
    const std::string part = FileNamePart(trimmed);
    std::vector<std::string> candidates = {name};
    const bool absolute = trimmed.starts_with('/') || trimmed.starts_with('\\');
    candidates.push_back(absolute ? trimmed : CurrentFolder() + trimmed);
    const auto inFolder = [&](const std::string& folder) {
        candidates.push_back(WithTrailingSeparator(folder) + part);
        candidates.push_back(WithTrailingSeparator(folder) + trimmed);
    };
    if (!scene.FileName.empty()) inFolder(FolderPart(scene.FileName));
    candidates.push_back(part);
    candidates.push_back(ProgramFolder() + part);
    if (scene.Shared)
        for (const std::string& folder : scene.Shared->SearchPaths) inFolder(folder);
    for (const auto& [key, child] : scene.ChildScenes) inFolder(FolderPart(child->Info.FileName));
    candidates.push_back("../" + trimmed);
    candidates.push_back("../" + part);
    return candidates;
}

std::string searchFile(const TD3DScene& scene, const std::string& name) {
    for (const std::string& candidate : fileCandidates(scene, name))
        if (std::string found = FindExistingFile(candidate); !found.empty()) return found;
    // A name with a drive or other prefix: look for what follows its first ':'.
    const size_t colon = name.find(':');
    return colon == std::string::npos ? std::string() : searchFile(scene, name.substr(colon + 1));
}

}  // namespace

std::string TD3DScene::ExpandFilePath(const std::string& name) const {
    if (name.empty() || FileExists(name)) return name;
    const std::string found = searchFile(*this, name);
    return found.empty() ? name : found;
}

std::string TD3DScene::ExpandWadEntryName(const std::string& name) const {
    const std::string trimmed = CleanName(name);
    if (!LoadingFromWad || !Wad || Wad->EntryExists(trimmed)) return trimmed;
    const std::string part = FileNamePart(trimmed);
    for (const TWadEntry& entry : Wad->Entries())
        if (SameTextIgnoringCase(FileNamePart(entry.Name), part)) return entry.Name;
    return trimmed;
}

std::string TD3DScene::ExpandResourceName(const std::string& name) {
    const std::string part = FileNamePart(CleanName(name));
    std::string resource = part.substr(0, part.find('.'));
    std::erase_if(resource, [](char c) { return c == ' ' || c == '-'; });
    return resource;
}

namespace {

std::string expandedStreamName(const TD3DScene& scene, const std::string& name) {
    if (scene.LoadingFromWad) return scene.ExpandWadEntryName(name);
    if (scene.LoadingFromResource) return TD3DScene::ExpandResourceName(name);
    return scene.ExpandFilePath(name);
}

// A new stream on a data file, or none when no source has it. Program resources: none here.
std::unique_ptr<TStream> openDataFile(const TD3DScene& scene, const std::string& name) {
    if (scene.LoadingFromWad && scene.Wad && scene.Wad->EntryExists(name)) {
        auto stream = std::make_unique<TMemoryStream>();
        scene.Wad->ExtractEntry(name, *stream);
        return stream;
    }
    if (scene.LoadingFromResource || !FileExists(name)) return nullptr;
    return std::make_unique<TFileStream>(name, FileMode::OpenRead);
}

}  // namespace

TStream* TD3DScene::OpenDataStream(std::string& name) {
    const std::string trimmed = CleanName(name);
    if (trimmed.empty()) return nullptr;
    TNamedList<TStream>& streams = Shared->Streams;
    const std::string expanded = expandedStreamName(*this, trimmed);
    int index = IndexOfName(streams, expanded);
    if (index < 0) index = IndexOfName(streams, trimmed);
    if (index < 0) index = IndexOfFileNamePart(streams, trimmed);
    if (index >= 0 && streams[size_t(index)].Item) {
        name = streams[size_t(index)].Name;
        return streams[size_t(index)].Item.get();
    }
    std::unique_ptr<TStream> stream = openDataFile(*this, expanded);
    if (!stream) return nullptr;
    stream->SetPosition(0);
    streams.push_back({expanded, std::move(stream)});
    name = expanded;
    return streams.back().Item.get();
}

}  // namespace grottix
