#pragma once
// grottix-viewer --export-textures LEVEL DIR [--format EXT]: writes every texture tile of a level,
// as the scene registers it, into DIR as tile001.bmp, tile002.bmp ... (24 bits per pixel). EXT picks
// bmp (the default), tga, ppm or png. Each file is written beside its target and renamed over it.

#include <string>
#include <vector>

namespace grottix {

int RunExportTexturesCommand(const std::vector<std::string>& args);

}  // namespace grottix
