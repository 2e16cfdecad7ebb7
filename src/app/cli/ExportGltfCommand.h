#pragma once
// --export-gltf LEVEL OUT.glb [--light F] [--no-items] [--nearest] [--animations]: the level as a binary
// glTF file; with --animations its items play their animations.

#include <string>
#include <vector>

namespace grottix {

// args: what follows --export-gltf. Returns the exit code (0 written, 1 failed, 2 bad arguments).
int RunExportGltfCommand(const std::vector<std::string>& args);

}  // namespace grottix
