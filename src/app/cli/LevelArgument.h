#pragma once
// The level files --check and --diff read: they exit with 2 when one cannot be read, so that their
// 0 and 1 keep meaning "no findings" and "findings".

#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

constexpr int kCommandCannotRead = 2;

// Loads path whole. A file that cannot be read, or is damaged, is named on standard error with the
// reader's message ("File <path>: Unsupported version") and false returned.
bool ReadLevelArgument(const std::string& path, TTombRaiderLevel& level);

// Splits the arguments into files and the --json switch; anything else is refused on standard error.
// True when exactly `files` files were given.
bool ParseFilesAndJson(const std::vector<std::string>& args, size_t files, const char* command,
                       std::vector<std::string>& paths, bool& json);

}  // namespace grottix
