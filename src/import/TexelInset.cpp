#include "import/TexelInset.h"

#include <algorithm>

namespace grottix {

void InsetAxis(float* values, size_t count) {
    if (count == 0) return;
    double middle = 0;
    bool spread = false;
    for (size_t i = 0; i < count; ++i) {
        middle += double(values[i]) / double(count);
        spread |= values[i] != values[0];
    }
    constexpr double kLevel = 1e-3 * kTileTexel;  // nearer the middle than this is level with it
    for (size_t i = 0; i < count; ++i) {
        double step = 0.5 * kTileTexel;
        if (spread) step = values[i] < middle - kLevel ? step : values[i] > middle + kLevel ? -step : 0;
        values[i] = float(values[i] + step);
    }
}

std::array<float, 2> InsetSpan(float start, float size) {
    const auto inset = float(0.5 * kTileTexel);
    return {start + inset, std::max(start + size - inset, start + inset)};
}

}  // namespace grottix
