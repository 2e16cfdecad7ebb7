#include "app/cli/LevelArgument.h"

#include <cstdio>
#include <exception>

#include "app/cli/CommandLine.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

bool ReadLevelArgument(const std::string& path, TTombRaiderLevel& level) {
    if (!CheckInputFile(path)) return false;
    try {
        const uint8_t result = level.LoadLevel(path);
        if (result == kLevelLoaded) return true;
        std::fprintf(stderr, "File %s: %s\n", path.c_str(), level.LoadErrorMessage(result).c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "File %s: %s\n", path.c_str(), FailureText(error).c_str());
    }
    return false;
}

bool ParseFilesAndJson(const std::vector<std::string>& args, size_t files, const char* command,
                       std::vector<std::string>& paths, bool& json) {
    for (const auto& arg : args) {
        if (arg == "--json") json = true;
        else if (paths.size() < files && !arg.starts_with("--")) paths.push_back(arg);
        else {
            std::fprintf(stderr, "grottix-viewer: unexpected argument %s\n", arg.c_str());
            return false;
        }
    }
    if (paths.size() == files) return true;
    std::fprintf(stderr, "grottix-viewer: %s needs %s\n", command, files == 1 ? "a level file" : "two level files");
    return false;
}

}  // namespace grottix
