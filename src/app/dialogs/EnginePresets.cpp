#include "app/dialogs/EnginePresets.h"

#include <array>

namespace grottix {

namespace {

// Hardware, safe mode, transparency, filtering.
constexpr std::array<TEnginePreset, 4> Presets{{
    {"Full", "Full featured rendering ", {true, false, true, true}},
    {"Safe", "Safe mode rendering", {true, true, true, true}},
    {"Safe Transparent", "Safe mode to solve transparency problems", {true, true, true, false}},
    {"Very safe", "Very safe", {false, true, false, false}},
}};

}  // namespace

std::span<const TEnginePreset> EnginePresets() { return Presets; }

std::optional<size_t> MatchingPreset(const TEngineOptions& options) {
    for (size_t i = 0; i < Presets.size(); ++i) {
        if (Presets[i].Options == options) return i;
    }
    return std::nullopt;
}

}  // namespace grottix
