#include "app/cli/MoveableSummary.h"

#include <sstream>

#include "app/cli/InfoJson.h"
#include "level/AnimationPose.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<MoveableSummary> SummarizeMoveables(const TTombRaiderLevel& level) {
    const TLevelAnimations tables = ReadLevelAnimations(level);
    const std::vector<TMoveable> moveables = ReadMoveables(level);
    std::vector<MoveableSummary> out;
    out.reserve(moveables.size());
    for (size_t i = 0; i < moveables.size(); ++i) {
        const TMoveable& m = moveables[i];
        std::vector<TLevelDamage> damage;
        const TMoveableAnimations played(level, tables, moveables, i, &damage);
        MoveableSummary s{m.objectId, ObjectName(level.VersionCode, int(m.objectId)), m.meshCount, played.OwnAnimations(),
                          m.animation == 0xFFFF ? -1 : int(m.animation), {}};
        for (size_t d = 0; d < tables.damage.size() && damage.empty(); ++d)
            if (tables.damaged[d] >= played.FirstAnimation() && tables.damaged[d] < played.FirstAnimation() + played.OwnAnimations())
                damage.push_back(tables.damage[d]);
        if (!damage.empty()) s.problem = damage.front().Describe();
        out.push_back(std::move(s));
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
