#pragma once
// TD3DQuadrAngle: one textured four-cornered face with per-corner colours and optional scrolling.

#include "engine/D3DObject.h"

namespace grottix {

class TD3DQuadrAngle : public TD3DTimingObject {
public:
    TD3DQuadrAngle(TCustomDXDraw* display, const TD3DQuadrangleInfo& info, TDirect3DTexture2* texture);

    void CalcBounds() override;
    void InitObject() override;
    uint8_t GetKind() const override { return kKindQuadrangle; }
    int32_t GetID() const override { return Info.ID; }
    void DoRender() override;
    void Translate(TD3DVector v) override;
    void Rotate(TD3DVector angles) override;
    void GetTextureNames(std::vector<std::string>& names) const override { AddTextureName(names, Info.TextureName); }
    bool IsSameObject(const TD3DObject& other) const override;
    float CalcDistance(TD3DVector eye) override;
    std::string GetName() const override { return Info.TextureName; }
    TInfoRecord GetRecord() const override { return Info; }
    void GetOrigin(TD3DVector& out, float offset) override;
    void ApplyLight(const TD3DSceneLight& light) override;
    int32_t GetVertexCount() const override { return 4; }
    int32_t GetTriangleCount() const override { return 2; }

    // Positions, corner colours and texture coordinates from the record.
    void BuildVertices();

    // Reads the quadrangle's fields from a world stream, then constructs it with the texture name
    // and the texture resolved from it.
    static std::unique_ptr<TD3DQuadrAngle> CreateFromStream(TStream& stream, int32_t version, const std::string& textureName,
                                                            TDirect3DTexture2* texture, TCustomDXDraw* display);
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    std::array<TD3DLVertex, 4> Vertices{};
    TD3DQuadrangleInfo Info;
};

}  // namespace grottix
