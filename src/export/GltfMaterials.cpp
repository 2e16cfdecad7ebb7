#include "export/GltfMaterials.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "export/GltfDocument.h"
#include "export/TilePng.h"
#include "codecs/Bitmap.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

namespace grottix {

namespace {

constexpr int kNearest = 9728, kLinear = 9729;
constexpr double kBlendedOpacity = 0.5;  // the games add such faces to what lies behind

TJson unlitMaterial(const std::string& name, bool doubleSided) {
    TJson material{{"name", doubleSided ? name + " double-sided" : name},
                   {"pbrMetallicRoughness", {{"metallicFactor", 0}, {"roughnessFactor", 1}}},
                   {"extensions", {{"KHR_materials_unlit", TJson::object()}}}};
    if (doubleSided) material["doubleSided"] = true;
    return material;
}

}  // namespace

// The tiles are converted here, then encoded on every core, the calling thread too: encoding is the
// largest part of an export. Progress is reported from the calling thread only.
void TGltfMaterials::EncodeTiles(const std::set<int>& tiles, const std::function<void(double)>& progress) {
    std::vector<std::pair<std::unique_ptr<TBitmap>, TTile*>> work;
    for (int tile : tiles)
        if (std::unique_ptr<TBitmap> bitmap = level_.GetTileBitmap(std::to_string(tile + 1)))
            work.emplace_back(std::move(bitmap), &tiles_[tile]);
    std::atomic<size_t> next = 0, done = 0;
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto encode = [&](bool reporting) {
        for (size_t i; (i = next++) < work.size();) {
            try {
                TTilePng png = EncodeTilePng(*work[i].first);
                work[i].second->png = std::move(png.bytes);
                work[i].second->keyed = png.keyed;
            } catch (...) {
                const std::lock_guard lock(failureLock);
                failure = std::current_exception();
            }
            ++done;
            if (reporting && progress) progress(double(done) / double(work.size()));
        }
    };
    const size_t threads = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), work.size());
    {
        std::vector<std::jthread> helpers;
        for (size_t n = 1; n < threads; ++n) helpers.emplace_back(encode, false);
        encode(true);
    }
    if (failure) std::rethrow_exception(failure);
    if (progress) progress(1);
}

size_t TGltfMaterials::EncodedBytes() const {
    size_t bytes = 0;
    for (const auto& [tile, encoded] : tiles_) bytes += encoded.png.size() + 3;
    return bytes;
}

int TGltfMaterials::texture(TGltfDocument& document, int tile, TTile& encoded) {
    if (encoded.texture >= 0) return encoded.texture;
    if (sampler_ < 0) {
        const int filter = filtering_ ? kLinear : kNearest;
        document.Samplers.push_back({{"magFilter", filter}, {"minFilter", filter}});
        sampler_ = int(document.Samplers.size() - 1);
    }
    const std::string name = "tile " + std::to_string(tile + 1);
    const int image = document.AddPng(encoded.png, levelName_ + " " + name);
    document.Textures.push_back({{"name", name + (encoded.keyed ? " mask" : " opaque")}, {"sampler", sampler_}, {"source", image}});
    encoded.texture = int(document.Textures.size() - 1);
    return encoded.texture;
}

int TGltfMaterials::Material(TGltfDocument& document, TGltfMaterialKey key) {
    const auto encoded = tiles_.find(key.tile);
    if (encoded == tiles_.end()) {
        key.tile = -1;
        key.blended = false;
    }
    const auto known = materials_.find(key);
    if (known != materials_.end()) return known->second;
    if (document.ExtensionsUsed.empty()) document.ExtensionsUsed.push_back("KHR_materials_unlit");

    TJson material;
    if (key.tile < 0) {
        material = unlitMaterial("vertex colours", key.doubleSided);
    } else {
        const char* mode = key.blended ? " blend" : encoded->second.keyed ? " mask" : " opaque";
        material = unlitMaterial("tile " + std::to_string(key.tile + 1) + mode, key.doubleSided);
        TJson& pbr = material["pbrMetallicRoughness"];
        pbr["baseColorTexture"] = {{"index", texture(document, key.tile, encoded->second)}};
        if (key.blended) pbr["baseColorFactor"] = TJson::array({1, 1, 1, kBlendedOpacity});
        if (key.blended) material["alphaMode"] = "BLEND";
        else if (encoded->second.keyed) material["alphaMode"] = "MASK";
    }
    document.Materials.push_back(std::move(material));
    return materials_[key] = int(document.Materials.size() - 1);
}

}  // namespace grottix
