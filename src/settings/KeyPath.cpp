#include "settings/KeyPath.h"

#include <algorithm>

namespace grottix {

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) segments.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return segments;
}

std::string NormalizeKeyPath(std::string_view path) {
    std::string normalized;
    for (const std::string& segment : SplitKeyPath(path)) {
        if (!normalized.empty()) normalized += '\\';
        normalized += segment;
    }
    return normalized;
}

std::string JoinKeyPath(std::string_view parent, std::string_view child) {
    std::string joined{parent};
    joined += '\\';
    joined += child;
    return NormalizeKeyPath(joined);
}

bool IsKeyPathWithin(std::string_view path, std::string_view ancestor) {
    if (ancestor.empty()) return true;
    if (!path.starts_with(ancestor)) return false;
    return path.size() == ancestor.size() || path[ancestor.size()] == '\\';
}

}  // namespace grottix
