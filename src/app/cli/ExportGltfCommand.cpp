#include "app/cli/ExportGltfCommand.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "app/cli/CommandLine.h"
#include "app/cli/NumberArguments.h"
#include "viewer/FlipOption.h"
#include "export/LevelGltfExport.h"
#include "level/LevelNames.h"

namespace grottix {

namespace {

constexpr const char* kUsage = "Usage: grottix-viewer --export-gltf LEVEL OUT.glb [--light F] [--no-items] [--nearest]\n"
                                "       [--sprites crossed|flat] [--verbose] [--flip [GROUP]] [--animations] [--all-items]\n";

struct TExportRequest {
    std::string level, out;
    TGltfExportOptions options;
    bool verbose = false;
};

std::optional<TExportRequest> parseArguments(const std::vector<std::string>& args) {
    TExportRequest request;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--no-items") request.options.Items = false;
        else if (args[i] == "--nearest") request.options.Filtering = false;
        else if (args[i] == "--flip") {
            const std::optional<TFlipState> flip = ReadFlipOption(args, i);
            if (!flip) {
                SayOptionTakes("--flip", kFlipOptionTakes);
                return std::nullopt;
            }
            request.options.Flip = *flip;
        }
        else if (args[i] == "--verbose") request.verbose = true;
        else if (args[i] == "--animations") request.options.Animations = true;
        else if (args[i] == "--all-items") request.options.AllItems = true;
        else if (args[i] == "--sprites" && i + 1 < args.size()) {
            const std::string& shape = args[++i];
            if (shape != "crossed" && shape != "flat") return std::nullopt;
            request.options.Sprites = shape == "flat" ? TGltfSprites::Flat : TGltfSprites::Crossed;
        } else if (args[i] == "--light" && i + 1 < args.size()) {
            const auto light = RealNumber(args[++i], 0, 1);
            if (!light) {
                SayOptionTakes("--light", "a number from 0 to 1");
                return std::nullopt;
            }
            request.options.LightFactor = float(*light);
        } else if (args[i].starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return std::nullopt;
    request.level = positional[0];
    request.out = positional[1];
    return request;
}

}  // namespace

int RunExportGltfCommand(const std::vector<std::string>& args) {
    const std::optional<TExportRequest> request = parseArguments(args);
    if (!request) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!CheckInputFile(request->level)) return 1;
    try {
        TGltfExportReport report;
        const uint8_t result = ExportLevelToGltf(request->level, request->out, request->options, {}, &report);
        if (result != kLevelLoaded) {
            std::fprintf(stderr, "File %s: %s\n", request->level.c_str(), report.Problem.c_str());
            return 1;
        }
        WarnMeshesLeftOut(request->level, report.MeshesLeftOut);
        std::printf("%zu nodes, %zu triangles, %zu textures: %zu bytes written to %s\n", report.Nodes, report.Triangles,
                    report.Textures, report.Bytes, request->out.c_str());
        if (request->options.Animations) std::printf("%zu items animated\n", report.AnimatedItems);
        if (request->verbose) {
            std::printf("degenerate triangles left out: %zu\n", report.LeftOut);
            std::printf("items far outside their rooms left out: %zu\n", report.ItemsOutside);
        }
        for (const std::string& damage : report.Damage) std::fprintf(stderr, "File %s: Damaged file: %s\n", request->level.c_str(), damage.c_str());
    } catch (const std::exception& error) {
        PrintCommandFailure(error, request->level);
        return 1;
    }
    return 0;
}

}  // namespace grottix
