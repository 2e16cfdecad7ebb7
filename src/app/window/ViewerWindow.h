#pragma once
// The program with its window: the application, the settings file and the main window.

#include <string>
#include <vector>

namespace grottix {

// The application's organisation and name, which also place its settings file.
void NameViewerApplication();

// args: the command line after the program name; the first, when present, is the level to open.
int RunViewerWindow(const std::vector<std::string>& args);

}  // namespace grottix
