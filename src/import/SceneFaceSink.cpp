#include "import/SceneFaceSink.h"

#include <algorithm>

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "import/TextureAnimator.h"

namespace grottix {

void TSceneBox::Add(TD3DVector p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

void TSceneFaceSink::AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) {
    if (itemBox_)
        for (const TD3DLVertex& v : face.Vertices) itemBox_->Add({v.x, v.y, v.z});
    add(kKindGenericQuadrangle, &face, face.TextureName, traits);
}

void TSceneFaceSink::AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) {
    if (itemBox_)
        for (const TD3DLVertex& v : face.Vertices) itemBox_->Add({v.x, v.y, v.z});
    add(kKindGenericTriangle, &face, face.TextureName, traits);
}

void TSceneFaceSink::AddSprite(const TD3DStubObjectInfo& sprite) {
    if (itemBox_) {
        // A stub is centred on its point and turns to the eye: its box holds every way it can face.
        const float half = sprite.Width / 2, halfHeight = sprite.Height / 2;
        itemBox_->Add({sprite.X - half, sprite.Y - halfHeight, sprite.Z - half});
        itemBox_->Add({sprite.X + half, sprite.Y + halfHeight, sprite.Z + half});
    }
    scene_.AddObject(kKindStub, &sprite);
}

void TSceneFaceSink::BeginRoom(size_t room) { scene_.CurrentCell = roomCell_ = int32_t(room); }

void TSceneFaceSink::EndRoom() { scene_.CurrentCell = roomCell_ = -1; }

void TSceneFaceSink::BeginObject(const TPlacedObject& object) {
    scene_.CurrentCell = object.room >= 0 ? object.room : roomCell_;
    const bool entity = object.kind == TPlacedObject::TKind::Item;
    itemBox_ = entity ? &ItemBounds[object.number] : nullptr;
    item_ = nullptr;
    if (entity && object.number >= 0) {
        itemNumber_ = object.number;
        item_ = &ItemSpans[object.number];
        *item_ = {object.type, object.room, object.placement, {}};
    }
}

void TSceneFaceSink::EndObject() {
    scene_.CurrentCell = roomCell_;
    itemBox_ = nullptr;
    if (item_ && item_->meshes.empty()) ItemSpans.erase(itemNumber_);
    item_ = nullptr;
    mesh_ = nullptr;
}

void TSceneFaceSink::BeginMesh(const TPlacedMesh& mesh) {
    if (!item_) return;
    item_->meshes.push_back({mesh.index, mesh.placement, {}});
    mesh_ = &item_->meshes.back();
}

void TSceneFaceSink::EndMesh() { mesh_ = nullptr; }

// Faces of one mesh that follow each other in a polygon make one span.
void TSceneFaceSink::recordSpan(TD3DPolygon* polygon, int count) {
    if (!mesh_ || !polygon) return;
    const int first = polygon->Count - count;
    if (!mesh_->spans.empty()) {
        TVertexSpan& last = mesh_->spans.back();
        if (last.polygon == polygon && last.first + last.count == first) {
            last.count += count;
            return;
        }
    }
    mesh_->spans.push_back({polygon, first, count});
}

void TSceneFaceSink::add(uint8_t kind, TInfoRecordRef record, const std::string& name, const TFaceTraits& traits) {
    if (traits.group == 0 && traits.range < 0) {
        scene_.AddOrMergeObject(kind, record);
        return;
    }
    TD3DPolygon* polygon = groupPolygon(kind, record, name, traits);
    recordSpan(polygon, kind == kKindGenericQuadrangle ? 6 : 3);
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
