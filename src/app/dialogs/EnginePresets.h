#pragma once
// The four rendering options of the viewer and the presets the setup dialog offers for them.

#include <cstddef>
#include <optional>
#include <span>

namespace grottix {

struct TEngineOptions {
    bool Hardware = true;
    bool SafeMode = true;
    bool Transparency = true;
    bool Filtering = true;
    bool operator==(const TEngineOptions&) const = default;
};

struct TEnginePreset {
    const char* Caption;
    const char* Hint;
    TEngineOptions Options;
};

// "Full", "Safe", "Safe Transparent" and "Very safe", in menu order.
std::span<const TEnginePreset> EnginePresets();
// The preset whose options are exactly `options`; the presets differ, so at most one matches.
std::optional<size_t> MatchingPreset(const TEngineOptions& options);

}  // namespace grottix
