#include "level/TileTexels.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace grottix {

namespace {

uint32_t widen565(uint16_t pixel) {
    const uint32_t r5 = pixel >> 11, g6 = (pixel >> 5) & 63, b5 = pixel & 31;
    return 0xFF000000u | (((r5 << 3) | (r5 >> 2)) << 16) | (((g6 << 2) | (g6 >> 4)) << 8) | ((b5 << 3) | (b5 >> 2));
}

uint32_t convertTexel(const uint8_t* source) { return widen565(FixTilePixel(uint16_t(source[0] | (source[1] << 8)))); }

#if defined(__SSE2__)
// Eight texels at a time: the fix-up and the widening of FixTilePixel and widen565 in 16-bit lanes.
size_t convertEights(const uint8_t* source, size_t count, uint32_t* out) {
    const __m128i five = _mm_set1_epi16(31), two = _mm_set1_epi16(2), zero = _mm_setzero_si128();
    const __m128i alpha = _mm_set1_epi16(int16_t(0xFF00));
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i * 2));
        __m128i r = _mm_and_si128(_mm_srli_epi16(p, 10), five);
        __m128i g = _mm_and_si128(_mm_srli_epi16(p, 5), five);
        __m128i b = _mm_and_si128(p, five);
        const __m128i someZero =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(r, zero), _mm_cmpeq_epi16(g, zero)), _mm_cmpeq_epi16(b, zero));
        const __m128i opaque = _mm_srai_epi16(p, 15);
        const __m128i floor = _mm_and_si128(_mm_or_si128(opaque, _mm_andnot_si128(someZero, _mm_set1_epi16(-1))), two);
        r = _mm_max_epi16(r, floor);
        g = _mm_max_epi16(g, floor);
        b = _mm_max_epi16(b, floor);
        // Green stands in the upper five of six bits, so it widens as g << 3 | g >> 3.
        r = _mm_or_si128(_mm_slli_epi16(r, 3), _mm_srli_epi16(r, 2));
        g = _mm_or_si128(_mm_slli_epi16(g, 3), _mm_srli_epi16(g, 3));
        b = _mm_or_si128(_mm_slli_epi16(b, 3), _mm_srli_epi16(b, 2));
        const __m128i low = _mm_or_si128(_mm_slli_epi16(g, 8), b), high = _mm_or_si128(alpha, r);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi16(low, high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), _mm_unpackhi_epi16(low, high));
    }
    return i;
}
#else
size_t convertEights(const uint8_t*, size_t, uint32_t*) { return 0; }
#endif

}  // namespace

uint16_t FixTilePixel(uint16_t pixel) {
    unsigned r = (pixel >> 10) & 31, g = (pixel >> 5) & 31, b = pixel & 31;
    const bool opaque = pixel & 0x8000;
    if (opaque || (r && g && b)) {
        r = std::max(r, 2u);
        g = std::max(g, 2u);
        b = std::max(b, 2u);
    }
    return uint16_t(b | (g << 6) | (r << 11));
}

void ConvertTileTexels16(const uint8_t* source, size_t count, uint32_t* out) {
    for (size_t i = convertEights(source, count, out); i < count; ++i) out[i] = convertTexel(source + i * 2);
}

void ConvertTileTexels8(const uint8_t* source, size_t count, const uint32_t* palette, uint32_t* out) {
    for (size_t i = 0; i < count; ++i) out[i] = palette[source[i]];
}

}  // namespace grottix
