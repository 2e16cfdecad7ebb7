#pragma once
// Four lanes of SSE2 for the span kernel (every x86-64 processor has them).

#include <emmintrin.h>

#include <cstdint>

namespace grottix::raster {
namespace {

struct TLanesSse2 {
    static constexpr int kLanes = 4;

    struct I {
        __m128i v;
        I operator+(I b) const { return {_mm_add_epi32(v, b.v)}; }
        I operator&(I b) const { return {_mm_and_si128(v, b.v)}; }
        I operator|(I b) const { return {_mm_or_si128(v, b.v)}; }
    };
    struct F {
        __m128 v;
        F operator+(F b) const { return {_mm_add_ps(v, b.v)}; }
        F operator-(F b) const { return {_mm_sub_ps(v, b.v)}; }
        F operator*(F b) const { return {_mm_mul_ps(v, b.v)}; }
        F operator/(F b) const { return {_mm_div_ps(v, b.v)}; }
    };

    static F Set(float v) { return {_mm_set1_ps(v)}; }
    static I SetI(int32_t v) { return {_mm_set1_epi32(v)}; }
    static F Offsets() { return {_mm_setr_ps(0, 1, 2, 3)}; }
    static F Load(const float* p) { return {_mm_loadu_ps(p)}; }
    static void Store(float* p, F a) { _mm_storeu_ps(p, a.v); }
    static I LoadI(const uint32_t* p) { return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))}; }
    static void StoreI(uint32_t* p, I a) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), a.v); }

    static F Min(F a, F b) { return {_mm_min_ps(a.v, b.v)}; }
    static F Max(F a, F b) { return {_mm_max_ps(a.v, b.v)}; }
    static I Less(F a, F b) { return {_mm_castps_si128(_mm_cmplt_ps(a.v, b.v))}; }
    static I LessEqual(F a, F b) { return {_mm_castps_si128(_mm_cmple_ps(a.v, b.v))}; }
    static I NotLess(F a, F b) { return {_mm_castps_si128(_mm_cmpnlt_ps(a.v, b.v))}; }
    static I Equal(I a, I b) { return {_mm_cmpeq_epi32(a.v, b.v)}; }
    static I AndNot(I a, I b) { return {_mm_andnot_si128(a.v, b.v)}; }
    static bool Any(I mask) { return _mm_movemask_epi8(mask.v) != 0; }
    static F ZeroWhere(I mask, F a) { return {_mm_andnot_ps(_mm_castsi128_ps(mask.v), a.v)}; }
    static F Select(I mask, F a, F b) {
        const __m128 m = _mm_castsi128_ps(mask.v);
        return {_mm_or_ps(_mm_and_ps(m, a.v), _mm_andnot_ps(m, b.v))};
    }
    static I SelectI(I mask, I a, I b) {
        return {_mm_or_si128(_mm_and_si128(mask.v, a.v), _mm_andnot_si128(mask.v, b.v))};
    }

    static I Trunc(F a) { return {_mm_cvttps_epi32(a.v)}; }
    static F ToFloat(I a) { return {_mm_cvtepi32_ps(a.v)}; }
    template <int Bits>
    static I ShiftRight(I a) { return {_mm_srli_epi32(a.v, Bits)}; }
    static I ShiftLeft(I a, int bits) { return {_mm_sll_epi32(a.v, _mm_cvtsi32_si128(bits))}; }
    static constexpr bool kGathersPairs = false;  // no GatherPair
    static I Gather(const uint32_t* base, I index) {
        alignas(16) int32_t at[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(at), index.v);
        return {_mm_setr_epi32(int32_t(base[at[0]]), int32_t(base[at[1]]), int32_t(base[at[2]]), int32_t(base[at[3]]))};
    }
};

}  // namespace
}  // namespace grottix::raster
