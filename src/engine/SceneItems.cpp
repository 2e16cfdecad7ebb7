#include "engine/SceneItems.h"

#include "engine/Scene.h"
#include "storage/Stream.h"

namespace grottix {

TD3DSceneLight::TD3DSceneLight(const TD3DSceneLightInfo& info) : Info(info) { updateInfluence(); }

void TD3DSceneLight::updateInfluence() {
    InfluenceRadius = Info.Range * Info.RangeFactor;
    InfluenceRadiusSq = InfluenceRadius * InfluenceRadius;
}

void TD3DSceneLight::Translate(TD3DVector v) {
    Info.X += v.x;
    Info.Y += v.y;
    Info.Z += v.z;
}

void TCustomData::LoadFromStream(TStream& stream, int32_t /*version*/) { stream.ReadBuffer(&Info.ID, 4); }

void TCustomData::SaveToStream(TStream& stream) const { stream.WriteBuffer(&Info.ID, 4); }

TD3DAction::TD3DAction(const TD3DActionInfo& info, TD3DScene* scene) : Info(info), Scene(scene) {
    LastTime = scene ? scene->GetTime() : 0;
}

void TD3DAction::Execute() {
    const double now = Scene->GetTime();
    if (Started && now - LastTime <= Scene->FrameInterval) return;
    Started = true;
    const auto fraction = float(Info.Period != 0 ? (now - LastTime) / Info.Period : 0);
    LastFraction = fraction;
    switch (Info.ActionKind) {
        case kKindActionRotate:
            LastTurn = Info.Turn * fraction;
            Scene->TurnItems(Info.TargetKind, Info.TargetID, LastTurn.x, LastTurn.y, LastTurn.z);
            break;
        case kKindActionTranslate:
            LastMove = Info.Move * fraction;
            Scene->MoveItems(Info.TargetKind, Info.TargetID, LastMove.x, LastMove.y, LastMove.z);
            break;
        case kKindActionRotateAbout:
            LastTurn = Info.Turn * fraction;
            Scene->TurnItemsAbout(Info.TargetKind, Info.TargetID, LastTurn.x, LastTurn.y, LastTurn.z, Info.Move.x,
                                  Info.Move.y, Info.Move.z);
            break;
        default:
            break;
    }
    LastTime = now;
}

void TD3DAction::LoadFromStream(TStream& stream, int32_t /*version*/) {
    std::array<uint8_t, TD3DActionInfo::kStoredSize> bytes{};
    stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
    Info = TD3DActionInfo::FromBytes(bytes);
    Info.Finished = false;
}

void TD3DAction::SaveToStream(TStream& stream) const {
    const auto bytes = Info.ToBytes();
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

std::optional<int> TStack::Pop() {
    if (values_.empty()) return std::nullopt;
    const int value = values_.back();
    values_.pop_back();
    return value;
}

}  // namespace grottix
