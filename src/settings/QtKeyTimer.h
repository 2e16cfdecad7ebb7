#pragma once
// The auto-close timer of root configuration keys, on the Qt event loop.

#include "settings/AnotherReg.h"

namespace grottix {

TKeyTimerFactory QtKeyTimers();

}  // namespace grottix
