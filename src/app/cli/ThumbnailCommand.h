#pragma once
// --thumbnail LEVEL OUT SIZE: the level drawn from the player's start as a PNG for file managers,
// SIZE pixels along its longer side (the freedesktop thumbnailer convention), 4:3.

#include <string>
#include <vector>

namespace grottix {

int RunThumbnailCommand(const std::vector<std::string>& args);

}  // namespace grottix
