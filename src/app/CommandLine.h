#pragma once
// The program's command line: the window mode and the modes that work without one.

#include <string>
#include <vector>

namespace grottix {

// Runs the program for the arguments after the program name; returns the exit code.
int RunCommandLine(const std::vector<std::string>& args);

}  // namespace grottix
