#pragma once
// The viewer's sink: faces merge into the level's polygons by texture; faces of a group (the
// items) go to polygons of their own that carry the group's ID, and faces whose texture cycles go
// to polygons the texture animator steps. Sprites become stubs.

#include <map>
#include <string>
#include <tuple>

#include "engine/EngineTypes.h"
#include "import/FaceSink.h"
#include "import/ItemMeshSpans.h"

namespace grottix {

class TD3DPolygon;
class TD3DScene;
class TTextureAnimator;

// An axis-aligned box in scene units.
struct TSceneBox {
    TD3DVector min{1e30f, 1e30f, 1e30f}, max{-1e30f, -1e30f, -1e30f};
    bool Empty() const { return min.x > max.x; }
    void Add(TD3DVector point);
};

class TSceneFaceSink : public TFaceSink {
public:
    TSceneFaceSink(TD3DScene& scene, TTextureAnimator& animator) : scene_(scene), animator_(animator) {}

    void AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) override;
    void AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) override;
    void AddSprite(const TD3DStubObjectInfo& sprite) override;
    void BeginRoom(size_t room) override;
    void EndRoom() override;
    void BeginObject(const TPlacedObject& object) override;
    void EndObject() override;
    void BeginMesh(const TPlacedMesh& mesh) override;
    void EndMesh() override;

    // Entity index -> the box around what was drawn of it.
    std::map<int, TSceneBox> ItemBounds;
    // Entity index -> where its meshes' vertices lie (items with meshes only).
    TItemSpanMap ItemSpans;

private:
    void add(uint8_t kind, TInfoRecordRef record, const std::string& name, const TFaceTraits& traits);
    TD3DPolygon* groupPolygon(uint8_t kind, TInfoRecordRef record, const std::string& name, const TFaceTraits& traits);

    TD3DScene& scene_;
    TTextureAnimator& animator_;
    std::map<std::tuple<int32_t, int32_t, std::string, int, int>, TD3DPolygon*> groupPolygons_;
    int32_t roomCell_ = -1;  // the room being imported, to go back to after its static meshes
    void recordSpan(TD3DPolygon* polygon, int count);

    TSceneBox* itemBox_ = nullptr;  // the box of the item being imported, if any
    TItemSpans* item_ = nullptr;      // the item being imported, if it is an entity
    int itemNumber_ = -1;             // its entity index
    TItemMeshSpans* mesh_ = nullptr;  // its mesh being imported, if any
};

}  // namespace grottix
