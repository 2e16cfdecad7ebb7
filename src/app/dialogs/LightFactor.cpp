#include "app/dialogs/LightFactor.h"

#include <algorithm>
#include <cmath>

namespace grottix {

std::optional<int> TrackPositionForFactor(float factor, int minimum, int maximum) {
    if (!(factor >= 0)) return std::nullopt;
    const double position = std::round(double(maximum - minimum) * double(factor));
    return static_cast<int>(std::clamp(position, double(minimum), double(maximum)));
}

float LightFactorForPosition(int position, int minimum, int maximum) {
    if (maximum == minimum) return 0;
    return static_cast<float>(double(position) / double(maximum - minimum));
}

std::optional<int> StoredTrackPosition(const TVariant& stored, int minimum, int maximum) {
    const std::optional<int64_t> position = stored.ToInteger();
    if (!position || *position < minimum || *position > maximum) return std::nullopt;
    return static_cast<int>(*position);
}

}  // namespace grottix
