#pragma once
// grottix-viewer --export-textures LEVEL DIR [--format EXT]: writes every texture tile of a level,
// as the scene registers it, into DIR as tile001.bmp, tile002.bmp ... (24 bits per pixel). EXT picks
// bmp (the default), tga, ppm or png. The whole level is read first, and a damaged one writes nothing;
// then every file is written beside its target, and only when all are written are they renamed over
// their targets, so the folder ends up with all the tiles or as it was.

#include <string>
#include <vector>

namespace grottix {

int RunExportTexturesCommand(const std::vector<std::string>& args);

}  // namespace grottix
