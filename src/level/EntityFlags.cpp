#include "level/EntityFlags.h"

#include <cstdio>

#include "level/FloorDataNames.h"

namespace grottix {

std::string DescribeEntityFlags(int /*versionCode*/, uint16_t flags) {
    std::string text;
    const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    char hex[32];
    if (flags & kEntityInvisible) add("invisible");
    // The activation bits as the triggers' masks show them: lowest bit first.
    const auto mask = uint8_t((flags & kEntityActivationMask) >> 9);
    if (mask == 0x1F) add("activated (mask " + TriggerMaskText(mask) + ")");
    else if (mask != 0) add("mask " + TriggerMaskText(mask));
    if (const unsigned rest = flags & ~unsigned(kEntityInvisible | kEntityActivationMask) & 0xFFFF) {
        std::snprintf(hex, sizeof hex, "bits 0x%04X", rest);
        add(hex);
    }
    return text;
}

}  // namespace grottix
