#pragma once
// Key paths: segments joined by backslashes, relative to a store's root. Empty segments are
// dropped, so "Software\\A\\" and "\\Software\\A" name the same key as "Software\\A".

#include <string>
#include <string_view>
#include <vector>

namespace grottix {

std::vector<std::string> SplitKeyPath(std::string_view path);
std::string NormalizeKeyPath(std::string_view path);
std::string JoinKeyPath(std::string_view parent, std::string_view child);
// Whether `path` is `ancestor` itself or lies below it (both normalized).
bool IsKeyPathWithin(std::string_view path, std::string_view ancestor);

}  // namespace grottix
