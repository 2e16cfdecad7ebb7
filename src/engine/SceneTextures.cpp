// The scene's texture registry: resolving texture names to device textures (registered textures,
// built-in colours, image files, WAD entries, level tiles) and registering callers' bitmaps.

#include <algorithm>
#include <array>
#include <cstring>

#include "codecs/ImageCodecs.h"
#include "codecs/PictureFormats.h"
#include "device/Direct3DTexture.h"
#include "engine/FileNames.h"
#include "engine/Scene.h"
#include "engine/TextureImages.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "storage/Stream.h"
#include "storage/Wad.h"

namespace grottix {

namespace {

using TTextureList = TNamedList<TDirect3DTexture2>;

// Scene worlds and level files are never textures themselves.
bool namesSceneOrLevelFile(const std::string& name) {
    static const std::array<const char*, 6> extensions = {"D3D", "PHD", "TUB", "TR2", "TR4", "TRC"};
    const std::string extension = FileExtension(name);
    const auto matches = [&](const char* e) { return SameTextIgnoringCase(extension, e); };
    return std::any_of(extensions.begin(), extensions.end(), matches);
}

// "->" level or module "::" entry.
bool isModuleOrLevelReference(const std::string& name) {
    std::string path, entry;
    return SplitLevelTextureName(name, path, entry);
}

TDirect3DTexture2* itemAt(TTextureList& textures, int index) {
    return index >= 0 ? textures[size_t(index)].Item.get() : nullptr;
}

// The codecs register their formats once for the whole process.
void ensureImageCodecs() {
    [[maybe_unused]] static const bool initialized = (InitializeImageCodecs(), true);
}

enum class TImageKind { Decoded, Unreadable, Unknown };

// How an extension is read: by a decoder, as an unreadable image (containers, and types without a
// decoder here), or not at all.
TImageKind imageKindOf(const std::string& extension) {
    static const std::array<const char*, 12> decoded = {"BMP", "DIB", "GIF", "JPG", "JPEG", "WZ1",
                                                        "WZ2", "BMZ", "PPM", "PCX", "M8",   "TGA"};
    static const std::array<const char*, 6> unreadable = {"WMF", "EMF", "ICO", "WAD", "PAK", "BSP"};
    const auto matches = [&](const char* e) { return SameTextIgnoringCase(extension, e); };
    if (std::any_of(decoded.begin(), decoded.end(), matches)) return TImageKind::Decoded;
    if (std::any_of(unreadable.begin(), unreadable.end(), matches)) return TImageKind::Unreadable;
    return TImageKind::Unknown;
}

// Decodes an image by the extension of name; false when it cannot be read.
bool decodeImage(TStream& stream, const std::string& name, TBitmap& image) {
    const std::string extension = FileExtension(name);
    switch (imageKindOf(extension)) {
        case TImageKind::Unknown: throw EGrottixError("Unknown image type: " + name);
        case TImageKind::Unreadable: return false;
        case TImageKind::Decoded: break;
    }
    ensureImageCodecs();
    const bool platformBitmap = SameTextIgnoringCase(extension, "BMP") || SameTextIgnoringCase(extension, "DIB");
    std::unique_ptr<TGraphic> graphic = platformBitmap ? std::make_unique<TBitmap>() : CreateGraphicForFile(name);
    if (!graphic) return false;
    try {
        graphic->LoadFromStream(stream);
    } catch (const std::exception&) {
        return false;
    }
    image.Assign(*graphic);
    return true;
}

}  // namespace

// ---- looking up registered textures ----

namespace {

// The name a file is known by while the current world is read (WAD entry, resource or disk file).
std::string expandedForSource(const TD3DScene& scene, const std::string& name) {
    if (scene.LoadingFromWad) return scene.ExpandWadEntryName(name);
    if (scene.LoadingFromResource) return TD3DScene::ExpandResourceName(name);
    return scene.ExpandFilePath(name);
}

// Whether every name the current source may expand a name to has the name's file-name part (up to
// case): true for files and WAD entries, unless a ':' sends the file search after what follows it.
bool expansionKeepsFileNamePart(const TD3DScene& scene, const std::string& name) {
    return !scene.LoadingFromResource && name.find(':') == std::string::npos;
}

// A registered texture for a name: by the name, by the name expanded for the current source (not
// for level and module references, which name no file), then by file-name part.
int indexOfRegistered(const TD3DScene& scene, const std::string& name) {
    const TTextureList& textures = scene.Shared->Textures;
    int index = IndexOfName(textures, name);
    if (index >= 0) return index;
    const int byFileNamePart = IndexOfFileNamePart(textures, name);
    // No entry shares the file-name part, so no expansion can be registered either: spare the search.
    if (byFileNamePart < 0 && expansionKeepsFileNamePart(scene, name)) return -1;
    if (!isModuleOrLevelReference(name)) {
        const std::string expanded = expandedForSource(scene, name);
        if (expanded != name) index = IndexOfName(textures, expanded);
    }
    return index >= 0 ? index : byFileNamePart;
}

}  // namespace

TDirect3DTexture2* TD3DScene::FindTexture(std::string& name, bool keepBlack) {
    const std::string clean = CleanName(name);
    if (clean.empty() || namesSceneOrLevelFile(clean)) return nullptr;
    TTextureList& textures = Shared->Textures;
    int index = IndexOfName(textures, clean);
    if (index < 0) {
        std::string path, entry;
        if (SplitLevelTextureName(clean, path, entry)) {
            if (IsLevelTextureName(clean)) LoadLevelTexture(path, clean);
            else LoadTextureFromLibrary(path, entry);
            index = IndexOfName(textures, clean);
        }
        if (index < 0) index = indexOfRegistered(*this, clean);
    }
    if (TDirect3DTexture2* found = itemAt(textures, index)) {
        name = textures[size_t(index)].Name;
        return found;
    }

    TBitmap image;
    if (!LoadTextureImage(image, clean)) return nullptr;
    TileToSquare(image);
    PrepareLoadedImageFormat(image, keepBlack);
    textures.push_back({clean, std::make_unique<TDirect3DTexture2>(Display, image)});
    name = clean;
    return textures.back().Item.get();
}

TDirect3DTexture2* TD3DScene::GetTexture(const std::string& name, bool keepBlack) {
    std::string copy = name;
    return FindTexture(copy, keepBlack);
}

TTextureSet TD3DScene::FindTextures(TTextureNames& names, bool keepBlack) {
    // Primary names (even slots) to the front in their order, secondary names (odd slots) likewise.
    TTextureNames compact{};
    for (size_t parity = 0; parity < 2; ++parity) {
        size_t next = parity;
        for (size_t slot = parity; slot < names.size(); slot += 2)
            if (!names[slot].empty()) compact[std::exchange(next, next + 2)] = names[slot];
    }
    names = compact;

    TTextureSet textures{};
    for (size_t frame = 0; frame < 2 && !names[2 * frame].empty(); ++frame) {
        std::string& primary = names[2 * frame];
        std::string& secondary = names[2 * frame + 1];
        textures[2 * frame] = FindTexture(primary, keepBlack);
        if (!secondary.empty()) {
            textures[2 * frame + 1] = FindTexture(secondary, true);
        } else if (keepBlack) {
            if (textures[2 * frame]) textures[2 * frame]->Surface().SetColorKey(RGB(0, 0, 0));
            textures[2 * frame + 1] = textures[2 * frame];
        }
    }
    return textures;
}

TDirect3DTexture2* TD3DScene::AddTextureFromBitmap(const std::string& name, const TBitmap& bitmap) {
    const std::string clean = CleanName(name);
    if (clean.empty()) return nullptr;
    if (TDirect3DTexture2* existing = itemAt(Shared->Textures, indexOfRegistered(*this, clean))) return existing;
    TBitmap image = bitmap;
    PrepareRegisteredBitmapFormat(image);
    FitBitmap(image, true);
    Shared->Textures.push_back({clean, std::make_unique<TDirect3DTexture2>(Display, image)});
    return Shared->Textures.back().Item.get();
}

TDirect3DTexture2* TD3DScene::AddTextureFromTexels(const std::string& name, std::shared_ptr<const TTexelImage> texels) {
    if (!texels || texels->width <= 0 || texels->height <= 0 ||
        texels->texels.size() != size_t(texels->width) * size_t(texels->height))
        return nullptr;
    if (FixTextureSizes && FittedSide(texels->width, texels->height) != 0) {
        TBitmap bitmap(texels->width, texels->height, TPixelFormat::pf32bit);
        std::memcpy(bitmap.Pixels().data(), texels->texels.data(), texels->texels.size() * 4);  // B, G, R, x in memory
        return AddTextureFromBitmap(name, bitmap);
    }
    const std::string clean = CleanName(name);
    if (clean.empty()) return nullptr;
    if (TDirect3DTexture2* existing = itemAt(Shared->Textures, indexOfRegistered(*this, clean))) return existing;
    Shared->Textures.push_back({clean, std::make_unique<TDirect3DTexture2>(Display, std::move(texels))});
    return Shared->Textures.back().Item.get();
}

void TD3DScene::FitBitmap(TBitmap& bitmap, bool redraw) const {
    if (FixTextureSizes) FitToSquare(bitmap, redraw);
}

// ---- texture images ----

namespace {

enum class TImageSource { NotFound, Unreadable, Decoded };

// The stream of the first source that has the image a name refers to: the WAD being read, then the
// disk. name becomes the name the source knows it by (WAD entry or file path). Program resources
// are not searched: this platform has none.
std::unique_ptr<TStream> openImageSource(const TD3DScene& scene, std::string& name) {
    if (scene.LoadingFromWad && scene.Wad) {
        const std::string entry = scene.ExpandWadEntryName(name);
        if (scene.Wad->EntryExists(entry)) {
            auto stream = std::make_unique<TMemoryStream>();
            scene.Wad->ExtractEntry(entry, *stream);
            name = entry;
            return stream;
        }
    }
    std::string path = scene.ExpandFilePath(name);
    // Worlds written on another machine may name the other of its two drives.
    if (!FileExists(path) && (path.starts_with('C') || path.starts_with('D'))) {
        std::string swapped = path;
        swapped[0] = path[0] == 'C' ? 'D' : 'C';
        if (const std::string found = FindExistingFile(swapped); !found.empty()) path = found;
    }
    if (!FileExists(path)) return nullptr;
    name = path;
    return std::make_unique<TMemoryStream>(ReadWholeFile(path));
}

TImageSource readImage(const TD3DScene& scene, std::string& name, TBitmap& image) {
    std::unique_ptr<TStream> stream;
    try {
        stream = openImageSource(scene, name);
    } catch (const EGrottixError&) {
        return TImageSource::Unreadable;  // there, but its bytes cannot be had
    }
    if (!stream) return TImageSource::NotFound;
    return decodeImage(*stream, name, image) ? TImageSource::Decoded : TImageSource::Unreadable;
}

}  // namespace

bool TD3DScene::LoadTextureImage(TBitmap& picture, const std::string& name) {
    const TColor white = RGB(255, 255, 255);
    if (TextureQuality == 5 || TextureQuality == 6) {
        picture = SolidImage(white);
        return true;
    }
    std::string source = CleanName(name);
    if (source.empty()) return false;
    if (const auto color = BuiltInColor(source)) {
        picture = SolidImage(*color);
        return true;
    }
    TBitmap image;
    switch (readImage(*this, source, image)) {
        case TImageSource::NotFound: picture = SolidImage(white); return false;
        case TImageSource::Unreadable: picture = SolidImage(RGB(0, 0, 0)); return true;
        case TImageSource::Decoded: break;
    }
    if (std::min(image.Width(), image.Height()) < 8) {
        picture = SolidImage(white);
        return true;
    }
    TileToSquare(image);
    ApplyTextureQuality(image, TextureQuality, FixTextureSizes);
    picture = std::move(image);
    return true;
}

// ---- level tiles ----

namespace {

// Loads a level's texture tiles; the level keeps the path as written, so the names of its tiles
// are those the caller asked for even when the file was found under another case.
bool loadLevelTiles(TTombRaiderLevel& level, const std::string& levelFile) {
    const std::string found = FindExistingFile(levelFile);
    const uint8_t result = level.LoadLevel(found.empty() ? levelFile : found, true);
    level.Path = levelFile;
    return result == kLevelLoaded;
}

}  // namespace

void TD3DScene::PreloadLevelTextures(const std::vector<std::string>& names, bool keepBlack) {
    std::vector<std::pair<std::string, std::vector<std::string>>> byLevel;
    for (const std::string& name : names) {
        const std::string clean = CleanName(name);
        std::string path, entry;
        if (!IsLevelTextureName(clean) || IndexOfName(Shared->Textures, clean) >= 0) continue;
        SplitLevelTextureName(clean, path, entry);
        auto group = std::find_if(byLevel.begin(), byLevel.end(), [&](const auto& g) { return g.first == path; });
        if (group == byLevel.end()) group = byLevel.insert(byLevel.end(), {path, {}});
        group->second.push_back(clean);
    }
    for (const auto& [levelFile, levelNames] : byLevel) LoadLevelTextures(levelFile, levelNames);
    for (const std::string& name : names) GetTexture(name, keepBlack);
}

int TD3DScene::RegisterLevelTiles(const TTombRaiderLevel& level, const std::vector<std::string>* entries) {
    const int held = level.TilesHeld();
    int registered = 0;
    const auto registerTile = [&](int k, const std::string& entry) {
        auto image = std::make_shared<TTexelImage>();
        image->width = image->height = 256;
        image->texels.resize(size_t(256) * 256);
        level.TileTexels(k, image->texels.data());
        AddTextureFromTexels(MakeLevelTextureName(level.Path, entry), std::move(image));
        ++registered;
    };
    if (!entries) {
        for (int k = 1; k <= held; ++k) registerTile(k, std::to_string(k));
        return registered;
    }
    for (const std::string& entry : *entries) {
        const int k = LevelTileNumber(entry);
        if (k > 0 && k <= held) registerTile(k, entry);
    }
    return registered;
}

bool TD3DScene::LoadLevelTextures(const std::string& levelFile, const std::vector<std::string>& names) {
    TTombRaiderLevel level;
    return loadLevelTiles(level, levelFile) && RegisterLevelTiles(level, &names) > 0;
}

bool TD3DScene::LoadLevelTexture(const std::string& levelFile, const std::string& name) {
    return LoadLevelTextures(levelFile, {name});
}

std::unique_ptr<TBitmap> TD3DScene::LoadLevelBitmap(const std::string& levelFile, const std::string& name) {
    TTombRaiderLevel level;
    return loadLevelTiles(level, levelFile) ? level.GetTileBitmap(name) : nullptr;
}

std::unique_ptr<TBitmap> TD3DScene::LoadLevelBitmapPath(const std::string& path) {
    std::string levelFile, entry;
    return SplitLevelTextureName(CleanName(path), levelFile, entry) ? LoadLevelBitmap(levelFile, entry) : nullptr;
}

// ---- module bitmaps: this platform has no module files, so only registered ones are found ----

TDirect3DTexture2* TD3DScene::LoadTextureFromLibrary(const std::string& module, const std::string& resource) {
    return itemAt(Shared->Textures, IndexOfName(Shared->Textures, "->" + module + "::" + resource));
}

std::unique_ptr<TBitmap> TD3DScene::LoadBitmapFromLibrary(const std::string&, const std::string&) { return nullptr; }

std::unique_ptr<TBitmap> TD3DScene::LoadBitmapFromLibraryPath(const std::string& path) {
    std::string module, resource;
    return SplitLevelTextureName(CleanName(path), module, resource) ? LoadBitmapFromLibrary(module, resource) : nullptr;
}

// ---- copies of registered textures ----

std::unique_ptr<TBitmap> TD3DScene::GetTextureBitmap(const std::string& name) {
    const TTextureList& textures = Shared->Textures;
    const std::string clean = CleanName(name);
    int index = IndexOfName(textures, clean);
    if (index < 0) index = IndexOfName(textures, ExpandFilePath(clean));
    if (index < 0) index = IndexOfFileNamePart(textures, clean);
    if (index < 0 || !textures[size_t(index)].Item) return nullptr;
    return std::make_unique<TBitmap>(textures[size_t(index)].Item->Surface().ToBitmap());
}

}  // namespace grottix
