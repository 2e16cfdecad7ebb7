#pragma once
// What an entity's flags word means, in words: the same layout in every game. Bit 8 hides the
// entity until something triggers it; bits 9-13 are its activation mask (all five set: it starts
// activated, a door open or a switch thrown). Bits the format leaves unnamed are shown as they are.

#include <cstdint>
#include <string>

namespace grottix {

constexpr uint16_t kEntityInvisible = 0x0100;
constexpr uint16_t kEntityActivationMask = 0x3E00;

// e.g. "invisible, mask 01010", "activated (mask 11111)", "mask 10000, bits 0x8000" (mask bits lowest
// first, as trigger masks show them); "" when no bit is set.
std::string DescribeEntityFlags(int versionCode, uint16_t flags);

}  // namespace grottix
