// The CPU rasterizer at 640 x 480: a textured, depth-tested scene of 30,000 triangles (a corridor of
// tiled walls with 1,540 boxes in it, drawn by the engine's matrices in batches per texture), and the
// fill rate of full-screen layers. Target: at least 60 frames per second ("fps").
//
// Baseline, timed in the same run: a plain loop that copies texels of a 256 x 256 texture into the
// 640 x 480 frame with affine stepping, no depth and no perspective ("floor_fill"). "vs_floor" is a
// frame's cost in such plain full-frame fills; "fill_vs_floor" the rasterizer's pixel rate over the
// floor's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "device/DeviceScenes.h"
#include "device/DirectDrawSurface.h"
#include "device/SoftwareDevice.h"

namespace grottix {
namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kTriangles = 30000;
constexpr int kTextureCount = 8;

std::shared_ptr<TDirectDrawSurface> tileTexture(int index) {
    TBitmap bitmap(256, 256, TPixelFormat::pf24bit);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const bool line = (x % 64) < 3 || (y % 32) < 3;
            const int shade = 90 + ((x * 7 + y * 13 + index * 31) % 60);
            bitmap.SetPixel(x, y, line ? RGB(40, 40, 40) : RGB(uint8_t(shade + index * 10), uint8_t(shade), uint8_t(shade - index * 5)));
        }
    return TDirectDrawSurface::Create(bitmap);
}

struct TBenchScene {
    std::vector<std::shared_ptr<TDirectDrawSurface>> textures;
    std::vector<std::vector<TD3DLVertex>> batches;  // triangle lists, batch i on texture i % count
    int triangles = 0;
};

struct TSceneBuilder {
    std::vector<std::vector<TD3DLVertex>> perTexture = std::vector<std::vector<TD3DLVertex>>(kTextureCount);
    int quads = 0;
    uint32_t seed = 2024;

    uint32_t random() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    }
    float uniform(float low, float high) { return low + (high - low) * float(random() % 10000) / 10000.0f; }

    // A quad p0 p1 p2 p3 (p3 opposite p0) as two triangles, lit by a shade that falls with distance.
    void quad(int texture, const float p[4][3]) {
        static const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
        TD3DLVertex v[4];
        for (int i = 0; i < 4; ++i) {
            const uint8_t light = uint8_t(std::clamp(255.0f - p[i][2] * 2.5f, 60.0f, 255.0f));
            v[i] = {p[i][0], p[i][1], p[i][2], 0, D3DRGBA(light, light, light, 0), 0, uv[i][0], uv[i][1]};
        }
        auto& list = perTexture[size_t(texture % kTextureCount)];
        list.insert(list.end(), {v[0], v[1], v[2], v[1], v[3], v[2]});
        ++quads;
    }

    // Tiles of size 0.5 over a rectangle spanned from origin by axes a (na tiles) and b (nb tiles).
    void surface(const float origin[3], const float a[3], int na, const float b[3], int nb) {
        for (int i = 0; i < na; ++i)
            for (int j = 0; j < nb; ++j) {
                float p[4][3];
                for (int k = 0; k < 3; ++k) {
                    p[0][k] = origin[k] + a[k] * float(i) + b[k] * float(j);
                    p[1][k] = p[0][k] + a[k];
                    p[2][k] = p[0][k] + b[k];
                    p[3][k] = p[0][k] + a[k] + b[k];
                }
                quad(int(random()), p);
            }
    }

    void box(float x, float y, float z, float size) {
        const float h = size / 2;
        const float c[8][3] = {{x - h, y - h, z - h}, {x + h, y - h, z - h}, {x - h, y + h, z - h}, {x + h, y + h, z - h},
                               {x - h, y - h, z + h}, {x + h, y - h, z + h}, {x - h, y + h, z + h}, {x + h, y + h, z + h}};
        static const int faces[6][4] = {{2, 3, 0, 1}, {7, 6, 5, 4}, {6, 2, 4, 0}, {3, 7, 1, 5}, {6, 7, 2, 3}, {0, 1, 4, 5}};
        const int texture = int(random());
        for (const auto& face : faces) {
            const float p[4][3] = {{c[face[0]][0], c[face[0]][1], c[face[0]][2]}, {c[face[1]][0], c[face[1]][1], c[face[1]][2]},
                                   {c[face[2]][0], c[face[2]][1], c[face[2]][2]}, {c[face[3]][0], c[face[3]][1], c[face[3]][2]}};
            quad(texture, p);
        }
    }
};

const TBenchScene& scene() {
    static const TBenchScene built = [] {
        TSceneBuilder b;
        const float step = 0.5f;
        const float floorOrigin[3] = {-4, -2, 1}, ceilingOrigin[3] = {-4, 2, 1};
        const float leftOrigin[3] = {-4, -2, 1}, rightOrigin[3] = {4, -2, 1};
        const float alongX[3] = {step, 0, 0}, alongY[3] = {0, step, 0}, alongZ[3] = {0, 0, step};
        b.surface(floorOrigin, alongX, 16, alongZ, 120);
        b.surface(ceilingOrigin, alongX, 16, alongZ, 120);
        b.surface(leftOrigin, alongY, 8, alongZ, 120);
        b.surface(rightOrigin, alongY, 8, alongZ, 120);
        while ((b.quads + 6) * 2 <= kTriangles) b.box(b.uniform(-3.5f, 3.5f), b.uniform(-1.6f, 1.6f), b.uniform(3, 60), b.uniform(0.2f, 0.7f));
        TBenchScene s;
        for (int i = 0; i < kTextureCount; ++i) s.textures.push_back(tileTexture(i));
        // Batches of at most 1,500 triangles, as merged level polygons come.
        for (int t = 0; t < kTextureCount; ++t) {
            const auto& list = b.perTexture[size_t(t)];
            for (size_t first = 0; first < list.size(); first += 4500)
                s.batches.emplace_back(list.begin() + long(first), list.begin() + long(std::min(list.size(), first + 4500)));
        }
        s.triangles = b.quads * 2;
        return s;
    }();
    return built;
}

