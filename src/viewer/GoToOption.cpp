#include "viewer/GoToOption.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "import/EyePlacement.h"
#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"
#include "viewer/ViewerScene.h"

namespace grottix {

namespace {

// A whole number from 0 to highest at text, up to end or a comma; moves text past it.
template <typename T>
bool readNumber(const char*& text, const char* end, T& out, T highest) {
    const auto [stop, error] = std::from_chars(text, end, out);
    bool negative = false;
    if constexpr (std::is_signed_v<T>) negative = out < 0;
    if (error != std::errc() || stop == text || negative || out > highest) return false;
    text = stop;
    return true;
}

}  // namespace

bool ParseGoToOption(const std::string& option, const std::string& value, std::optional<TGoToRequest>& request) {
    TGoToRequest parsed;
    if (option == "--goto-room") parsed.kind = TGoToRequest::TKind::Room;
    else if (option == "--goto-square") parsed.kind = TGoToRequest::TKind::Square;
    else if (option != "--goto-item") return false;
    const char *text = value.data(), *end = value.data() + value.size();
    if (!readNumber(text, end, parsed.index, size_t{kGoToLargestIndex})) return false;
    if (parsed.kind == TGoToRequest::TKind::Square) {
        for (int* coordinate : {&parsed.x, &parsed.z})
            if (text == end || *text++ != ',' || !readNumber(text, end, *coordinate, kGoToLargestSquare)) return false;
    }
    if (text != end) return false;
    request = parsed;
    return true;
}

const char* GoToOptionTakes(const std::string& option) {
    if (option == "--goto-square") return "ROOM,X,Z: a room from 0 to 2147483647, a column and a row from 0 to 65535";
    if (option == "--goto-room") return "a room from 0 to 2147483647";
    return "an item from 0 to 2147483647";
}

std::optional<TEyePlacement> PlanGoTo(const TTombRaiderLevel& level, const TGoToRequest& request, std::string& error,
                                      std::optional<TItemExtent> extent) {
    if (request.kind != TGoToRequest::TKind::Item) {
        if (request.index >= level.Rooms.size()) {
            error = "the level has " + std::to_string(level.Rooms.size()) + " rooms; there is no room " + std::to_string(request.index);
            return std::nullopt;
        }
        if (request.kind == TGoToRequest::TKind::Room) return GoToRoom(level, request.index);
        const TRoomRecord& room = level.Rooms[request.index];
        if (request.x < 0 || request.z < 0 || request.x >= room.xSectors || request.z >= room.zSectors) {
            error = "room " + std::to_string(request.index) + " is " + std::to_string(room.xSectors) + " by " +
                    std::to_string(room.zSectors) + " squares; there is no square " + std::to_string(request.x) + "," +
                    std::to_string(request.z);
            return std::nullopt;
        }
        return GoToSquare(level, request.index, request.x, request.z);
    }
    const size_t items = ReadEntities(level).size();
    if (request.index < items) return GoToItem(level, request.index, extent);
    error = "the level has " + std::to_string(items) + " items; there is no item " + std::to_string(request.index);
    return std::nullopt;
}

bool GoToFromCommandLine(TGrottixViewerScene& scene, const std::string& path, const TGoToRequest& request, int& room) {
    if (!scene.Level) return false;
    std::string problem;
    const std::optional<TItemExtent> extent =
        request.kind == TGoToRequest::TKind::Item && request.index <= size_t(INT32_MAX) ? scene.ItemExtent(int(request.index)) : std::nullopt;
    const auto placement = PlanGoTo(*scene.Level, request, problem, extent);
    if (!placement) {
        std::fprintf(stderr, "File %s: %s\n", path.c_str(), problem.c_str());
        return false;
    }
    PlaceEye(scene, *placement, scene.LevelScale);
    room = placement->room;
    return true;
}

}  // namespace grottix
