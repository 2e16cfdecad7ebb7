#pragma once
// The command line's "--flip [GROUP]": the flip state to show, all groups when no group follows.

#include <optional>
#include <string>
#include <vector>

#include "level/FlipMaps.h"

namespace grottix {

// At args[i] == "--flip": reads it and a following group number if there is one, leaving i on the
// last argument taken; none when that number is past 255.
std::optional<TFlipState> ReadFlipOption(const std::vector<std::string>& args, size_t& i);

// What --flip takes, for the message about a number past 255.
constexpr const char* kFlipOptionTakes = "a group from 0 to 255";

}  // namespace grottix
