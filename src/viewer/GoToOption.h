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

// Reads "--goto-item N", "--goto-room N" or "--goto-square ROOM,X,Z" into request; false when the
// option is none of them or the value is no index.
bool ParseGoToOption(const std::string& option, const std::string& value, std::optional<TGoToRequest>& request);

// Where the eye goes for the request in the level; none, with why in error, when the level has no
// such item, room or square.
// extent: the item's drawing, which go to frames.
std::optional<TEyePlacement> PlanGoTo(const TTombRaiderLevel& level, const TGoToRequest& request, std::string& error,
                                      std::optional<TItemExtent> extent = std::nullopt);

// Puts the scene's eye (the level opened from path, kept by the scene) where the request says and
// sets room to the room holding it; false after saying why on standard error.
bool GoToFromCommandLine(TGrottixViewerScene& scene, const std::string& path, const TGoToRequest& request, int& room);

}  // namespace grottix
