// Reading world streams: the current layout (signature, version, texture block, objects with
// texture references, then data items, actions and lights while bytes are left) and the old layout
// without signature, whose objects carry their texture names themselves.

#include <algorithm>
#include <string_view>

#include "device/Direct3DTexture.h"
#include "engine/Polygon.h"
#include "engine/QuadrAngle.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"
#include "engine/WorldFileStream.h"
#include "level/LevelNames.h"
#include "storage/ByteReader.h"

namespace grottix {

namespace {

constexpr size_t kChildRecord = 28;
constexpr size_t kActionRecord = TD3DActionInfo::kStoredSize;
constexpr size_t kLightRecord = 33;
// A data item is at least its name's length byte and its ID.
constexpr size_t kSmallestDataItem = 5;

bool isObjectKind(uint8_t kind) {
    return kind == kKindQuadrangle || kind == kKindStub || kind == kKindPolygon || kind == kKindScene;
}

// Records of unknown kinds cannot be skipped: everything after them would be misread.
[[noreturn]] void unknownKind(uint8_t kind) {
    throw EWorldFileError("World data holds an object of unknown kind " + std::to_string(kind));
}

// The name at a texture-block index; indexes outside the block give no name.
std::string nameAt(const std::vector<std::string>& block, int16_t index) {
    return index >= 0 && size_t(index) < block.size() ? block[size_t(index)] : std::string();
}

TTextureNames readTextureReferences(TStream& stream, const std::vector<std::string>& block) {
    const auto frames = ReadValue<int16_t>(stream, "texture references");
    if (frames < 0) throw EWorldFileError("World data holds a negative texture frame count");
    RequireBytes(stream, uint64_t(frames) * 4, "texture references");
    TTextureNames names;
    for (int frame = 0; frame < frames; ++frame) {
        const auto primary = ReadValue<int16_t>(stream, "texture references");
        const auto secondary = ReadValue<int16_t>(stream, "texture references");
        if (frame >= 2) continue;  // objects have two frames at most
        names[size_t(2 * frame)] = nameAt(block, primary);
        names[size_t(2 * frame + 1)] = nameAt(block, secondary);
    }
    return names;
}

// Old layout: the frame count, frame 0's secondary name, then both names of each further frame.
TTextureNames readOldTextureNames(TStream& stream, const std::string& primary) {
    TTextureNames names;
    names[0] = primary;
    const auto frames = ReadValue<uint8_t>(stream, "texture names");
    names[1] = ReadShortString(stream, "texture names");
    for (int frame = 1; frame < frames; ++frame) {
        std::string first = ReadShortString(stream, "texture names");
        std::string second = ReadShortString(stream, "texture names");
        if (frame >= 2) continue;
        names[size_t(2 * frame)] = std::move(first);
        names[size_t(2 * frame + 1)] = std::move(second);
    }
    return names;
}

// Creates the items of one world read into a scene, each placed by the read's rotation and
// translation.
class TWorldReader {
public:
    TWorldReader(TD3DScene& scene, TStream& stream, int32_t version, TD3DVector rotation, TD3DVector translation)
        : scene_(scene), stream_(stream), version_(version), rotation_(rotation), translation_(translation) {}

    // Kinds 2, 3 and 4: the textures are resolved from the names, the fields follow in the stream.
    void readObject(uint8_t kind, TTextureNames names) {
        switch (kind) {
            case kKindQuadrangle: {
                std::string name = names[0];
                TDirect3DTexture2* texture = scene_.FindTexture(name, true);
                place(TD3DQuadrAngle::CreateFromStream(stream_, version_, name, texture, scene_.Display));
                return;
            }
            case kKindStub: {
                const TTextureSet textures = scene_.FindTextures(names, true);
                auto stub = TD3DStubObject::CreateFromStream(stream_, version_, names, textures, scene_.Display);
                stub->FaceCamera(scene_.GetCameraPosition(), scene_.GetCameraRotation());
                place(std::move(stub));
                return;
            }
            case kKindPolygon: {
                const TTextureSet textures = scene_.FindTextures(names, true);
                place(TD3DPolygon::CreateFromStream(stream_, version_, names, textures, scene_.Display));
                return;
            }
            default: unknownKind(kind);
        }
    }

    // A child scene named name: its placement record follows; it reads its own world.
    void readChild(const std::string& name) {
        const auto bytes = readRecord();
        ByteReader in{bytes};
        TD3DSceneInfo info;
        info.ID = in.i32();
        info.Translation = {in.f32(), in.f32(), in.f32()};
        info.Rotation = {in.f32(), in.f32(), in.f32()};
        info.FileName = scene_.LoadingFromWad        ? scene_.ExpandWadEntryName(name)
                        : scene_.LoadingFromResource ? TD3DScene::ExpandResourceName(name)
                                                     : scene_.ExpandFilePath(name);
        place(std::make_unique<TD3DScene>(info, &scene_));
    }

    void readDataItems() {
        const int32_t count = ReadCount(stream_, kSmallestDataItem, "the data items");
        for (int32_t i = 0; i < count; ++i) {
            const std::string name = ReadShortString(stream_, "a data item");
            std::string resolved = name;
            TStream* data = scene_.OpenDataStream(resolved);
            scene_.DataItems.push_back({name, std::make_unique<TCustomData>(stream_, version_, name, data)});
        }
    }

