// The span kernel built for AVX2. Only the kernel's own functions are compiled for AVX2 (everything
// included before the target switch stays plain x86-64), so a build runs on any x86-64 processor and
// takes this table only where the processor has AVX2.

#include "device/raster/SpanTables.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#include "device/raster/RasterTypes.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "device/raster/LanesAvx2.h"
#include "device/raster/SpanKernel.h"

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace grottix::raster {

const TSpanTable& Avx2SpanTable() {
    static constexpr TSpanTable table = SpanTableOf<TLanesAvx2>();
    return table;
}

}  // namespace grottix::raster

#endif
