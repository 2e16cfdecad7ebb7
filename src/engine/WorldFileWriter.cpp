// Writing world streams in the current layout (version 119).

#include <unordered_map>

#include "engine/Polygon.h"
#include "engine/QuadrAngle.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"
#include "engine/WorldFileStream.h"

namespace grottix {

namespace {

// Frames in use: up to the last frame whose primary name is set.
int16_t framesInUse(const TTextureNames& names) { return !names[2].empty() ? 2 : !names[0].empty() ? 1 : 0; }

// Stubs and polygons are written with the frames they use as their frame count; settling the
// counts first makes the texture block hold every name the references point to.
void settleFrameCounts(TD3DScene& scene) {
    for (auto& entry : scene.Objects) {
        TD3DObject& object = *entry.Item;
        if (!object.Stored) continue;
        if (object.GetKind() == kKindStub) {
            auto& stub = static_cast<TD3DStubObject&>(object);
            stub.Info.FrameCount = framesInUse(stub.Info.TextureNames);
        } else if (object.GetKind() == kKindPolygon) {
            auto& polygon = static_cast<TD3DPolygon&>(object);
            polygon.Info.FrameCount = framesInUse(polygon.Info.TextureNames);
        }
    }
}

// Every texture name the objects use, each once: the lines of the texture block.
std::vector<std::string> usedTextureNames(TD3DScene& scene) {
    settleFrameCounts(scene);
    std::vector<std::string> names;
    scene.GetTextureNames(names);
    return names;
}

// Texture-block indexes of the names; names not in the block (or beyond what an index can
// address) are written as -1.
class TTextureIndex {
public:
    explicit TTextureIndex(const std::vector<std::string>& names) {
        for (size_t i = 0; i < names.size() && i <= size_t(INT16_MAX); ++i) index_.try_emplace(names[i], int16_t(i));
    }
    int16_t operator()(const std::string& name) const {
        const auto found = index_.find(name);
        return found == index_.end() ? int16_t(-1) : found->second;
    }

private:
    std::unordered_map<std::string, int16_t> index_;
};

void writeReferences(TStream& stream, const TTextureNames& names, int16_t frames, const TTextureIndex& indexOf) {
    WriteValue(stream, frames);
    for (int frame = 0; frame < frames; ++frame) {
        WriteValue(stream, indexOf(names[size_t(2 * frame)]));
        WriteValue(stream, indexOf(names[size_t(2 * frame + 1)]));
    }
}

void writeChild(TStream& stream, const TD3DSceneInfo& info) {
    stream.WriteBuffer(info.FileName.c_str(), int64_t(info.FileName.size() + 1));
    WriteValue(stream, info.ID);
    WriteValue(stream, info.Translation);
    WriteValue(stream, info.Rotation);
}

// The kind byte, then the texture references (or the child's name and placement), then the
// object's own fields.
void writeObjectRecord(TStream& stream, const TD3DObject& object, const TTextureIndex& indexOf) {
    const uint8_t kind = object.GetKind();
    WriteValue(stream, kind);
    switch (kind) {
        case kKindQuadrangle: {
            const std::string& name = static_cast<const TD3DQuadrAngle&>(object).Info.TextureName;
            writeReferences(stream, {name, "", "", ""}, name.empty() ? 0 : 1, indexOf);
            break;
        }
        case kKindStub: {
            const TD3DStubObjectInfo& info = static_cast<const TD3DStubObject&>(object).Info;
            writeReferences(stream, info.TextureNames, info.FrameCount, indexOf);
            break;
        }
        case kKindPolygon: {
            const TD3DPolygonInfo& info = static_cast<const TD3DPolygon&>(object).Info;
            writeReferences(stream, info.TextureNames, info.FrameCount, indexOf);
            break;
        }
        case kKindScene:
            writeChild(stream, static_cast<const TD3DScene&>(object).Info);
            return;
        default:
            break;
    }
    object.SaveToStream(stream);
}

}  // namespace

void TD3DScene::SaveToStream(TStream& stream) const {
    // Writing settles frame counts and lets the window paint, so the writer itself is not const.
    auto& self = const_cast<TD3DScene&>(*this);
    self.WriteWorldHeader(stream);
    self.WriteTextureList(stream);
    self.WriteObjects(stream);
}

void TD3DScene::WriteWorldHeader(TStream& stream) {
    stream.WriteBuffer(kWorldSignature.data(), int64_t(kWorldSignature.size()));
    WriteValue(stream, GetFileVersion());
}

void TD3DScene::WriteTextureList(TStream& stream) {
    const std::string block = JoinTextureBlock(usedTextureNames(*this));
    WriteValue(stream, int32_t(block.size()));
    stream.WriteBuffer(block.data(), int64_t(block.size()));
}

void TD3DScene::WriteObjects(TStream& stream) {
    const TTextureIndex indexOf(usedTextureNames(*this));
    int32_t stored = 0;
    for (const auto& entry : Objects) stored += entry.Item->Stored ? 1 : 0;
    WriteValue(stream, stored);
    for (const auto& entry : Objects) {
        if (!entry.Item->Stored) continue;
        ProcessMessages();
        writeObjectRecord(stream, *entry.Item, indexOf);
    }
    WriteValue(stream, int32_t(0));  // reserved

    WriteValue(stream, int32_t(DataItems.size()));
    for (const auto& entry : DataItems) {
        WriteShortString(stream, entry.Name);
        entry.Item->SaveToStream(stream);
    }
    WriteValue(stream, int32_t(0));  // the name list, always empty

    int32_t unfinished = 0;
    for (const auto& entry : Actions) unfinished += entry.Item->Info.Finished ? 0 : 1;
    WriteValue(stream, unfinished);
    for (const auto& entry : Actions)
        if (!entry.Item->Info.Finished) entry.Item->SaveToStream(stream);

    WriteValue(stream, int32_t(Lights.size()));
    for (const auto& light : Lights) light->SaveToStream(stream);
}

}  // namespace grottix
