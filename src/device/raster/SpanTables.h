#pragma once
// The span kernel's functions for every combination of its switches, one table per instruction
// set (each built in a file of its own, compiled for that set).

#include <array>

#include "device/raster/SpanFunctions.h"

namespace grottix::raster {

constexpr int kSpanTableSize = 32;
using TSpanTable = std::array<TSpanFunction, kSpanTableSize>;

constexpr int SpanTableIndex(bool zTest, bool bilinear, bool key, bool constantDiffuse, bool specular) {
    return (zTest ? 1 : 0) | (bilinear ? 2 : 0) | (key ? 4 : 0) | (constantDiffuse ? 8 : 0) | (specular ? 16 : 0);
}

const TSpanTable& ScalarSpanTable();
// Only on x86-64 builds, and to be called only when the processor has the set.
const TSpanTable& Sse2SpanTable();
const TSpanTable& Avx2SpanTable();

}  // namespace grottix::raster
