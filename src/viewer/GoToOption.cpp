#include "viewer/GoToOption.h"

#include <charconv>
#include <cstdio>

#include "import/EyePlacement.h"

#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

bool ParseGoToOption(const std::string& option, const std::string& value, std::optional<TGoToRequest>& request) {
    TGoToRequest parsed;
    if (option == "--goto-room") parsed.kind = TGoToRequest::TKind::Room;
    else if (option != "--goto-item") return false;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed.index);
    if (error != std::errc() || end != value.data() + value.size()) return false;
    request = parsed;
    return true;
}

std::optional<TEyePlacement> PlanGoTo(const TTombRaiderLevel& level, const TGoToRequest& request, std::string& error) {
    if (request.kind == TGoToRequest::TKind::Room) {
        if (request.index < level.Rooms.size()) return GoToRoom(level, request.index);
        error = "the level has " + std::to_string(level.Rooms.size()) + " rooms; there is no room " + std::to_string(request.index);
        return std::nullopt;
    }
    const size_t items = ReadEntities(level).size();
    if (request.index < items) return GoToItem(level, request.index);
    error = "the level has " + std::to_string(items) + " items; there is no item " + std::to_string(request.index);
    return std::nullopt;
}

bool GoToFromCommandLine(TD3DScene& scene, const TTombRaiderLevel& level, const std::string& path, const TGoToRequest& request,
                         int& room) {
    std::string problem;
    const auto placement = PlanGoTo(level, request, problem);
    if (!placement) {
        std::fprintf(stderr, "File %s: %s\n", path.c_str(), problem.c_str());
        return false;
    }
    PlaceEye(scene, *placement, 128.0f);
    room = placement->room;
    return true;
}

}  // namespace grottix
