#include "viewer/ModelShowcase.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "engine/Polygon.h"
#include "import/ItemImport.h"
#include "import/LevelFaces.h"
#include "import/MeshFaces.h"
#include "import/TextureAnimator.h"
#include "level/LevelMeshes.h"
#include "level/TombRaiderLevel.h"
#include "viewer/ViewerScene.h"

namespace grottix {

namespace {

constexpr double kTurnsPerSecond = 1.0 / 20;  // slowly: once round in 20 seconds
constexpr float kPitch = -0.35f;              // looking a little down at the model

// A static mesh's every definition of the object id, at the origin, between BeginObject and EndObject.
bool ImportStaticMesh(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, uint32_t id,
                      float scale) {
    bool drawn = false;
    TPlacedObject object;
    object.number = int(id);
    for (const TStaticMeshDefinition& definition : level.StaticMeshDefinitions) {
        if (definition.objectId != id || definition.meshIndex >= meshes.pointerMap.size() || meshes.meshes.empty()) continue;
        faces.Sink().BeginObject(object);
        EmitMesh(faces, level, meshes.meshes[meshes.pointerMap[definition.meshIndex]], object.placement, scale, TMeshLook{});
        faces.Sink().EndObject();
        drawn = true;
    }
    return drawn;
}

TD3DVector Forward(float pitch, float yaw) {
    return {std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch)};
}

}  // namespace

bool TModelShowcase::Show(TGrottixViewerScene& scene, TKind kind, uint32_t id, float gamma) {
    if (Showing()) Leave(scene);
    if (!scene.Level) return false;
    const TTombRaiderLevel& level = *scene.Level;
    const size_t levelObjects = scene.Objects.size();
    const int32_t group = NextID();
    TTextureAnimator stillTextures;
    TSceneFaceSink sink(scene, stillTextures);
    TFaceBuilder faces(sink, level, gamma, nullptr, true);
    faces.Group = group;
    const TLevelMeshList meshes = ParseLevelMeshes(level);
    const int32_t cell = std::exchange(scene.CurrentCell, -1);
    const bool drawn = kind == TKind::Moveable ? ImportMoveable(faces, level, meshes, id, scene.LevelScale, group, true, 0)
                                               : ImportStaticMesh(faces, level, meshes, id, scene.LevelScale);
    scene.CurrentCell = cell;
    if (!drawn || scene.Objects.size() == levelObjects) {
        while (scene.Objects.size() > levelObjects) scene.DeleteObject(int(scene.Objects.size()) - 1);
        return false;
    }
    id_ = group;
    level_ = scene.Level;
    Playing = true;
    hidden_.clear();
    TSceneBox box;
    for (size_t i = 0; i < scene.Objects.size(); ++i) {
        TD3DObject& object = *scene.Objects[i].Item;
        if (i < levelObjects) {
            hidden_.push_back(object.Hidden);
            object.SetHidden(true);
        } else if (const auto* polygon = dynamic_cast<const TD3DPolygon*>(&object)) {
            for (const TD3DVector& p : polygon->Positions) box.Add(p);
        }
    }
    centre_ = (box.min + box.max) * 0.5f;
    distance_ = std::max(VectorLength(box.max - box.min) * 1.2f, 1.0f);
    scene.RoomsShown.assign(level.Rooms.size(), 0);  // no room: no culling, no water tint
    outlined_ = std::exchange(scene.Outlined, std::nullopt);
    eye_ = scene.GetCameraPosition();
    eyeAngles_ = scene.GetCameraRotation();
    poser_ = std::make_unique<TItemAnimator>(scene.Level, sink.ItemSpans, scene.LevelScale, true);
    moveable_ = kind == TKind::Moveable && poser_->Library() ? poser_->Library()->Object(id) : nullptr;
    if (moveable_ && moveable_->OwnAnimations() == 0) moveable_ = nullptr;
    if (moveable_) Play(scene, moveable_->FirstAnimation());
    turnStart_ = -1;
    lastSeconds_.reset();
    return true;
}

