#pragma once
// grottix-viewer --convert IN OUT: reads any image the program reads as a texture (chosen by IN's
// extension) and writes it with the writer for OUT's extension. OUT is written beside and renamed,
// so a failure never touches it.

#include <string>
#include <vector>

namespace grottix {

int RunConvertCommand(const std::vector<std::string>& args);

}  // namespace grottix
