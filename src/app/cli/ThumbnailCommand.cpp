#include "app/cli/ThumbnailCommand.h"

#include <cstdio>

#include "app/cli/CommandLine.h"
#include "app/cli/NumberArguments.h"
#include "viewer/HeadlessViewer.h"
#include "app/cli/ImageFiles.h"
#include "codecs/ImageCodecs.h"
#include "level/LevelNames.h"
#include "storage/OutputFiles.h"

namespace grottix {

namespace {

constexpr int kLargestSide = 4096;

}  // namespace

int RunThumbnailCommand(const std::vector<std::string>& args) {
    constexpr const char* kUsage = "Usage: grottix-viewer --thumbnail LEVEL OUT.png SIZE\n";
    if (args.size() != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::optional<int64_t> side = WholeNumber(args[2], 1, kLargestSide);
    if (!side) {
        SayOptionTakes("--thumbnail", "a SIZE from 1 to " + std::to_string(kLargestSide));
        std::fputs(kUsage, stderr);
        return 2;
    }
    const int size = int(*side);
    const std::string& level = args[0];
    const std::string& out = args[1];
    if (!CheckInputFile(level)) return 1;
    try {
        InitializeImageCodecs();
        THeadlessViewer viewer(size, std::max(1, size * 3 / 4));
        TImportReport report;
        const uint8_t result = viewer.Open(level, 0.5f, &report);
        if (result != kLevelLoaded) {
            std::fprintf(stderr, "File %s: %s\n", level.c_str(), report.Problem.c_str());
            return 1;
        }
        WarnMeshesLeftOut(level, report.MeshesLeftOut);
        viewer.DrawFrame();
        // Always PNG, whatever the name the file manager hands over ends in.
        const std::vector<uint8_t> png = EncodeImage(viewer.Picture(), "thumbnail.png");
        WriteOutputFile(out, png);
    } catch (const std::exception& error) {
        PrintCommandFailure(error);
        return 1;
    }
    return 0;
}

}  // namespace grottix
