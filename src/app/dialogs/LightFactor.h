#pragma once
// The light factor (0..1) that brightens a level's vertex colours, shown to the user as a
// "Gamma correction" track bar from 0 to 20.

#include <optional>

#include "settings/Variant.h"

namespace grottix {

constexpr int LightTrackMinimum = 0;
constexpr int LightTrackMaximum = 20;
constexpr int LightTrackDesignPosition = 10;

// The track position for a factor: (maximum - minimum) x factor, rounded, held inside the track's
// range as the track bar would hold it. A negative (or NaN) factor gives nothing: the track keeps
// the position it has.
std::optional<int> TrackPositionForFactor(float factor, int minimum = LightTrackMinimum,
                                          int maximum = LightTrackMaximum);
// position / (maximum - minimum).
float LightFactorForPosition(int position, int minimum = LightTrackMinimum, int maximum = LightTrackMaximum);
// A stored track position, when it is a whole number within the track's range.
std::optional<int> StoredTrackPosition(const TVariant& stored, int minimum = LightTrackMinimum,
                                       int maximum = LightTrackMaximum);

}  // namespace grottix
