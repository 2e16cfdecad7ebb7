#pragma once
// One lane: the span kernel's vector operations on plain floats and ints, for processors without
// SSE2. Every operation gives what the SSE2 and AVX2 lanes give in each of theirs, so all three
// draw the same pixels.

#include <cstdint>
#include <cstring>

namespace grottix::raster {
namespace {

struct TLanesScalar {
    static constexpr int kLanes = 1;

    struct I {
        int32_t v;
        I operator+(I b) const { return {int32_t(uint32_t(v) + uint32_t(b.v))}; }
        I operator&(I b) const { return {v & b.v}; }
        I operator|(I b) const { return {v | b.v}; }
    };
    // A mask is an I with every bit of a true lane set.
    static I Mask(bool b) { return {b ? -1 : 0}; }

    struct F {
        float v;
        F operator+(F b) const { return {v + b.v}; }
        F operator-(F b) const { return {v - b.v}; }
        F operator*(F b) const { return {v * b.v}; }
        F operator/(F b) const { return {v / b.v}; }
    };

    static F Set(float v) { return {v}; }
    static I SetI(int32_t v) { return {v}; }
    static F Offsets() { return {0}; }
    static F Load(const float* p) { return {*p}; }
    static void Store(float* p, F a) { *p = a.v; }
    static I LoadI(const uint32_t* p) { return {int32_t(*p)}; }
    static void StoreI(uint32_t* p, I a) { *p = uint32_t(a.v); }

    // Like the x86 instructions: the second operand when the two are equal or either is NaN.
    static F Min(F a, F b) { return {a.v < b.v ? a.v : b.v}; }
    static F Max(F a, F b) { return {a.v > b.v ? a.v : b.v}; }
    static I Less(F a, F b) { return Mask(a.v < b.v); }
    static I LessEqual(F a, F b) { return Mask(a.v <= b.v); }
    static I NotLess(F a, F b) { return Mask(!(a.v < b.v)); }
    static I Equal(I a, I b) { return Mask(a.v == b.v); }
    static I AndNot(I a, I b) { return {~a.v & b.v}; }  // b where a is false
    static bool Any(I mask) { return mask.v != 0; }
    static F ZeroWhere(I mask, F a) { return mask.v ? F{0} : a; }
    static F Select(I mask, F a, F b) { return mask.v ? a : b; }
    static I SelectI(I mask, I a, I b) { return mask.v ? a : b; }

    // Truncation; out of range or NaN gives INT32_MIN, as x86 does.
    static I Trunc(F a) {
        return {a.v >= -2147483648.0f && a.v < 2147483648.0f ? int32_t(a.v) : INT32_MIN};
    }
    static F ToFloat(I a) { return {float(a.v)}; }
    template <int Bits>
    static I ShiftRight(I a) { return {int32_t(uint32_t(a.v) >> Bits)}; }
    static I ShiftLeft(I a, int bits) { return {int32_t(uint32_t(a.v) << bits)}; }
    static constexpr bool kGathersPairs = false;  // no GatherPair
    static I Gather(const uint32_t* base, I index) { return {int32_t(base[index.v])}; }
};

}  // namespace
}  // namespace grottix::raster
