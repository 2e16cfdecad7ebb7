#include "level/LevelNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace grottix {

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

std::string ImportErrorMessage(int code) {
    switch (code) {
        case kLevelNotFound: return "Map not found";
        case kLevelUnsupportedVersion: return "Unsupported version";
        case kLevelDamaged: return "Damaged file";
        case kLevelTooLarge: return "File too large";
        default: return "";
    }
}

bool IsKnownVersionWord(uint32_t versionWord) {
    switch (versionWord) {
        case 0x00000020: case 0x0000002D: case 0xFF080038: case 0xFF180038: case 0x00345254: case 0xFFFFFFF0:
            return true;
        default:
            return false;
    }
}

int VersionCodeFor(uint32_t versionWord, const std::string& path) {
    const std::string upper = UpperCase(path);
    const auto contains = [&](const char* text) { return upper.find(text) != std::string::npos; };
    switch (versionWord) {
        case 0x00000020: return contains(".TUB") ? 2 : 1;
        case 0x0000002D: return contains(".TRG") ? 4 : 3;
        case 0xFF080038: case 0xFF180038: return 5;
        case 0x00345254: case 0xFFFFFFF0: return contains(".TRC") ? 7 : 6;
        default: return 0;
    }
}

int LevelTileNumber(const std::string& entry) {
    std::string path, number = entry;
    SplitLevelTextureName(entry, path, number);
    int value = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && end == number.data() + number.size() ? value : -1;
}

std::string MakeLevelTextureName(const std::string& levelPath, const std::string& entry) {
    std::string path, innerEntry;
    const std::string& used = SplitLevelTextureName(entry, path, innerEntry) ? innerEntry : entry;
    return "->" + levelPath + "::" + used;
}

bool SplitLevelTextureName(const std::string& text, std::string& levelPath, std::string& entry) {
    if (text.size() < 6 || text.compare(0, 2, "->") != 0) return false;
    // The last "::" separates path and entry; the path itself may contain "::".
    for (size_t end = text.size(); end > 2; --end) {
        // The two characters ending at 0-based position end - 1.
        if (end >= 4 && text[end - 1] == ':' && text[end - 2] == ':') {
            levelPath = text.substr(2, end - 2 - 2);
            entry = text.substr(end);
            return true;
        }
    }
    return false;
}

bool IsLevelTextureName(const std::string& text) {
    std::string path, entry;
    if (!SplitLevelTextureName(text, path, entry) || path.size() < 3) return false;
    static const std::array<const char*, 5> extensions = {"PHD", "TUB", "TR2", "TR4", "TRC"};
    const std::string tail = UpperCase(path.substr(path.size() - 3));
    return std::any_of(extensions.begin(), extensions.end(), [&](const char* e) { return tail == e; });
}

}  // namespace grottix
