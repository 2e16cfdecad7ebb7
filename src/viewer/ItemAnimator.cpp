#include "viewer/ItemAnimator.h"

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "import/MoveablePose.h"
#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// The inverse of a placement made of turns and moves only: the turn transposed, the move undone.
TMeshPlacement InverseOfRigid(const TMeshPlacement& p) {
    TMeshPlacement out;
    for (size_t i = 0; i < 3; ++i) {
        for (size_t j = 0; j < 3; ++j) out.m[i][j] = p.m[j][i];
        out.m[i][3] = -(p.m[0][i] * p.m[0][3] + p.m[1][i] * p.m[1][3] + p.m[2][i] * p.m[2][3]);
    }
    return out;
}

bool SamePose(const TAnimationPose& a, const TAnimationPose& b) {
    if (a.offset != b.offset || a.rotations.size() != b.rotations.size()) return false;
    for (size_t i = 0; i < a.rotations.size(); ++i) {
        const TMeshRotation &p = a.rotations[i], &q = b.rotations[i];
        if (p.x != q.x || p.y != q.y || p.z != q.z) return false;
    }
    return true;
}

// Whether every key frame the run plays is the first frame: a still idle, which never needs a frame.
bool NeverMoves(const TAnimationRun& run, const TAnimationPose& first) {
    for (const TAnimationRun::TSegment& segment : run.Segments())
        for (const TFramePose& key : segment.clip ? segment.clip->keys : std::vector<TFramePose>{})
            if (!SamePose(TAnimationPose::Of(key), first)) return false;
    return true;
}

// The rest vertices of the spans, or none when a span lies outside its polygon.
bool CopyRest(const std::vector<TVertexSpan>& spans, std::vector<TD3DVector>& out) {
    for (const TVertexSpan& span : spans) {
        if (!span.polygon || span.first < 0 || span.count < 0 || span.first > span.polygon->Count - span.count) return false;
        out.insert(out.end(), span.polygon->Positions.begin() + span.first, span.polygon->Positions.begin() + span.first + span.count);
    }
    return true;
}

}  // namespace

TItemAnimator::TItemAnimator(std::shared_ptr<const TTombRaiderLevel> level, const TItemSpanMap& spans, float scale,
                             bool everyItem)
    : level_(std::move(level)), scale_(scale) {
    if (!level_) return;
    library_ = std::make_unique<TAnimationLibrary>(*level_);
    for (const auto& [entity, item] : spans) {
        if (item.type == kPlayerEntityType && !everyItem) continue;  // Lara stands in her first frame
        const TMoveableAnimations* moveable = library_->Object(uint32_t(uint16_t(item.type)));
        if (!moveable || !moveable->FirstFrame()) continue;
        TAnimationRun run(*moveable, moveable->FirstAnimation());
        auto tree = ReadMeshTree(*level_, moveable->Moveable());
        TItem played{entity, item.room, item.placement, {}, run, TAnimationPose::Of(*moveable->FirstFrame()), {}};
        if (!tree || (!everyItem && (!run.Animated() || NeverMoves(run, played.shown)))) continue;
        played.tree = std::move(*tree);
        bool whole = true;
        for (const TItemMeshSpans& mesh : item.meshes) {
            if (mesh.spans.empty()) continue;
            TMeshVertices vertices{mesh.index, InverseOfRigid(mesh.placement), mesh.spans, {}};
            whole = whole && CopyRest(mesh.spans, vertices.rest);
            played.meshes.push_back(std::move(vertices));
        }
        if (whole && !played.meshes.empty()) items_.push_back(std::move(played));
    }
}

TItemAnimator::~TItemAnimator() = default;

void TItemAnimator::PoseAt(const TD3DScene& scene, double seconds) {
    for (TItem& item : items_)
        if (scene.CellDrawn(item.room) && shown(item)) pose(item, seconds);
}

bool TItemAnimator::AnyInView(const TD3DScene& scene) const {
    for (const TItem& item : items_)
        if (scene.CellDrawn(item.room) && shown(item)) return true;
    return false;
}

const TAnimationPose* TItemAnimator::PoseOf(int entity) const {
    for (const TItem& item : items_)
        if (item.entity == entity) return &item.shown;
    return nullptr;
}

// Shown while any of its faces is (View > Items hides them all; untextured faces stay hidden).
bool TItemAnimator::shown(const TItem& item) const {
    for (const TMeshVertices& mesh : item.meshes)
        for (const TVertexSpan& span : mesh.spans)
            if (!span.polygon->Hidden) return true;
    return false;
}

void TItemAnimator::ShowPose(int entity, const TAnimationPose& pose) {
    for (TItem& item : items_)
        if (item.entity == entity) place(item, pose);
}

void TItemAnimator::pose(TItem& item, double seconds) {
    item.run.PoseAt(seconds, pose_);
    place(item, pose_);
}

void TItemAnimator::place(TItem& item, const TAnimationPose& pose) {
    if (SamePose(pose, item.shown)) return;
    PlaceMeshes(item.tree, pose, item.placement, placements_);
    for (const TMeshVertices& mesh : item.meshes)
        if (mesh.index >= 0 && size_t(mesh.index) < placements_.size()) moveMesh(mesh, placements_[size_t(mesh.index)]);
    item.shown = pose;
}

// Level units (y down) to scene units (y up): each axis divided by the scale, y turned over.
void TItemAnimator::moveMesh(const TMeshVertices& mesh, const TMeshPlacement& placed) const {
    const TMeshPlacement change = placed * mesh.inverseRest;
    const double axis[3] = {1, -1, 1};
    float m[3][4];
    for (size_t i = 0; i < 3; ++i) {
        for (size_t j = 0; j < 3; ++j) m[i][j] = float(axis[i] * change.m[i][j] * axis[j]);
        m[i][3] = float(axis[i] * change.m[i][3] / scale_);
    }
    size_t next = 0;
    for (const TVertexSpan& span : mesh.spans) {
        TD3DPolygon& polygon = *span.polygon;
        for (int k = span.first; k < span.first + span.count; ++k) {
            const TD3DVector& p = mesh.rest[next++];
            const TD3DVector q{m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
                               m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
                               m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
            polygon.Positions[size_t(k)] = q;
            TD3DLVertex& lit = polygon.LitVertices[size_t(k)];
            lit.x = q.x;
            lit.y = q.y;
            lit.z = q.z;
        }
        polygon.BoundsChanged = true;
    }
}

}  // namespace grottix
