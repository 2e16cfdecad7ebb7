#include "app/cli/NumberArguments.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace grottix {

namespace {

std::string_view withoutPlus(std::string_view text) {
    return text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+' ? text.substr(1) : text;
}

template <typename T, typename Check>
std::optional<std::vector<T>> numbers(std::string_view text, char separator, size_t count, Check check) {
    std::vector<T> values;
    for (size_t i = 0; i < count; ++i) {
        const size_t end = i + 1 < count ? text.find(separator) : text.size();
        if (end == std::string_view::npos) return std::nullopt;
        const std::optional<T> value = check(text.substr(0, end));
        if (!value) return std::nullopt;
        values.push_back(*value);
        text.remove_prefix(std::min(text.size(), end + 1));
    }
    return values;
}

}  // namespace

std::optional<int64_t> WholeNumber(std::string_view text, int64_t lowest, int64_t highest) {
    text = withoutPlus(text);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) return std::nullopt;
    return value;
}

std::optional<double> RealNumber(std::string_view text, double lowest, double highest) {
    text = withoutPlus(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < lowest ||
        value > highest)
        return std::nullopt;
    return value;
}

std::optional<std::vector<int64_t>> WholeNumbers(std::string_view text, char separator, size_t count, int64_t lowest,
                                                 int64_t highest) {
    return numbers<int64_t>(text, separator, count, [&](std::string_view part) { return WholeNumber(part, lowest, highest); });
}

std::optional<std::vector<double>> RealNumbers(std::string_view text, char separator, size_t count, double lowest,
                                               double highest) {
    return numbers<double>(text, separator, count, [&](std::string_view part) { return RealNumber(part, lowest, highest); });
}

void SayOptionTakes(const std::string& option, const std::string& what) {
    std::fprintf(stderr, "grottix-viewer: %s takes %s\n", option.c_str(), what.c_str());
}

}  // namespace grottix
