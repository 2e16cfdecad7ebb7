#include "app/ConvertCommand.h"

#include <cstdio>

#include "app/ImageFiles.h"
#include "codecs/ImageCodecs.h"

namespace grottix {

namespace {

constexpr const char* kUsage = "Usage: grottix-viewer --convert IN OUT\n";

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    InitializeImageCodecs();
    try {
        WriteImageFile(ReadImageFile(args[0]), args[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "grottix-viewer: %s\n", error.what());
        return 1;
    }
    return 0;
}

}  // namespace grottix
