#include "device/InputStates.h"

#include <algorithm>
#include <cmath>

namespace grottix {

TDXInputStates KeyboardStates(const TKeyAssignList& assigns, const TKeyDownTable& keysDown) {
    TDXInputStates states;
    for (int state = 0; state < kInputStateCount; ++state)
        for (int32_t key : assigns[size_t(state)])
            if (key > 0 && key < 256 && keysDown.test(size_t(key))) states.Include(TDXInputState(state));
    return states;
}

int ScaleAxis(int raw, int range, int deadZonePercent) {
    const double position = std::clamp(raw / 32767.0, -1.0, 1.0);
    const double deadZone = std::clamp(deadZonePercent, 0, 100) / 100.0;
    const double magnitude = std::fabs(position);
    if (magnitude <= deadZone || deadZone >= 1.0) return 0;
    const double scaled = (magnitude - deadZone) / (1.0 - deadZone) * std::max(range, 0);
    return int(std::lround(std::copysign(scaled, position)));
}

TDXInputStates JoystickStates(int x, int y, uint32_t buttons) {
    TDXInputStates states;
    if (x < 0) states.Include(InputLeft);
    if (x > 0) states.Include(InputRight);
    if (y < 0) states.Include(InputUp);
    if (y > 0) states.Include(InputDown);
    for (int button = 0; button < 32; ++button)
        if (buttons & (1u << button)) states.Include(TDXInputState(InputButton1 + button));
    return states;
}

}  // namespace grottix
