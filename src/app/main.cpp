#include <string>
#include <vector>

#include "app/CommandLine.h"

int main(int argc, char** argv) {
    return grottix::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
