#pragma once
// The viewer's keyboard table: arrows and the numeric keypad walk, turn, tilt and rise; Shift runs.

#include "device/InputStates.h"

namespace grottix {

TKeyAssignList DefaultKeyAssigns();

}  // namespace grottix
