#include <string>
#include <vector>

#include "app/cli/CommandLine.h"
#include "app/window/ViewerWindow.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return grottix::NamesCommand(args) ? grottix::RunCommandLine(args) : grottix::RunViewerWindow(args);
}
