#pragma once
// Eight lanes of AVX2 for the span kernel. Include only where AVX2 code may be generated (see
// SpanFunctionsAvx2.cpp); the functions run only on processors that have it.

#include <immintrin.h>

#include <cstdint>

namespace grottix::raster {
namespace {

struct TLanesAvx2 {
    static constexpr int kLanes = 8;

    struct I {
        __m256i v;
        I operator+(I b) const { return {_mm256_add_epi32(v, b.v)}; }
        I operator&(I b) const { return {_mm256_and_si256(v, b.v)}; }
        I operator|(I b) const { return {_mm256_or_si256(v, b.v)}; }
    };
    struct F {
        __m256 v;
        F operator+(F b) const { return {_mm256_add_ps(v, b.v)}; }
        F operator-(F b) const { return {_mm256_sub_ps(v, b.v)}; }
        F operator*(F b) const { return {_mm256_mul_ps(v, b.v)}; }
        F operator/(F b) const { return {_mm256_div_ps(v, b.v)}; }
    };

    static F Set(float v) { return {_mm256_set1_ps(v)}; }
    static I SetI(int32_t v) { return {_mm256_set1_epi32(v)}; }
    static F Offsets() { return {_mm256_setr_ps(0, 1, 2, 3, 4, 5, 6, 7)}; }
    static F Load(const float* p) { return {_mm256_loadu_ps(p)}; }
    static void Store(float* p, F a) { _mm256_storeu_ps(p, a.v); }
    static I LoadI(const uint32_t* p) { return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; }
    static void StoreI(uint32_t* p, I a) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), a.v); }

    static F Min(F a, F b) { return {_mm256_min_ps(a.v, b.v)}; }
    static F Max(F a, F b) { return {_mm256_max_ps(a.v, b.v)}; }
    static I Less(F a, F b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.v, b.v, _CMP_LT_OQ))}; }
    static I LessEqual(F a, F b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.v, b.v, _CMP_LE_OQ))}; }
    static I NotLess(F a, F b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.v, b.v, _CMP_NLT_UQ))}; }
    static I Equal(I a, I b) { return {_mm256_cmpeq_epi32(a.v, b.v)}; }
    static I AndNot(I a, I b) { return {_mm256_andnot_si256(a.v, b.v)}; }
    static bool Any(I mask) { return !_mm256_testz_si256(mask.v, mask.v); }
    static F ZeroWhere(I mask, F a) { return {_mm256_andnot_ps(_mm256_castsi256_ps(mask.v), a.v)}; }
    static F Select(I mask, F a, F b) { return {_mm256_blendv_ps(b.v, a.v, _mm256_castsi256_ps(mask.v))}; }
    static I SelectI(I mask, I a, I b) { return {_mm256_blendv_epi8(b.v, a.v, mask.v)}; }

    static I Trunc(F a) { return {_mm256_cvttps_epi32(a.v)}; }
    static F ToFloat(I a) { return {_mm256_cvtepi32_ps(a.v)}; }
    template <int Bits>
    static I ShiftRight(I a) { return {_mm256_srli_epi32(a.v, Bits)}; }
    static I ShiftLeft(I a, int bits) { return {_mm256_sll_epi32(a.v, _mm_cvtsi32_si128(bits))}; }
    static I Gather(const uint32_t* base, I index) {
        return {_mm256_i32gather_epi32(reinterpret_cast<const int*>(base), index.v, 4)};
    }
    // base[index] and base[index + 1] with half as many loads as two Gathers.
    static constexpr bool kGathersPairs = true;
    static void GatherPair(const uint32_t* base, I index, I& first, I& second) {
        const auto* at = reinterpret_cast<const long long*>(base);
        const __m256 low = _mm256_castsi256_ps(_mm256_i32gather_epi64(at, _mm256_castsi256_si128(index.v), 4));
        const __m256 high = _mm256_castsi256_ps(_mm256_i32gather_epi64(at, _mm256_extracti128_si256(index.v, 1), 4));
        first = {_mm256_permute4x64_epi64(_mm256_castps_si256(_mm256_shuffle_ps(low, high, 0x88)), 0xD8)};
        second = {_mm256_permute4x64_epi64(_mm256_castps_si256(_mm256_shuffle_ps(low, high, 0xDD)), 0xD8)};
    }
};

}  // namespace
}  // namespace grottix::raster
