#include "app/cli/ExportTexturesCommand.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/cli/CommandLine.h"
#include "app/cli/ImageFiles.h"
#include "codecs/ImageCodecs.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "storage/OutputFiles.h"

namespace grottix {

namespace {

constexpr const char* kUsage = "Usage: grottix-viewer --export-textures LEVEL DIR [--format bmp|tga|ppm|png]\n";

struct ExportRequest {
    std::string level;
    std::string folder;
    std::string extension = "bmp";
};

bool isExportFormat(const std::string& extension) {
    static const std::array<const char*, 4> formats = {"bmp", "tga", "ppm", "png"};
    return std::any_of(formats.begin(), formats.end(), [&](const char* f) { return extension == f; });
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The request, or nothing after printing what is wrong with the arguments.
std::optional<ExportRequest> parseArguments(const std::vector<std::string>& args) {
    ExportRequest request;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--format") {
            positional.push_back(args[i]);
        } else if (i + 1 < args.size() && isExportFormat(lowerCase(args[i + 1]))) {
            request.extension = lowerCase(args[++i]);
        } else {
            std::fprintf(stderr, "grottix-viewer: --format takes bmp, tga, ppm or png\n%s", kUsage);
            return std::nullopt;
        }
    }
    if (positional.size() != 2) {
        std::fputs(kUsage, stderr);
        return std::nullopt;
    }
    request.level = positional[0];
    request.folder = positional[1];
    return request;
}

std::string tileFileName(const ExportRequest& request, int tile) {
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "tile%03d.", tile);
    return (std::filesystem::path(request.folder) / (name.data() + request.extension)).string();
}

// The outermost folder of path that does not exist yet (empty when path exists).
std::filesystem::path firstMissingFolder(const std::filesystem::path& path) {
    std::filesystem::path missing;
    for (std::filesystem::path at = std::filesystem::absolute(path); !at.empty() && !std::filesystem::exists(at);
         at = at.parent_path()) {
        missing = at;
        if (at == at.parent_path()) break;
    }
    return missing;
}

// Writes every tile beside its target, then puts them all in place together; returns how many. On
// any failure the folder is left as it was: the tiles written beside are removed, the old tiles stay
// (or are put back) and the folders the export made are removed.
int exportTiles(const TTombRaiderLevel& level, const ExportRequest& request) {
    const std::filesystem::path made = firstMissingFolder(request.folder);
    std::vector<TPendingOutput> pending;
    try {
        std::error_code error;
        std::filesystem::create_directories(request.folder, error);
        if (error) throw EOutputFailure(request.folder, error.message());
        for (int k = 1; const std::unique_ptr<TBitmap> tile = level.GetTileBitmap(std::to_string(k)); ++k) {
            const std::string target = tileFileName(request, k);
            const std::vector<uint8_t> bytes = EncodeImage(*tile, target);
            pending.push_back({WriteOutputBeside(target, bytes), target});
        }
        ReplaceOutputsTogether(pending);
    } catch (...) {
        std::error_code ignored;
        for (const TPendingOutput& file : pending) std::filesystem::remove(file.Beside, ignored);
        if (!made.empty()) std::filesystem::remove_all(made, ignored);
        throw;
    }
    return int(pending.size());
}

}  // namespace

int RunExportTexturesCommand(const std::vector<std::string>& args) {
    const std::optional<ExportRequest> request = parseArguments(args);
    if (!request) return 2;
    if (!CheckInputFile(request->level)) return 1;
    InitializeImageCodecs();
    TTombRaiderLevel level;
    try {
        // All of the level, so that damage anywhere in it is found before anything is written.
        const uint8_t result = level.LoadLevel(request->level);
        if (result != kLevelLoaded) {
            std::fprintf(stderr, "File %s: %s\n", request->level.c_str(), level.LoadErrorMessage(result).c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "File %s: %s\n", request->level.c_str(), FailureText(error).c_str());
        return 1;
    }
    try {
        const int written = exportTiles(level, *request);
        std::printf("%d tiles written to %s\n", written, request->folder.c_str());
    } catch (const std::exception& error) {
        PrintCommandFailure(error, request->folder);
        return 1;
    }
    return 0;
}

}  // namespace grottix
