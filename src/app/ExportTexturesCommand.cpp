#include "app/ExportTexturesCommand.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/ImageFiles.h"
#include "codecs/ImageCodecs.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"

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

// Writes the tiles; returns how many.
int exportTiles(const TTombRaiderLevel& level, const ExportRequest& request) {
    std::filesystem::create_directories(request.folder);
    int written = 0;
    while (const std::unique_ptr<TBitmap> tile = level.GetTileBitmap(std::to_string(written + 1))) {
        WriteImageFile(*tile, tileFileName(request, written + 1));
        ++written;
    }
    return written;
}

}  // namespace

int RunExportTexturesCommand(const std::vector<std::string>& args) {
    const std::optional<ExportRequest> request = parseArguments(args);
    if (!request) return 2;
    InitializeImageCodecs();
    TTombRaiderLevel level;
    try {
        const uint8_t result = level.LoadLevel(request->level, true);
        if (result != kLevelLoaded) {
            std::fprintf(stderr, "File %s: %s\n", request->level.c_str(), ImportErrorMessage(result).c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "File %s: %s\n", request->level.c_str(), error.what());
        return 1;
    }
    try {
        const int written = exportTiles(level, *request);
        std::printf("%d tiles written to %s\n", written, request->folder.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "grottix-viewer: %s\n", error.what());
        return 1;
    }
    return 0;
}

}  // namespace grottix
