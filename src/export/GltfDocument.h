#pragma once
// A glTF 2.0 document being built: its JSON arrays and one binary buffer, written out as a GLB
// file (a 12-byte header, the JSON chunk, the binary chunk). Every view of the buffer starts on a
// 4-byte boundary, as vertex attributes require, and every accessor carries its min and max.

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace grottix {

// glTF's JSON: objects keep their keys in name order.
using TJson = nlohmann::json;

class TGltfDocument {
public:
    // Buffer view targets.
    static constexpr int kNoTarget = 0, kVertices = 34962, kIndices = 34963;

    // Makes room for this many bytes of buffer at once (a large level's are megabytes).
    void ReserveBinary(size_t bytes) { binary_.reserve(bytes); }
    // Appends bytes as a view of their own; returns the view's index.
    int AddView(const void* data, size_t bytes, int target);
    // Floats, components to an element (2: VEC2, 3: VEC3, 4: VEC4); returns the accessor's index.
    // Animation keys go in a view without a target.
    int AddFloats(const std::vector<float>& values, int components, int target = kVertices);
    // Triangle indices: 16 bits when every index fits below 65535 (glTF keeps the largest value of
    // a type free), 32 bits otherwise; returns the accessor's index.
    int AddIndices(const std::vector<uint32_t>& indices);
    // An embedded PNG image; returns the image's index.
    int AddPng(const std::vector<uint8_t>& png, const std::string& name);

    // The GLB file: asset, scene and every array that is not empty.
    std::vector<uint8_t> Glb(const TJson& asset) const;

    TJson Nodes = TJson::array(), Meshes = TJson::array(), Materials = TJson::array(), Textures = TJson::array(),
          Samplers = TJson::array(), Animations = TJson::array(), ExtensionsUsed = TJson::array();
    TJson SceneNodes = TJson::array();  // the roots of the one scene

private:
    int addAccessor(int view, int componentType, size_t count, const char* type, TJson min, TJson max);

    TJson accessors_ = TJson::array(), views_ = TJson::array(), images_ = TJson::array();
    std::vector<uint8_t> binary_;
};

}  // namespace grottix
