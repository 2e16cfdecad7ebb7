// The span kernel built for SSE2, which every x86-64 processor has.

#include "device/raster/SpanTables.h"

#if defined(__x86_64__)

#include "device/raster/LanesSse2.h"
#include "device/raster/SpanKernel.h"

namespace grottix::raster {

const TSpanTable& Sse2SpanTable() {
    static constexpr TSpanTable table = SpanTableOf<TLanesSse2>();
    return table;
}

}  // namespace grottix::raster

#endif
