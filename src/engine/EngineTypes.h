#pragma once
// Value types shared by the scene engine: vectors, colours, kind codes, texture-name sets and the
// rotation convention.

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "codecs/Bitmap.h"
#include "device/D3DTypes.h"

namespace grottix {

struct TD3DVector {
    float x = 0, y = 0, z = 0;
    bool operator==(const TD3DVector&) const = default;
};

inline TD3DVector operator+(TD3DVector a, TD3DVector b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline TD3DVector operator-(TD3DVector a, TD3DVector b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline TD3DVector operator-(TD3DVector a) { return {-a.x, -a.y, -a.z}; }
inline TD3DVector operator*(TD3DVector a, float f) { return {a.x * f, a.y * f, a.z * f}; }
inline TD3DVector operator/(TD3DVector a, float f) { return {a.x / f, a.y / f, a.z / f}; }
inline float VectorLength(TD3DVector a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
inline float DistanceBetween(TD3DVector a, TD3DVector b) { return VectorLength(a - b); }
inline float DistanceSquared(TD3DVector a, TD3DVector b) {
    const TD3DVector d = a - b;
    return d.x * d.x + d.y * d.y + d.z * d.z;
}
TD3DVector Normalize(TD3DVector a);

// R = Rz(az) * Ry(-ay) * Rx(ax) on row vectors: a point p becomes p * R.
struct TRotation {
    std::array<std::array<float, 3>, 3> m{};
    TD3DVector Apply(TD3DVector p) const {
        return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0], p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1],
                p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2]};
    }
};
TRotation RotationMatrix(TD3DVector angles);

// A colour value (red in the low byte) as a device colour with the given alpha in the top byte.
constexpr uint32_t DeviceColor(TColor color, uint8_t alpha = 0) {
    return (uint32_t{alpha} << 24) | (uint32_t{GetRValue(color)} << 16) | (uint32_t{GetGValue(color)} << 8) |
           GetBValue(color);
}
// A device colour back as a colour value (alpha dropped).
constexpr TColor ColorFromDevice(uint32_t argb) { return RGB(ArgbRed(argb), ArgbGreen(argb), ArgbBlue(argb)); }

// Kind codes of scene items.
constexpr int kKindAny = -1;
constexpr uint8_t kKindObject = 0;
constexpr uint8_t kKindQuadrangle = 2;
constexpr uint8_t kKindStub = 3;
constexpr uint8_t kKindPolygon = 4;
constexpr uint8_t kKindScene = 7;
constexpr uint8_t kKindGenericQuadrangle = 98;
constexpr uint8_t kKindGenericTriangle = 99;
constexpr uint8_t kKindData = 201;
constexpr uint8_t kKindActionRotate = 210;
constexpr uint8_t kKindActionTranslate = 211;
constexpr uint8_t kKindActionRotateAbout = 212;
constexpr uint8_t kKindLight = 213;

// Two animation frames of (primary, secondary) texture names: frame f uses entries 2f and 2f+1.
using TTextureNames = std::array<std::string, 4>;

bool SameTextIgnoringCase(const std::string& a, const std::string& b);
// A hash of the upper-cased text: texts equal ignoring case have equal keys.
uint64_t TextKeyIgnoringCase(const std::string& text);

// Sort distances from this value on replace the measured distance to the eye.
constexpr int32_t kFixedSortDistance = 50001;

// The process-wide highest ID in use.
int32_t& IDCounter();
inline int32_t NextID() { return ++IDCounter(); }

}  // namespace grottix
