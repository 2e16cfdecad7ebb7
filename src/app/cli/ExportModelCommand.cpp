#include "app/cli/ExportModelCommand.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "app/cli/CommandLine.h"
#include "export/MoveableGltfExport.h"
#include "level/LevelNames.h"

namespace grottix {

namespace {

constexpr const char* kUsage = "Usage: grottix-viewer --export-model LEVEL TYPE OUT.glb [--light F] [--nearest]\n";

struct TModelRequest {
    std::string level, out;
    uint32_t type = 0;
    TGltfExportOptions options;
};

std::optional<TModelRequest> parseArguments(const std::vector<std::string>& args) {
    TModelRequest request;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        char extra = 0;
        if (args[i] == "--nearest") request.options.Filtering = false;
        else if (args[i] == "--light" && i + 1 < args.size()) {
            if (std::sscanf(args[++i].c_str(), "%f%c", &request.options.LightFactor, &extra) != 1) return std::nullopt;
        } else if (args[i].starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    unsigned type = 0;
    char extra = 0;
    if (positional.size() != 3 || std::sscanf(positional[1].c_str(), "%u%c", &type, &extra) != 1 || type > 0xFFFF)
        return std::nullopt;
    request.level = positional[0];
    request.type = type;
    request.out = positional[2];
    return request;
}

}  // namespace

int RunExportModelCommand(const std::vector<std::string>& args) {
    const std::optional<TModelRequest> request = parseArguments(args);
    if (!request) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        TModelExportReport report;
        const uint8_t result = ExportMoveableToGltf(request->level, request->type, request->out, request->options, &report);
        if (result != kLevelLoaded) {
            std::fprintf(stderr, "File %s: %s\n", request->level.c_str(), report.Problem.c_str());
            return 1;
        }
        for (const std::string& damage : report.Damage)
            std::fprintf(stderr, "File %s: Damaged file: %s\n", request->level.c_str(), damage.c_str());
        std::printf("%zu meshes, %zu animations, %zu triangles: %zu bytes written to %s\n", report.Meshes, report.Animations,
                    report.Triangles, report.Bytes, request->out.c_str());
    } catch (const std::exception& error) {
        PrintCommandFailure(error, request->level);
        return 1;
    }
    return 0;
}

}  // namespace grottix
