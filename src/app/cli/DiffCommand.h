#pragma once
// grottix-viewer --diff A B [--json]: what differs from level A to level B, one line per difference
// (or as JSON, one array per section). Exit 0 when the levels are the same, 1 when they differ, 2
// when either cannot be read or the list cannot be written.

#include <ostream>
#include <string>
#include <vector>

#include "level/LevelDiff.h"

namespace grottix {

// {"items": [...], "rooms": [...], "triggers": [...], "flip_maps": [...], "textures": [...]}.
void WriteDifferencesJson(std::ostream& out, const std::vector<TLevelDifference>& differences);
// One line per difference, then a count line.
void WriteDifferencesText(std::ostream& out, const std::vector<TLevelDifference>& differences);

int RunDiffCommand(const std::vector<std::string>& args);

}  // namespace grottix
