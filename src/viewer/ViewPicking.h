#pragma once
// What is under a point of the view: the ray from the eye through a pixel (the renderers'
// transform undone), and the nearest item or room face it meets.

#include <map>
#include <optional>
#include <vector>

#include "engine/EngineTypes.h"
#include "import/SceneFaceSink.h"

namespace grottix {

class TGrottixViewerScene;
class TTombRaiderLevel;

struct TViewRay {
    TD3DVector origin, direction;  // scene units; the direction is not normalised
};

// The ray through the point (x, y) (pixels from the top left, fractions allowed) of a width x
// height frame drawn from the scene's eye with the scene's projection: from the eye, or, seen
// orthographically, from the point of the eye's plane under the pixel, straight ahead; none for an
// empty frame.
std::optional<TViewRay> ViewRay(const TGrottixViewerScene& scene, int width, int height, double x, double y);

struct TPick {
    int item = -1;  // entity index
    int room = -1;
    std::optional<TD3DVector> point;  // where the ray meets the item's box or the face (scene units)
};

// What the ray meets first. An item is picked by its box when no room face lies before it;
// otherwise the room of the nearest face the ray meets. Rooms whose roomsShown entry is 0 (when
// the list is not empty) and their items are passed over. scale: level units per scene unit.
TPick PickAlongRay(const TViewRay& ray, const TTombRaiderLevel& level, const std::map<int, TSceneBox>& itemBounds,
                   const std::vector<int>& itemRooms, const std::vector<uint8_t>& roomsShown, float scale);

}  // namespace grottix
