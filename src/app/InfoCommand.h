#pragma once
// grottix-viewer --info LEVEL [--json]: a summary of one level file.

#include <string>
#include <vector>

namespace grottix {

int RunInfoCommand(const std::vector<std::string>& args);

}  // namespace grottix
