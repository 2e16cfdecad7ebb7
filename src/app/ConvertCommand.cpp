#include "app/ConvertCommand.h"

#include <cstdio>

#include "app/CommandLine.h"
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
    // Nothing is written before the picture has been read whole; the output is replaced in one step.
    const std::string* file = &args[0];
    try {
        TBitmap picture = ReadImageFile(args[0]);
        file = &args[1];
        WriteImageFile(picture, args[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "File %s: %s\n", file->c_str(), FailureText(error).c_str());
        return 1;
    }
    return 0;
}

}  // namespace grottix
