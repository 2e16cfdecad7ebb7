#pragma once
// The non-drawing items a scene keeps: point lights applied on the CPU, named data items, timed
// actions that move or turn objects, and a small integer stack.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/EngineTypes.h"
#include "engine/SceneRecords.h"

namespace grottix {

class TD3DScene;
class TStream;

class TD3DSceneLight {
public:
    explicit TD3DSceneLight(const TD3DSceneLightInfo& info);
    // Reads the 33-byte light record from a world stream.
    TD3DSceneLight(TStream& stream, int32_t version);
    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream, int32_t version);

    uint8_t GetKind() const { return kKindLight; }
    int32_t GetID() const { return Info.ID; }
    void Translate(TD3DVector v);
    void TranslateXYZ(float x, float y, float z) { Translate({x, y, z}); }
    TD3DVector Position() const { return {Info.X, Info.Y, Info.Z}; }

    float InfluenceRadius = 0;
    float InfluenceRadiusSq = 0;
    TD3DSceneLightInfo Info;

private:
    void updateInfluence();
};

class TCustomData {
public:
    // The stream belongs to the scene's stream cache.
    TCustomData(const TCustomDataInfo& info, TStream* stream) : Stream(stream), Info(info) {}
    // Reads the ID from a world stream; the scene reads the name and opens the data stream.
    TCustomData(TStream& stream, int32_t version, const std::string& name, TStream* dataStream);

    void LoadFromStream(TStream& stream, int32_t version);
    void SaveToStream(TStream& stream) const;
    uint8_t GetKind() const { return kKindData; }
    int32_t GetID() const { return Info.ID; }

    TStream* Stream;
    TCustomDataInfo Info;
};

class TD3DAction {
public:
    TD3DAction(const TD3DActionInfo& info, TD3DScene* scene);
    // Reads the stored 55 bytes of the record from a world stream; Finished is cleared.
    TD3DAction(TStream& stream, int32_t version, TD3DScene* scene);

    uint8_t GetKind() const { return Info.ActionKind; }
    int32_t GetID() const { return Info.ID; }
    // One step: moves or turns the target objects by what the elapsed time asks.
    void Execute();
    void LoadFromStream(TStream& stream, int32_t version);
    void SaveToStream(TStream& stream) const;

    TD3DActionInfo Info;
    double LastTime = 0;
    TD3DScene* Scene;
    TD3DVector LastTurn;
    TD3DVector LastMove;
    float LastFraction = 0;
    bool Started = false;
};

// Last in, first out integers; popping an empty stack gives nothing and changes nothing.
class TStack {
public:
    bool IsEmpty() const { return values_.empty(); }
    void Push(int value) { values_.push_back(value); }
    std::optional<int> Pop();

private:
    std::vector<int> values_;
};

}  // namespace grottix