void TModelShowcase::Leave(TGrottixViewerScene& scene) {
    if (!current(scene)) return;
    restore(scene);
    poser_.reset();
    moveable_ = nullptr;
    id_ = 0;
    level_.reset();
}

bool TModelShowcase::current(const TGrottixViewerScene& scene) {
    if (!Showing()) return false;
    if (scene.Level == level_) return true;
    poser_.reset();
    moveable_ = nullptr;
    id_ = 0;
    level_.reset();
    return false;
}

void TModelShowcase::restore(TGrottixViewerScene& scene) {
    for (int i = int(scene.Objects.size()) - 1; i >= 0; --i)
        if (scene.Objects[size_t(i)].Item->GetID() == id_) scene.DeleteObject(i);
    for (size_t i = 0; i < hidden_.size() && i < scene.Objects.size(); ++i) scene.Objects[i].Item->SetHidden(hidden_[i]);
    scene.SetFlipState(scene.FlipState);  // the rooms of the flip state shown now
    scene.Outlined = outlined_;
    scene.JumpCamera(eye_);
    scene.SetCameraRotation(eyeAngles_);
}

void TModelShowcase::Advance(TGrottixViewerScene& scene, double seconds) {
    if (!current(scene)) return;
    if (turnStart_ < 0) turnStart_ = seconds;
    const auto yaw = float(2 * std::numbers::pi * std::fmod((seconds - turnStart_) * kTurnsPerSecond, 1.0));
    scene.JumpCamera(centre_ - Forward(kPitch, yaw) * distance_);
    scene.SetCameraRotation({kPitch, yaw, 0});
    if (Playing && lastSeconds_) moveOn((seconds - *lastSeconds_) * kGameFramesPerSecond);
    lastSeconds_ = seconds;
    showPose();
}

bool TModelShowcase::Play(TGrottixViewerScene& scene, uint16_t animation) {
    if (!current(scene) || !moveable_ || !moveable_->Clip(animation)) return false;
    animation_ = animation;
    frame_ = moveable_->Clip(animation)->animation.frameStart;
    showPose();
    return true;
}

void TModelShowcase::Step(TGrottixViewerScene& scene) {
    if (!current(scene)) return;
    Playing = false;
    moveOn(1);
    showPose();
}

// Each frame of the animation shows for one game frame; past the last, the animation starts again
// (Loop) or goes on to its next animation at its next frame.
void TModelShowcase::moveOn(double frames) {
    const TAnimationClip* clip = moveable_ ? moveable_->Clip(animation_) : nullptr;
    if (!clip || !(frames > 0)) return;
    frame_ += frames;
    for (int hops = 0; hops < 64 && frame_ >= clip->animation.frameEnd + 1.0; ++hops) {
        const double past = frame_ - (clip->animation.frameEnd + 1.0);
        const TAnimationClip* next = Loop ? clip : moveable_->Clip(clip->animation.nextAnimation);
        if (!next) {
            frame_ = clip->animation.frameEnd;
            Playing = false;
            return;
        }
        const uint16_t start = Loop ? next->animation.frameStart
                                    : std::clamp(clip->animation.nextFrame, next->animation.frameStart, next->animation.frameEnd);
        clip = next;
        animation_ = next->index;
        frame_ = start + past;
    }
    if (frame_ >= clip->animation.frameEnd + 1.0) frame_ = clip->animation.frameStart;  // a very long pause
}

void TModelShowcase::showPose() {
    const TAnimationClip* clip = moveable_ ? moveable_->Clip(animation_) : nullptr;
    if (!clip || !poser_) return;
    PoseClipAt(*clip, std::min(frame_, double(clip->animation.frameEnd)), pose_);
    poser_->ShowPose(0, pose_);
}

}  // namespace grottix
