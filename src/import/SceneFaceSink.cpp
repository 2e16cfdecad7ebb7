#include "import/SceneFaceSink.h"

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "import/TextureAnimator.h"

namespace grottix {

void TSceneFaceSink::AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) {
    add(kKindGenericQuadrangle, &face, face.TextureName, traits);
}

void TSceneFaceSink::AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) {
    add(kKindGenericTriangle, &face, face.TextureName, traits);
}

void TSceneFaceSink::AddSprite(const TD3DStubObjectInfo& sprite) { scene_.AddObject(kKindStub, &sprite); }

void TSceneFaceSink::BeginRoom(size_t room) { scene_.CurrentCell = roomCell_ = int32_t(room); }

void TSceneFaceSink::EndRoom() { scene_.CurrentCell = roomCell_ = -1; }

void TSceneFaceSink::BeginObject(const TPlacedObject& object) { scene_.CurrentCell = object.room >= 0 ? object.room : roomCell_; }

void TSceneFaceSink::EndObject() { scene_.CurrentCell = roomCell_; }

void TSceneFaceSink::add(uint8_t kind, TInfoRecordRef record, const std::string& name, const TFaceTraits& traits) {
    if (traits.group == 0 && traits.range < 0) {
        scene_.AddOrMergeObject(kind, record);
        return;
    }
    TD3DPolygon* polygon = groupPolygon(kind, record, name, traits);
    if (polygon && traits.range >= 0)
        animator_.AddFace(traits.range, traits.phase, polygon, polygon->Count - (kind == kKindGenericQuadrangle ? 6 : 3),
                          kind == kKindGenericQuadrangle);
}

// Appends the face to the group's polygon for its texture (and animated range), starting a new
// polygon when there is none yet or the last one is full.
TD3DPolygon* TSceneFaceSink::groupPolygon(uint8_t kind, TInfoRecordRef record, const std::string& name, const TFaceTraits& traits) {
    TD3DPolygon*& polygon = groupPolygons_[{traits.group, scene_.CurrentCell, name, traits.range, traits.phase}];
    if (polygon && polygon->Merge(kind, record)) return polygon;
    polygon = dynamic_cast<TD3DPolygon*>(scene_.AddObject(kind, record));
    if (!polygon) return nullptr;
    polygon->KeepApart = true;
    if (traits.group != 0) polygon->Info.ID = traits.group;
    return polygon;
}

}  // namespace grottix
