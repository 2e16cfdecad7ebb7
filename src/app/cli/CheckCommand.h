#pragma once
// grottix-viewer --check LEVEL [--json]: the level's faults, one per line (or as JSON), with where
// each lies, and its secret triggers as information. Exit 0 with no problems, 1 with problems, 2 when
// the level cannot be read or the list cannot be written.

#include <ostream>
#include <string>
#include <vector>

#include "level/LevelCheck.h"

namespace grottix {

// {"problems": [...], "secrets": [...]}: each finding with kind, message and the places that apply.
void WriteFindingsJson(std::ostream& out, const std::vector<TLevelFinding>& findings);
// "kind: message" per line, problems first, then a count line.
void WriteFindingsText(std::ostream& out, const std::vector<TLevelFinding>& findings);

int RunCheckCommand(const std::vector<std::string>& args);

}  // namespace grottix
