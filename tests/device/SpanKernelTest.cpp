// The span kernel compiled for each instruction set draws exactly what its one-lane build draws,
// for every switch of the kernel, at every span length and start (short last lane groups included).

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "device/raster/SpanFunctions.h"
#include "device/raster/VertexProcessing.h"

namespace grottix::raster {
namespace {

constexpr int kWidth = 61, kHeight = 12;

std::shared_ptr<TTexelImage> speckledTexture() {
    auto image = std::make_shared<TTexelImage>();
    image->width = 16;
    image->height = 8;
    uint32_t seed = 7;
    for (int i = 0; i < 16 * 8; ++i) {
        seed = seed * 1664525u + 1013904223u;
        image->texels.push_back(seed % 5 == 0 ? 0xFF000000u : 0xFF000000u | (seed >> 8));  // every fifth keyed
    }
    return image;
}

TScreenVertex corner(float x, float y, float z, float q, float u, float v, float shade, float specular) {
    TScreenVertex vertex{x, y, z, q, {}};
    const float attributes[kAttributeCount] = {shade, shade * 0.5f, 255 - shade, 255, specular, specular, 0, u, v};
    for (int k = 0; k < kAttributeCount; ++k) vertex.attrQ[k] = attributes[k] * q;
    return vertex;
}

struct TPicture {
    std::vector<uint32_t> color;
    std::vector<float> depth;
};

TPicture background() {
    TPicture picture{std::vector<uint32_t>(kWidth * kHeight), std::vector<float>(kWidth * kHeight)};
    for (int i = 0; i < kWidth * kHeight; ++i) {
        picture.color[size_t(i)] = 0xFF102030u + uint32_t(i);
        picture.depth[size_t(i)] = float(i % 7) / 6.0f;  // some pixels pass the depth test, some fail
    }
    return picture;
}

// A triangle in perspective whose texture wraps several times, drawn span by span: every row is cut
// into spans of growing length.
TPicture draw(TInstructionSet set, const TPixelState& state, const TRasterTriangle& triangle) {
    TPicture picture = background();
    const TSpanFunction span = SelectSpanFunction(state, triangle, set);
    for (int row = 0; row < kHeight; ++row)
        for (int left = 0, count = 1; left < kWidth; left += count, ++count) {
            count = std::min(count, kWidth - left);
            const size_t at = size_t(row) * kWidth + size_t(left);
            float* depth = state.zTest ? &picture.depth[at] : nullptr;
            span(state, triangle, TSpan{row, left, count, &picture.color[at], depth});
        }
    return picture;
}

TEST(SpanKernel, EveryInstructionSetDrawsWhatTheOneLaneKernelDraws) {
    const TScreenVertex a = corner(-3, -2, 0.2f, 1.0f, -1.3f, 0.1f, 250, 0);
    const TScreenVertex b = corner(70, 1, 0.9f, 0.25f, 5.2f, -0.7f, 40, 90);
    const TScreenVertex c = corner(5, 15, 0.6f, 0.6f, 0.4f, 3.3f, 130, 30);
    for (int index = 0; index < 32; ++index) {
        const bool zTest = index & 1, bilinear = index & 2, key = index & 4;
        const bool constantDiffuse = index & 8, specular = index & 16;
        TPixelState state;
        state.texture = speckledTexture();
        state.zTest = state.zWrite = zTest;
        state.zFunc = D3DCMP_LESSEQUAL;
        state.bilinearMagnify = state.bilinearMinify = bilinear;
        state.colorKey = key;
        state.keyColor = 0;
        state.specular = specular;
        TCornerTraits traits;
        traits.constantDiffuse = constantDiffuse;
        traits.diffuse[0] = 200, traits.diffuse[1] = 100, traits.diffuse[2] = 50;
        traits.noSpecular = !specular;
        TRasterTriangle triangle;
        ASSERT_TRUE(SetupTriangle(a, b, c, 0, state, traits, triangle));

        const TPicture expected = draw(TInstructionSet::Scalar, state, triangle);
        const TPicture untouched = background();
        int drawn = 0;
        for (size_t i = 0; i < expected.color.size(); ++i) drawn += expected.color[i] != untouched.color[i];
        ASSERT_GT(drawn, 100) << "switches " << index;
        for (TInstructionSet set : {TInstructionSet::Sse2, TInstructionSet::Avx2}) {
            if (!Supports(set)) continue;
            ASSERT_NE(SelectSpanFunction(state, triangle, set),
                      SelectSpanFunction(state, triangle, TInstructionSet::Scalar));
            const TPicture got = draw(set, state, triangle);
            EXPECT_EQ(got.color, expected.color) << "set " << int(set) << ", switches " << index;
            EXPECT_EQ(got.depth, expected.depth) << "set " << int(set) << ", switches " << index;
        }
    }
}

}  // namespace
}  // namespace grottix::raster
