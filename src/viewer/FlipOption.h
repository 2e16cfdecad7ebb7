#pragma once
// The command line's "--flip [GROUP]": the flip state to show, all groups when no group follows.

#include <string>
#include <vector>

#include "level/FlipMaps.h"

namespace grottix {

// At args[i] == "--flip": reads it and a following group number (0-255) if there is one, leaving
// i on the last argument taken.
TFlipState ReadFlipOption(const std::vector<std::string>& args, size_t& i);

}  // namespace grottix
