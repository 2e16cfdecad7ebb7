#pragma once
// TD3DPolygon: many triangles sharing one texture set and one drawing mode, so that a whole level
// draws with few device calls. Generic triangles and quadrangles from the level import are merged
// into polygons by the scene.

#include "engine/D3DObject.h"

namespace grottix {

// Primitive types as a polygon record stores them.
constexpr int32_t kTriangleList = 4, kTriangleStrip = 5, kTriangleFan = 6;

class TD3DPolygon : public TD3DTimingObject {
public:
    // Appends are allowed below this many vertices; merged polygons stay at or below kMergeLimit.
    static constexpr int kAppendLimit = 32667;
    static constexpr int kMergeLimit = 32666;
    static constexpr int kMaxListTriangles = 10889;
    static constexpr int kCapacityStep = 512;

    TD3DPolygon(TCustomDXDraw* display, const TD3DPolygonInfo& info, const TTextureSet& textures);

    void CalcBounds() override;
    void InitObject() override;
    bool IsPrelit() const override { return PrelitFlag; }
    uint8_t GetKind() const override { return kKindPolygon; }
    int32_t GetID() const override { return Info.ID; }
    void DoRender() override;
    void Translate(TD3DVector v) override;
    void Rotate(TD3DVector angles) override;
    void GetTextureNames(std::vector<std::string>& names) const override;
    bool IsSameObject(const TD3DObject& other) const override;
    float CalcDistance(TD3DVector eye) override;
    std::string GetName() const override { return Info.TextureNames[0]; }
    TInfoRecord GetRecord() const override;
    void GetOrigin(TD3DVector& out, float offset) override;
    void ApplyLight(const TD3DSceneLight& light) override;
    int32_t GetVertexCount() const override;
    int32_t GetTriangleCount() const override;

    // Rebuilds the lit vertices from the positions; keep preserves texture coordinates. Prelit
    // polygons keep colour, specular and texture coordinates of every vertex.
    void BuildVertices(bool keep);
    void SetVertexCount(int n);
    std::string GetFrameName() const { return Info.TextureNames[size_t(2 * GetFrame())]; }
    int GetFrame() const { return FrameAt(Info.FrameCount, Info.FramePeriod); }
    // Turns a strip or fan into a list, so that later appends are plain concatenations.
    bool ConvertToTriangleList();
    bool CanMerge(uint8_t kind, TInfoRecordRef record) const;
    bool Merge(uint8_t kind, TInfoRecordRef record);
    bool AppendPolygon(const TD3DPolygonInfo& info);
    bool AppendQuadrangle(const TD3DQuadrangleInfo& info);
    bool AppendGenericTriangle(const TD3DGenericTriangleInfo& info);
    bool AppendGenericQuadrangle(const TD3DGenericQuadrangleInfo& info);
    // One record per triangle (for the scene's SplitPolygon).
    std::vector<TD3DPolygonInfo> Split() const;

    // Reads the polygon's header and vertices from a world stream, then constructs it with the
    // names and the textures resolved from them. Prelit polygons keep the stored lit vertices.
    static std::unique_ptr<TD3DPolygon> CreateFromStream(TStream& stream, int32_t version, const TTextureNames& names,
                                                         const TTextureSet& textures, TCustomDXDraw* display);
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    int Triangles() const;

    // Shows another texture (already registered) on the polygon; its vertices keep their coordinates.
    // A polygon that owns a texture of its own keeps it.
    void SetPrimaryTexture(const std::string& name, TDirect3DTexture2* texture);

    TTextureSet Textures{};
    int Capacity = 0;
    int Count = 0;
    bool PrelitFlag = false;
    std::vector<TD3DLVertex> LitVertices;
    std::vector<TD3DVector> Positions;
    TD3DPolygonInfo Info;  // the header and names; its Vertices stay empty (Positions holds them)
    // TextKeyIgnoringCase of the frame-0 primary name: a cheap first test before CanMerge.
    uint64_t NameKey = 0;
    // Kept apart from AddOrMergeObject: its faces are changed or shown as a group later.
    bool KeepApart = false;

private:
    void reserveFor(int total);
    void append(const TD3DLVertex& vertex);
    bool texturesDiffer() const;
};

}  // namespace grottix
