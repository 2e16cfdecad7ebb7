#include "engine/FileNames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "storage/Stream.h"

namespace grottix {

namespace fs = std::filesystem;

std::string CleanName(const std::string& name) {
    std::string cut = name.substr(0, name.find('\0'));
    const auto blank = [](unsigned char c) { return c <= ' '; };
    const auto first = std::find_if_not(cut.begin(), cut.end(), blank);
    const auto last = std::find_if_not(cut.rbegin(), cut.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithTrailingSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder;
    return folder + '/';
}

std::string ProgramFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : WithTrailingSeparator(program.parent_path().string());
}

std::string CurrentFolder() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? std::string() : WithTrailingSeparator(current.string());
}

namespace {

// A file of the folder whose name equals name ignoring case, or empty.
std::string findIgnoringCase(const std::string& folder, const std::string& name) {
    if (name.empty()) return {};
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end; it.increment(error)) {
        const std::string candidate = it->path().filename().string();
        if (SameTextIgnoringCase(candidate, name) && FileExists(folder + candidate)) return folder + candidate;
    }
    return {};
}

}  // namespace

std::string FindExistingFile(const std::string& path) {
    if (path.empty()) return {};
    if (FileExists(path)) return path;
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed != path && FileExists(slashed)) return slashed;
    return findIgnoringCase(FolderPart(slashed), FileNamePart(slashed));
}

}  // namespace grottix
