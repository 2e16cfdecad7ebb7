#pragma once
// Text of a list of lines, as settings keep it: every line followed by a carriage return and a
// line feed. Reading splits at CR LF, CR or LF; a final line break ends the last line.

#include <string>
#include <string_view>
#include <vector>

namespace grottix {

std::string JoinLines(const std::vector<std::string>& lines);
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace grottix
