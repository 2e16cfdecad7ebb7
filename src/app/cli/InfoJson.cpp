#include "app/cli/InfoJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace grottix {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += {'\\', c};
        else if (uint8_t(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(uint8_t(c)));
            out += escaped;
        } else out += c;
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace grottix
