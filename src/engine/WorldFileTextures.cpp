// Texture changes that go through a world stream: rebuilding every texture for a new quality
// mode, and renaming a texture everywhere in the world.

#include "engine/FileNames.h"
#include "engine/Scene.h"
#include "engine/WorldFileStream.h"
#include "storage/ByteReader.h"

namespace grottix {

namespace {

// Where a texture name is among names: the same text, the name's expanded path, the same text
// ignoring case, then the same file-name part ignoring case. -1 when none matches.
int matchTextureName(const TD3DScene& scene, const std::vector<std::string>& names, const std::string& name) {
    const auto find = [&](auto same) {
        for (size_t i = 0; i < names.size(); ++i)
            if (same(names[i])) return int(i);
        return -1;
    };
    const std::string expanded = scene.ExpandFilePath(name);
    const std::string part = FileNamePart(name);
    int index = find([&](const std::string& n) { return n == name; });
    if (index < 0) index = find([&](const std::string& n) { return n == expanded; });
    if (index < 0) index = find([&](const std::string& n) { return SameTextIgnoringCase(n, name); });
    if (index < 0) index = find([&](const std::string& n) { return SameTextIgnoringCase(FileNamePart(n), part); });
    return index;
}

// The world with the texture-block line of oldName replaced by newName; everything else as it was.
std::vector<uint8_t> withRenamedTexture(const TD3DScene& scene, const std::vector<uint8_t>& world,
                                        const std::string& oldName, const std::string& newName) {
    ByteReader in{world};
    in.skip(kWorldSignature.size() + 4);
    const size_t header = in.position();
    const auto blockView = in.view(in.u32());
    std::vector<std::string> lines = SplitTextureBlock(std::string(blockView.begin(), blockView.end()));
    if (const int line = matchTextureName(scene, lines, oldName); line >= 0) lines[size_t(line)] = newName;
    const std::string block = JoinTextureBlock(lines);

    std::vector<uint8_t> renamed(world.begin(), world.begin() + std::ptrdiff_t(header));
    const auto length = uint32_t(block.size());
    renamed.insert(renamed.end(), reinterpret_cast<const uint8_t*>(&length), reinterpret_cast<const uint8_t*>(&length) + 4);
    renamed.insert(renamed.end(), block.begin(), block.end());
    renamed.insert(renamed.end(), world.begin() + std::ptrdiff_t(in.position()), world.end());
    return renamed;
}

}  // namespace

void TD3DScene::SetTextureQuality(uint8_t mode) {
    if (mode == TextureQuality) return;
    TextureQuality = mode;
    ReloadTextures();
}

void TD3DScene::ReloadTextures() {
    TMemoryStream world;
    SaveToStream(world);
    world.SetPosition(0);
    LoadFromStream(world, kWorldFileVersion);
    InvalidateAll();
}

void TD3DScene::RenameTexture(const std::string& oldName, const std::string& newName) {
    std::vector<std::string> registered;
    for (const auto& texture : Shared->Textures) registered.push_back(texture.Name);
    if (matchTextureName(*this, registered, oldName) < 0) return;
    TMemoryStream world;
    SaveToStream(world);
    TMemoryStream renamed(withRenamedTexture(*this, world.Bytes(), oldName, newName));
    Clear();
    ReadWorld(renamed, {}, {});
}

void TD3DScene::RenameTextureAt(int index, const std::string& newName) {
    if (index < 0 || index >= int(Shared->Textures.size())) return;
    const std::string oldName = Shared->Textures[size_t(index)].Name;
    RenameTexture(oldName, newName);
}

}  // namespace grottix
