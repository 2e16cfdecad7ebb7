#include "app/InfoCommand.h"

#include <cstdio>

namespace grottix {

int RunInfoCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fputs("grottix-viewer: --info needs a level file\n", stderr);
        return 2;
    }
    std::fputs("not yet\n", stderr);
    return 1;
}

}  // namespace grottix
