#pragma once
// --export-gltf LEVEL OUT.glb [--light F] [--no-items] [--nearest]: the level as a binary glTF file.

#include <string>
#include <vector>

namespace grottix {

// args: what follows --export-gltf. Returns the exit code (0 written, 1 failed, 2 bad arguments).
int RunExportGltfCommand(const std::vector<std::string>& args);

}  // namespace grottix
