#pragma once
// The viewer's keyboard table. Every move has a key on the main keyboard, so that a laptop without a
// numeric keypad can do everything: arrows or W/A/S/D walk and turn, PageUp/PageDown look up and
// down, + (or =) and - rise and descend, Home goes back to the level's start, Shift runs. The
// numeric keypad does the same with 8/2/4/6, 9/3, its + and -, and 7.

#include "device/InputStates.h"

namespace grottix {

// The state that puts the eye back where the level starts it.
constexpr TDXInputState InputBackToStart = InputButton6;

TKeyAssignList DefaultKeyAssigns();

}  // namespace grottix
