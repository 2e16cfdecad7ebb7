#include "engine/EngineTypes.h"

#include <algorithm>
#include <cctype>

namespace grottix {

TD3DVector Normalize(TD3DVector a) {
    const float length = VectorLength(a);
    return length > 0 ? a / length : TD3DVector{};
}

TRotation RotationMatrix(TD3DVector angles) {
    using M = std::array<std::array<float, 3>, 3>;
    const auto multiply = [](const M& a, const M& b) {
        M r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) r[size_t(i)][size_t(j)] += a[size_t(i)][size_t(k)] * b[size_t(k)][size_t(j)];
        return r;
    };
    const float cx = std::cos(angles.x), sx = std::sin(angles.x);
    const float cy = std::cos(-angles.y), sy = std::sin(-angles.y);
    const float cz = std::cos(angles.z), sz = std::sin(angles.z);
    const M rx = {{{1, 0, 0}, {0, cx, sx}, {0, -sx, cx}}};
    const M ry = {{{cy, 0, -sy}, {0, 1, 0}, {sy, 0, cy}}};
    const M rz = {{{cz, sz, 0}, {-sz, cz, 0}, {0, 0, 1}}};
    return {multiply(multiply(rz, ry), rx)};
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    // Names mostly match byte for byte, and equal bytes need no case folding.
    if (a == b) return true;
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return x == y || std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

uint64_t TextKeyIgnoringCase(const std::string& text) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) hash = (hash ^ uint64_t(std::toupper(c))) * 1099511628211ull;
    return hash;
}

int32_t& IDCounter() {
    static int32_t counter = 0;
    return counter;
}

}  // namespace grottix
