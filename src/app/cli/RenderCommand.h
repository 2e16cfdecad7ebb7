#pragma once
// grottix-viewer --render OUT LEVEL [options]: opens a level as the window would and writes one
// frame of it, drawn headless by the CPU rasterizer (or OpenGL with --opengl where a display exists).

#include <string>
#include <vector>

namespace grottix {

int RunRenderCommand(const std::vector<std::string>& args);

}  // namespace grottix