    // Names a former version listed here; nothing uses them.
    void skipNameList() {
        const int32_t count = ReadCount(stream_, 1, "the name list");
        for (int32_t i = 0; i < count; ++i) ReadShortString(stream_, "the name list");
    }

    void readActions() {
        const int32_t count = ReadCount(stream_, kActionRecord, "the actions");
        for (int32_t i = 0; i < count; ++i)
            scene_.Actions.push_back({"", std::make_unique<TD3DAction>(stream_, version_, &scene_)});
    }

    void readLights() {
        const int32_t count = ReadCount(stream_, kLightRecord, "the lights");
        for (int32_t i = 0; i < count; ++i) scene_.Lights.push_back(std::make_unique<TD3DSceneLight>(stream_, version_));
    }

private:
    std::array<uint8_t, kChildRecord> readRecord() {
        std::array<uint8_t, kChildRecord> bytes{};
        ReadExact(stream_, bytes.data(), bytes.size(), "a child scene record");
        return bytes;
    }

    void place(std::unique_ptr<TD3DObject> object) {
        object->RotateXYZ(rotation_.x, rotation_.y, rotation_.z);
        object->TranslateXYZ(translation_.x, translation_.y, translation_.z);
        std::string key = object->GetName();
        scene_.Objects.push_back({std::move(key), std::move(object)});
    }

    TD3DScene& scene_;
    TStream& stream_;
    int32_t version_;
    TD3DVector rotation_;
    TD3DVector translation_;
};

void sortTexturesByName(TNamedList<TDirect3DTexture2>& textures) {
    std::stable_sort(textures.begin(), textures.end(),
                     [](const auto& a, const auto& b) { return UpperCase(a.Name) < UpperCase(b.Name); });
}

// Runs a read; whether it ends or fails, the sub-lists match the objects read so far.
template <typename Read>
void readKeepingSubLists(TD3DScene& scene, Read read) {
    if (!scene.Parent) scene.ChildWorldsRead = 0;
    try {
        read();
    } catch (...) {
        scene.RebuildSubLists();
        throw;
    }
    scene.RebuildSubLists();
    sortTexturesByName(scene.Shared->Textures);
    scene.Refresh();
}

}  // namespace

void TD3DScene::LoadFromStream(TStream& stream, int32_t /*version*/) {
    Clear();
    ReadWorld(stream, {}, {});
}

void TD3DScene::AddFromStream(TStream& stream) {
    ClearObjects();
    ReadWorld(stream, {}, {});
}

void TD3DScene::ReadWorld(TStream& stream, TD3DVector rotation, TD3DVector translation) {
    const bool empty = BytesLeft(stream) < 9;
    if (!empty) {
        char signature[8] = {};
        ReadExact(stream, signature, sizeof signature, "the signature");
        if (std::string_view(signature, sizeof signature) != kWorldSignature) {
            stream.Seek(-int64_t(sizeof signature), SeekOrigin::Current);
            ReadOldWorld(stream, rotation, translation);
            return;
        }
    }
    readKeepingSubLists(*this, [&] {
        if (empty) return;
        const auto version = ReadValue<int32_t>(stream, "the version");
        const int32_t blockLength = ReadCount(stream, 1, "the texture names");
        std::string block(size_t(blockLength), '\0');
        ReadExact(stream, block.data(), block.size(), "the texture names");
        const std::vector<std::string> textureNames = SplitTextureBlock(block);
        PreloadLevelTextures(textureNames, true);

        TWorldReader reader(*this, stream, version, rotation, translation);
        const int32_t objectCount = ReadCount(stream, 1, "the objects");
        for (int32_t i = 0; i < objectCount; ++i) {
            ProcessMessages();
            const auto kind = ReadValue<uint8_t>(stream, "an object record");
            if (kind == 0) continue;
            if (!isObjectKind(kind)) unknownKind(kind);
            if (kind == kKindScene) reader.readChild(ReadZeroTerminated(stream, "a child scene's name"));
            else reader.readObject(kind, readTextureReferences(stream, textureNames));
        }
        ReadValue<int32_t>(stream, "the reserved word");
        if (BytesLeft(stream) > 0) reader.readDataItems();
        if (BytesLeft(stream) > 0) reader.skipNameList();
        if (BytesLeft(stream) > 0) reader.readActions();
        if (BytesLeft(stream) > 0) reader.readLights();
    });
}

void TD3DScene::ReadOldWorld(TStream& stream, TD3DVector rotation, TD3DVector translation) {
    readKeepingSubLists(*this, [&] {
        TWorldReader reader(*this, stream, 0, rotation, translation);
        const int32_t objectCount = ReadCount(stream, 1, "the objects");
        for (int32_t i = 0; i < objectCount; ++i) {
            ProcessMessages();
            const auto kind = ReadValue<uint8_t>(stream, "an object record");
            if (kind == 0) continue;
            if (!isObjectKind(kind)) unknownKind(kind);
            // The object's key name, and its frame-0 primary texture (a child's world file).
            const std::string name = ReadShortString(stream, "an object's name");
            if (kind == kKindScene) reader.readChild(name);
            else if (kind == kKindQuadrangle) reader.readObject(kind, {name, "", "", ""});
            else reader.readObject(kind, readOldTextureNames(stream, name));
        }
        ReadValue<int32_t>(stream, "the reserved word");
        if (BytesLeft(stream) > 0) reader.readDataItems();
    });
}

}  // namespace grottix
