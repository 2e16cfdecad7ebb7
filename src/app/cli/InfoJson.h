#pragma once
// Pieces of the JSON that --info --json writes.

#include <string>

namespace grottix {

// text as a JSON string: quotes and backslashes escaped, control characters as \uXXXX.
std::string JsonString(const std::string& text);
// value as a JSON number in the fewest digits that read back the same; null when it is not finite.
std::string JsonNumber(double value);

}  // namespace grottix
