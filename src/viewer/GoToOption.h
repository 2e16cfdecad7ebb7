#pragma once
// --goto-item N, --goto-room N and --goto-square ROOM,X,Z: the eye placed as the window's Go to
// places it.

#include <cstddef>
#include <optional>
#include <string>

#include "level/LevelGoTo.h"

namespace grottix {

class TGrottixViewerScene;
class TTombRaiderLevel;

struct TGoToRequest {
    enum class TKind { Item, Room, Square } kind = TKind::Item;
    size_t index = 0;  // the item, or the room (of the square)
    int x = 0, z = 0;  // the square's column and row
};

// The largest item or room and the largest column or row a request may name (a room's sides are
// 16-bit counts).
constexpr size_t kGoToLargestIndex = 2147483647;
constexpr int kGoToLargestSquare = 65535;

// Reads "--goto-item N", "--goto-room N" or "--goto-square ROOM,X,Z" into request; false when the
// option is none of them or the value is no index within those limits.
bool ParseGoToOption(const std::string& option, const std::string& value, std::optional<TGoToRequest>& request);
// What the option takes, for the message when its value is refused.
const char* GoToOptionTakes(const std::string& option);

// Where the eye goes for the request in the level; none, with why in error, when the level has no
// such item, room or square.
// extent: the item's drawing, which go to frames.
std::optional<TEyePlacement> PlanGoTo(const TTombRaiderLevel& level, const TGoToRequest& request, std::string& error,
                                      std::optional<TItemExtent> extent = std::nullopt);

// Puts the scene's eye (the level opened from path, kept by the scene) where the request says and
// sets room to the room holding it; false after saying why on standard error.
bool GoToFromCommandLine(TGrottixViewerScene& scene, const std::string& path, const TGoToRequest& request, int& room);

}  // namespace grottix
