#pragma once
// TD3DStubObject: a sprite, a camera-facing textured rectangle drawn as one 4-vertex strip.

#include "engine/D3DObject.h"

namespace grottix {

class TD3DStubObject : public TD3DTimingObject {
public:
    TD3DStubObject(TCustomDXDraw* display, const TD3DStubObjectInfo& info, const TTextureSet& textures);

    void CalcBounds() override;
    void InitObject() override;
    uint8_t GetKind() const override { return kKindStub; }
    int32_t GetID() const override { return Info.ID; }
    void DoRender() override;
    void Translate(TD3DVector v) override;
    void Rotate(TD3DVector angles) override;
    void GetTextureNames(std::vector<std::string>& names) const override;
    bool IsSameObject(const TD3DObject& other) const override;
    float CalcDistance(TD3DVector eye) override;
    std::string GetName() const override { return Info.TextureNames[0]; }
    TInfoRecord GetRecord() const override { return Info; }
    void GetOrigin(TD3DVector& out, float offset) override { out = {Info.X, Info.Y, Info.Z - offset}; }
    void ApplyLight(const TD3DSceneLight& light) override;
    int32_t GetVertexCount() const override;
    int32_t GetTriangleCount() const override;

    std::string GetFrameName() const { return Info.TextureNames[size_t(2 * GetFrame())]; }
    int GetFrame() const { return FrameAt(Info.FrameCount, Info.FramePeriod); }
    // Turns the sprite towards the eye (or along the camera's heading when FixedFacing).
    void FaceCamera(TD3DVector eye, TD3DVector angles);
    void SetFacing(float angle);

    // Reads the stub's fields from a world stream, then constructs it with the names and the
    // textures resolved from them.
    static std::unique_ptr<TD3DStubObject> CreateFromStream(TStream& stream, int32_t version, const TTextureNames& names,
                                                            const TTextureSet& textures, TCustomDXDraw* display);
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    TTextureSet Textures{};
    std::array<TD3DLVertex, 4> Vertices{};
    TD3DStubObjectInfo Info;

private:
    void buildVertices(float ex, float ez);
    bool framesDiffer() const;
};

}  // namespace grottix