void prepare(TSoftwareDevice& device, uint32_t filter) {
    test::PrepareEngine(device, 0.5f);
    device.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    device.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1);
}

void drawFrame(TSoftwareDevice& device, const TBenchScene& s, std::vector<uint32_t>& presented) {
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
    device.BeginScene();
    for (size_t i = 0; i < s.batches.size(); ++i) {
        device.SetTexture(0, s.textures[i % s.textures.size()].get());
        const auto& batch = s.batches[i];
        device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, batch.data(), uint32_t(batch.size()), 0);
    }
    device.EndScene();
    device.ReadBackBuffer(presented.data());
}

// ---- the floor: a plain textured copy of the whole frame ----

void floorFill(const TTexelImage& texture, std::vector<uint32_t>& frame) {
    const float du = 1.0f / kWidth, dv = 1.0f / kHeight;
    for (int y = 0; y < kHeight; ++y) {
        const int ty = int(float(y) * dv * 256) & 255;
        const uint32_t* row = texture.texels.data() + ty * 256;
        uint32_t* out = frame.data() + size_t(y) * kWidth;
        float u = 0;
        for (int x = 0; x < kWidth; ++x, u += du) out[x] = row[int(u * 256) & 255];
    }
}

// Seconds per plain full-frame fill, timed once per run.
double floorSeconds() {
    static const double seconds = [] {
        const auto texture = tileTexture(0);
        std::vector<uint32_t> frame(size_t(kWidth) * kHeight);
        floorFill(*texture->Image(), frame);
        const int rounds = 200;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            floorFill(*texture->Image(), frame);
            benchmark::DoNotOptimize(frame.data());
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    }();
    return seconds;
}

void BM_FloorFill(benchmark::State& state) {
    const auto texture = tileTexture(0);
    std::vector<uint32_t> frame(size_t(kWidth) * kHeight);
    for (auto _ : state) {
        floorFill(*texture->Image(), frame);
        benchmark::DoNotOptimize(frame.data());
    }
    state.counters["Mpixels_per_s"] = benchmark::Counter(double(kWidth) * kHeight * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FloorFill)->Unit(benchmark::kMillisecond);

// range(0): texture filter (1 point, 2 bilinear); range(1): workers (0 = one per hardware thread).
void BM_SceneFrame(benchmark::State& state) {
    const TBenchScene& s = scene();
    TSoftwareDevice device({kWidth, kHeight, 32, true}, int(state.range(1)));
    prepare(device, uint32_t(state.range(0)));
    std::vector<uint32_t> presented(size_t(kWidth) * kHeight);
    drawFrame(device, s, presented);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) drawFrame(device, s, presented);
    const double frameSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / double(state.iterations());
    state.counters["fps"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["triangles"] = s.triangles;
    state.counters["vs_floor"] = frameSeconds / floorSeconds();
    state.SetLabel(state.range(0) == 1 ? "point filter" : "bilinear filter");
}
BENCHMARK(BM_SceneFrame)->ArgsProduct({{1, 2}, {0, 1}})->ArgNames({"filter", "workers"})->Unit(benchmark::kMillisecond)->UseRealTime();

// Eight full-screen textured layers, each nearer than the last, so every pixel passes the depth test.
void BM_FillRate(benchmark::State& state) {
    TSoftwareDevice device({kWidth, kHeight, 32, true}, int(state.range(0)));
    prepare(device, D3DTFG_POINT);
    const auto texture = tileTexture(3);
    device.SetTexture(0, texture.get());
    constexpr int kLayers = 8;
    std::vector<TD3DLVertex> layers;
    for (int i = 0; i < kLayers; ++i) {
        const float z = 1.5f - 0.1f * float(i);
        for (const auto& corner : {std::pair(-1.4f, 1.4f), std::pair(1.4f, 1.4f), std::pair(-1.4f, -1.4f), std::pair(1.4f, 1.4f),
                                   std::pair(1.4f, -1.4f), std::pair(-1.4f, -1.4f)})
            layers.push_back({corner.first * z, corner.second * z, z, 0, 0xFFFFFFFF, 0, corner.first, corner.second});
    }
    std::vector<uint32_t> presented(size_t(kWidth) * kHeight);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1, 0);
        device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, layers.data(), uint32_t(layers.size()), 0);
        device.ReadBackBuffer(presented.data());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double pixels = double(kWidth) * kHeight * kLayers;
    state.counters["Mpixels_per_s"] = benchmark::Counter(pixels * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["fill_vs_floor"] = (pixels * double(state.iterations()) / seconds) / (kWidth * kHeight / floorSeconds());
}
BENCHMARK(BM_FillRate)->Arg(0)->Arg(1)->ArgName("workers")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace grottix
