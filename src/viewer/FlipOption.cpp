#include "viewer/FlipOption.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace grottix {

std::optional<TFlipState> ReadFlipOption(const std::vector<std::string>& args, size_t& i) {
    if (i + 1 >= args.size()) return TFlipState::All();
    const std::string& next = args[i + 1];
    const bool number = !next.empty() &&
                        std::all_of(next.begin(), next.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (!number) return TFlipState::All();
    ++i;
    int group = 0;
    if (std::from_chars(next.data(), next.data() + next.size(), group).ec != std::errc() || group > 255) return std::nullopt;
    return TFlipState::Group(group);
}

}  // namespace grottix
