#include "viewer/FlipOption.h"

#include <algorithm>
#include <cctype>

namespace grottix {

TFlipState ReadFlipOption(const std::vector<std::string>& args, size_t& i) {
    if (i + 1 >= args.size()) return TFlipState::All();
    const std::string& next = args[i + 1];
    const bool number = !next.empty() && next.size() <= 3 &&
                        std::all_of(next.begin(), next.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (!number || std::stoi(next) > 255) return TFlipState::All();
    ++i;
    return TFlipState::Group(std::stoi(next));
}

}  // namespace grottix
