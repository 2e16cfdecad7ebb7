// The scene's texture registry and data-stream cache. (First cut: registered textures only.)

#include <algorithm>

#include "device/Direct3DTexture.h"
#include "engine/Scene.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

TDirect3DTexture2* lookUp(TNamedList<TDirect3DTexture2>& textures, std::string& name) {
    for (auto& entry : textures)
        if (SameTextIgnoringCase(entry.Name, name)) {
            name = entry.Name;
            return entry.Item.get();
        }
    return nullptr;
}

}  // namespace

TDirect3DTexture2* TD3DScene::FindTexture(std::string& name, bool /*keepBlack*/) {
    if (name.empty()) return nullptr;
    return lookUp(Shared->Textures, name);
}

TDirect3DTexture2* TD3DScene::GetTexture(const std::string& name, bool keepBlack) {
    std::string copy = name;
    return FindTexture(copy, keepBlack);
}

TTextureSet TD3DScene::FindTextures(TTextureNames& names, bool keepBlack) {
    TTextureSet textures{};
    for (size_t frame = 0; frame < 2 && !names[2 * frame].empty(); ++frame) {
        textures[2 * frame] = FindTexture(names[2 * frame], keepBlack);
        textures[2 * frame + 1] = names[2 * frame + 1].empty() ? textures[2 * frame] : FindTexture(names[2 * frame + 1], true);
    }
    return textures;
}

TDirect3DTexture2* TD3DScene::AddTextureFromBitmap(const std::string& name, const TBitmap& bitmap) {
    if (name.empty()) return nullptr;
    std::string found = name;
    if (TDirect3DTexture2* existing = lookUp(Shared->Textures, found)) return existing;
    Shared->Textures.push_back({name, std::make_unique<TDirect3DTexture2>(Display, bitmap)});
    return Shared->Textures.back().Item.get();
}

bool TD3DScene::LoadTextureImage(TBitmap&, const std::string&) { return false; }
void TD3DScene::FitBitmap(TBitmap&, bool) const {}
void TD3DScene::PreloadLevelTextures(const std::vector<std::string>&, bool) {}
bool TD3DScene::LoadLevelTextures(const std::string&, const std::vector<std::string>&) { return false; }
bool TD3DScene::LoadLevelTexture(const std::string&, const std::string&) { return false; }
std::unique_ptr<TBitmap> TD3DScene::LoadLevelBitmap(const std::string&, const std::string&) { return nullptr; }
std::unique_ptr<TBitmap> TD3DScene::LoadLevelBitmapPath(const std::string&) { return nullptr; }
TDirect3DTexture2* TD3DScene::LoadTextureFromLibrary(const std::string&, const std::string&) { return nullptr; }
std::unique_ptr<TBitmap> TD3DScene::LoadBitmapFromLibrary(const std::string&, const std::string&) { return nullptr; }
std::unique_ptr<TBitmap> TD3DScene::LoadBitmapFromLibraryPath(const std::string&) { return nullptr; }
std::unique_ptr<TBitmap> TD3DScene::GetTextureBitmap(const std::string&) { return nullptr; }
TStream* TD3DScene::OpenDataStream(std::string&) { return nullptr; }
std::string TD3DScene::ExpandFilePath(const std::string& name) const { return name; }
std::string TD3DScene::ExpandWadEntryName(const std::string& name) const { return name; }
std::string TD3DScene::ExpandResourceName(const std::string& name) { return name; }

}  // namespace grottix
