#pragma once
// --export-model LEVEL TYPE OUT.glb [--light F] [--nearest]: one moveable, with its animations, as a
// binary glTF file.

#include <string>
#include <vector>

namespace grottix {

// args: what follows --export-model. Returns the exit code (0 written, 1 failed, 2 bad arguments).
int RunExportModelCommand(const std::vector<std::string>& args);

}  // namespace grottix
