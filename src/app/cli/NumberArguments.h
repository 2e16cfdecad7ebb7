#pragma once
// Numbers on the command line, read whole and checked before use: nothing left over, no wrapping,
// nothing that is not finite, nothing outside the range the option allows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grottix {

// text as one whole number within [lowest, highest] (a leading '+' is allowed), or none.
std::optional<int64_t> WholeNumber(std::string_view text, int64_t lowest, int64_t highest);
// text as one finite number within [lowest, highest] ("1.5", "-2e3"), or none.
std::optional<double> RealNumber(std::string_view text, double lowest, double highest);
// count numbers separated by separator ("1,2,3", "640x480"), each as above, or none.
std::optional<std::vector<int64_t>> WholeNumbers(std::string_view text, char separator, size_t count, int64_t lowest,
                                                 int64_t highest);
std::optional<std::vector<double>> RealNumbers(std::string_view text, char separator, size_t count, double lowest,
                                               double highest);

// "grottix-viewer: OPTION takes WHAT" on standard error.
void SayOptionTakes(const std::string& option, const std::string& what);

}  // namespace grottix
