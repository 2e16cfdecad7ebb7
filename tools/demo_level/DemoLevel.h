#pragma once
// The demo level in the layout of one version code.

#include "level_writer/LevelWriter.h"

namespace grottix::demo {

levelwriter::LevelDescription DemoLevel(int code);

}  // namespace grottix::demo
