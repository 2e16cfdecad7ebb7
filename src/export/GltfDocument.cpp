#include "export/GltfDocument.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "storage/Exceptions.h"

namespace grottix {

namespace {

constexpr int kUnsignedShort = 5123, kUnsignedInt = 5125, kFloat = 5126;
constexpr uint32_t kGlbMagic = 0x46546C67;  // "glTF"
constexpr uint32_t kJsonChunk = 0x4E4F534A, kBinaryChunk = 0x004E4942;

const char* elementType(int components) {
    static const char* const types[] = {"SCALAR", "VEC2", "VEC3", "VEC4"};
    return types[std::clamp(components, 1, 4) - 1];
}

void appendU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(value >> shift));
}

// A chunk: its length, its type, the bytes padded to 4 with the pad byte.
void appendChunk(std::vector<uint8_t>& out, uint32_t type, const uint8_t* data, size_t size, uint8_t pad) {
    const size_t padded = (size + 3) & ~size_t(3);
    appendU32(out, uint32_t(padded));
    appendU32(out, type);
    out.insert(out.end(), data, data + size);
    out.insert(out.end(), padded - size, pad);
}

}  // namespace

int TGltfDocument::AddView(const void* data, size_t bytes, int target) {
    binary_.resize((binary_.size() + 3) & ~size_t(3), 0);
    TJson view{{"buffer", 0}, {"byteOffset", binary_.size()}, {"byteLength", bytes}};
    if (target != kNoTarget) view["target"] = target;
    const auto* bytesIn = static_cast<const uint8_t*>(data);
    binary_.insert(binary_.end(), bytesIn, bytesIn + bytes);
    views_.push_back(std::move(view));
    return int(views_.size() - 1);
}

int TGltfDocument::addAccessor(int view, int componentType, size_t count, const char* type, TJson min, TJson max) {
    accessors_.push_back({{"bufferView", view}, {"componentType", componentType}, {"count", count},
                          {"type", type}, {"min", std::move(min)}, {"max", std::move(max)}});
    return int(accessors_.size() - 1);
}

int TGltfDocument::AddFloats(const std::vector<float>& values, int components, int target) {
    const size_t n = size_t(components);
    std::vector<float> low(n, std::numeric_limits<float>::infinity()), high(n, -std::numeric_limits<float>::infinity());
    for (size_t i = 0; i < values.size(); ++i) {
        low[i % n] = std::min(low[i % n], values[i]);
        high[i % n] = std::max(high[i % n], values[i]);
    }
    TJson min = TJson::array(), max = TJson::array();
    for (size_t c = 0; c < n; ++c) {
        min.push_back(double(low[c]));
        max.push_back(double(high[c]));
    }
    const int view = AddView(values.data(), values.size() * sizeof(float), target);
    return addAccessor(view, kFloat, values.size() / n, elementType(components), min, max);
}

int TGltfDocument::AddIndices(const std::vector<uint32_t>& indices) {
    uint32_t low = std::numeric_limits<uint32_t>::max(), high = 0;
    for (uint32_t index : indices) {
        low = std::min(low, index);
        high = std::max(high, index);
    }
    if (indices.empty()) low = 0;
    int view;
    int componentType = kUnsignedInt;
    if (high < 0xFFFF) {
        std::vector<uint16_t> narrow(indices.begin(), indices.end());
        view = AddView(narrow.data(), narrow.size() * 2, kIndices);
        componentType = kUnsignedShort;
    } else {
        view = AddView(indices.data(), indices.size() * 4, kIndices);
    }
    return addAccessor(view, componentType, indices.size(), "SCALAR", TJson::array({low}), TJson::array({high}));
}

int TGltfDocument::AddPng(const std::vector<uint8_t>& png, const std::string& name) {
    images_.push_back({{"name", name}, {"bufferView", AddView(png.data(), png.size(), kNoTarget)}, {"mimeType", "image/png"}});
    return int(images_.size() - 1);
}

std::vector<uint8_t> TGltfDocument::Glb(const TJson& asset) const {
    TJson root{{"asset", asset}, {"scene", 0}, {"scenes", TJson::array({TJson{{"nodes", SceneNodes}}})}};
    const std::pair<const char*, const TJson*> arrays[] = {
        {"nodes", &Nodes},         {"meshes", &Meshes},     {"materials", &Materials}, {"textures", &Textures},
        {"samplers", &Samplers},   {"images", &images_},    {"accessors", &accessors_}, {"bufferViews", &views_},
        {"animations", &Animations}, {"extensionsUsed", &ExtensionsUsed}};
    for (const auto& [name, array] : arrays)
        if (!array->empty()) root[name] = *array;
    const size_t binarySize = (binary_.size() + 3) & ~size_t(3);
    if (binarySize > 0) root["buffers"] = TJson::array({TJson{{"byteLength", binarySize}}});
    const std::string json = root.dump();

    const uint64_t total = 12 + 8 + ((uint64_t(json.size()) + 3) & ~uint64_t(3)) + (binarySize ? 8 + binarySize : 0);
    if (total > std::numeric_limits<uint32_t>::max()) throw EGrottixError("The level is too large for one glTF binary file");
    std::vector<uint8_t> out;
    out.reserve(size_t(total));
    appendU32(out, kGlbMagic);
    appendU32(out, 2);
    appendU32(out, uint32_t(total));
    appendChunk(out, kJsonChunk, reinterpret_cast<const uint8_t*>(json.data()), size_t(json.size()), ' ');
    if (binarySize) appendChunk(out, kBinaryChunk, binary_.data(), binary_.size(), 0);
    return out;
}

}  // namespace grottix
