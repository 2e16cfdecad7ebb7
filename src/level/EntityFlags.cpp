#include "level/EntityFlags.h"

#include <cstdio>

namespace grottix {

std::string DescribeEntityFlags(int /*versionCode*/, uint16_t flags) {
    std::string text;
    const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    char hex[32];
    if (flags & kEntityInvisible) add("invisible");
    const unsigned mask = (flags & kEntityActivationMask) >> 9;
    if (mask == 0x1F) add("activated (mask 0x1F)");
    else if (mask != 0) {
        std::snprintf(hex, sizeof hex, "mask 0x%02X", mask);
        add(hex);
    }
    if (const unsigned rest = flags & ~unsigned(kEntityInvisible | kEntityActivationMask) & 0xFFFF) {
        std::snprintf(hex, sizeof hex, "bits 0x%04X", rest);
        add(hex);
    }
    return text;
}

}  // namespace grottix
