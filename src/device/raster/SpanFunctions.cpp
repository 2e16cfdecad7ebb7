#include "device/raster/SpanFunctions.h"

#include <cstdlib>
#include <string_view>

#include "device/raster/LanesScalar.h"
#include "device/raster/PixelShader.h"
#include "device/raster/SpanKernel.h"

namespace grottix::raster {

namespace {

// A plane's value at the span's first pixel.
struct TPlaneAt {
    float x, y;
    float operator()(const TPlane& p) const { return p.base + p.dx * x + p.dy * y; }
};

void generalSpan(const TPixelState& state, const TRasterTriangle& triangle, const TSpan& span) {
    const TPixelShader shader(state, triangle.bilinear);
    const TPlaneAt at{float(span.left) - triangle.x[0], float(span.row) - triangle.y[0]};
    float z = at(triangle.z), q = at(triangle.q), attrQ[kAttributeCount];
    for (int k = 0; k < kAttributeCount; ++k) attrQ[k] = at(triangle.attrQ[k]);
    float dummyDepth = 1;
    for (int i = 0; i < span.count; ++i) {
        shader.Shade(span.color + i, span.depth ? span.depth + i : &dummyDepth, z, q, attrQ);
        z += triangle.z.dx;
        q += triangle.q.dx;
        for (int k = 0; k < kAttributeCount; ++k) attrQ[k] += triangle.attrQ[k].dx;
    }
}

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

TInstructionSet detectInstructionSet() {
#if defined(__x86_64__)
    TInstructionSet best = __builtin_cpu_supports("avx2") ? TInstructionSet::Avx2 : TInstructionSet::Sse2;
#else
    TInstructionSet best = TInstructionSet::Scalar;
#endif
    if (const char* cap = std::getenv("GROTTIX_RASTER_SIMD")) {
        const std::string_view name = cap;
        if (name == "scalar") best = TInstructionSet::Scalar;
        else if (name == "sse2" && best > TInstructionSet::Sse2) best = TInstructionSet::Sse2;
    }
    return best;
}

const TSpanTable& spanTable(TInstructionSet set) {
#if defined(__x86_64__)
    if (set == TInstructionSet::Avx2) return Avx2SpanTable();
    if (set == TInstructionSet::Sse2) return Sse2SpanTable();
#endif
    (void)set;
    return ScalarSpanTable();
}

}  // namespace

const TSpanTable& ScalarSpanTable() {
    static constexpr TSpanTable table = SpanTableOf<TLanesScalar>();
    return table;
}

TInstructionSet BestInstructionSet() {
    static const TInstructionSet best = detectInstructionSet();
    return best;
}

TSpanFunction SelectSpanFunction(const TPixelState& state, const TRasterTriangle& triangle, TInstructionSet set) {
    const bool fast = state.texture && state.standardModulate && !state.blend && !state.quantize565 &&
                      powerOfTwo(state.texture->width) && powerOfTwo(state.texture->height) &&
                      (!state.zTest || state.zFunc == D3DCMP_LESSEQUAL);
    if (!fast) return generalSpan;
    const bool specular = state.specular && !triangle.noSpecular;
    return spanTable(set)[size_t(SpanTableIndex(state.zTest, triangle.bilinear, state.colorKey,
                                                triangle.hasConstantDiffuse, specular))];
}

}  // namespace grottix::raster
