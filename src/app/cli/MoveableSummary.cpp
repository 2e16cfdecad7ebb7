#include "app/cli/MoveableSummary.h"

#include <sstream>

#include "app/cli/InfoJson.h"
#include "level/AnimationPose.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<MoveableSummary> SummarizeMoveables(const TTombRaiderLevel& level) {
    TAnimationLibrary library(level);
    std::vector<MoveableSummary> out;
    out.reserve(library.Moveables().size());
    for (size_t i = 0; i < library.Moveables().size(); ++i) {
        const TMoveableAnimations& played = library.Moveable(i);
        const TMoveable& m = played.Moveable();
        out.push_back({m.objectId, ObjectName(level.VersionCode, int(m.objectId)), m.meshCount, played.OwnAnimations(),
                       m.animation == 0xFFFF ? -1 : int(m.animation),
                       played.Damage().empty() ? std::string() : played.Damage().front().Describe()});
    }
    return out;
}

std::string MoveablesJson(const std::vector<MoveableSummary>& moveables, const std::string& indent) {
    if (moveables.empty()) return "[]";
    std::ostringstream out;
    out << "[";
    for (size_t i = 0; i < moveables.size(); ++i) {
        const MoveableSummary& m = moveables[i];
        out << (i ? ",\n" : "\n") << indent << "  {\"type\": " << m.type << ", \"name\": " << JsonString(m.name)
            << ", \"meshes\": " << m.meshes << ", \"animations\": " << m.animations << ", \"first_animation\": " << m.firstAnimation;
        if (!m.problem.empty()) out << ", \"problem\": " << JsonString(m.problem);
        out << "}";
    }
    out << "\n" << indent << "]";
    return out.str();
}

}  // namespace grottix
