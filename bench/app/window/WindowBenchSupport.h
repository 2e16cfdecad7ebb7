#pragma once
// What the window benchmarks share: a Qt application on the X server, and the TR4 demo level
// written afresh once a run (a copy left by an older build may no longer be what the reader expects).

#include <string>

class QApplication;

namespace grottix {

QApplication& BenchApplication();
std::string BenchDemoLevel();

}  // namespace grottix
