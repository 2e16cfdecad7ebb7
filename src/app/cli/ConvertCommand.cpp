#include "app/cli/ConvertCommand.h"

#include <cstdio>

#include "app/cli/CommandLine.h"
#include "app/cli/ImageFiles.h"
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
    if (!CheckInputFile(args[0])) return 1;
    InitializeImageCodecs();
    // Nothing is written before the picture has been read whole; the output is replaced in one step,
    // and a failure to write it names it.
    try {
        WriteImageFile(ReadImageFile(args[0]), args[1]);
    } catch (const std::exception& error) {
        PrintCommandFailure(error, args[0]);
        return 1;
    }
    return 0;
}

}  // namespace grottix
