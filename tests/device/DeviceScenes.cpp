#include "device/DeviceScenes.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace grottix::test {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

TD3DMatrix engineProjection() {
    TD3DMatrix m;
    m.m[0][0] = m.m[1][1] = m.m[2][2] = 1;
    m.m[2][3] = 1;
    m.m[3][2] = -1;
    return m;
}

// The bound texture over the whole surface, its coordinates shifted by offset.
void texturedQuad(TD3DDevice& d, int w, int h, float offset) {
    const float o = offset;
    DrawQuad(d, PixelVertex(0, 0, 0.5f, kWhite, o, o, w, h), PixelVertex(float(w), 0, 0.5f, kWhite, 1 + o, o, w, h),
             PixelVertex(0, float(h), 0.5f, kWhite, o, 1 + o, w, h), PixelVertex(float(w), float(h), 0.5f, kWhite, 1 + o, 1 + o, w, h));
}

void drawKeyed(TD3DDevice& d, int w, int h, bool colorKey) {
    PrepareFlat(d, D3DRGBA(200, 0, 0, 0));
    auto texture = HoledTexture(8, RGB(0, 200, 0));
    texture->SetColorKey(RGB(0, 0, 0));
    d.SetTexture(0, texture.get());
    d.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, colorKey);
    texturedQuad(d, w, h, 0.5f / float(w));
}

// A grey quad drawn over a background of stripes with the given blend factors.
void drawBlended(TD3DDevice& d, int w, int h, uint32_t source, uint32_t destination) {
    PrepareFlat(d, D3DRGBA(40, 120, 200, 0));
    d.SetTexture(0, nullptr);
    const uint32_t stripe = D3DRGBA(250, 250, 20, 0);
    DrawQuad(d, PixelVertex(0, 0, 0.9f, stripe, 0, 0, w, h), PixelVertex(float(w) / 2, 0, 0.9f, stripe, 0, 0, w, h),
             PixelVertex(0, float(h), 0.9f, stripe, 0, 0, w, h), PixelVertex(float(w) / 2, float(h), 0.9f, stripe, 0, 0, w, h));
    d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    d.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    d.SetRenderState(D3DRENDERSTATE_SRCBLEND, source);
    d.SetRenderState(D3DRENDERSTATE_DESTBLEND, destination);
    const uint32_t grey = D3DRGBA(100, 160, 60, 128);
    DrawQuad(d, PixelVertex(8, 8, 0.5f, grey, 0, 0, w, h), PixelVertex(float(w) - 8, 8, 0.5f, grey, 0, 0, w, h),
             PixelVertex(8, float(h) - 8, 0.5f, grey, 0, 0, w, h), PixelVertex(float(w) - 8, float(h) - 8, 0.5f, grey, 0, 0, w, h));
    d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
}

// Left: a triangle clockwise on screen; right: one counter-clockwise.
void drawWindings(TD3DDevice& d, int w, int h, uint32_t cullMode) {
    PrepareFlat(d);
    d.SetTexture(0, nullptr);
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, cullMode);
    const TD3DLVertex clockwise[3] = {PixelVertex(4, 8, 0.5f, 0xFFFF0000, 0, 0, w, h),
                                      PixelVertex(28, 8, 0.5f, 0xFFFF0000, 0, 0, w, h),
                                      PixelVertex(4, 56, 0.5f, 0xFFFF0000, 0, 0, w, h)};
    const TD3DLVertex counterClockwise[3] = {PixelVertex(36, 8, 0.5f, 0xFF00FF00, 0, 0, w, h),
                                             PixelVertex(36, 56, 0.5f, 0xFF00FF00, 0, 0, w, h),
                                             PixelVertex(60, 8, 0.5f, 0xFF00FF00, 0, 0, w, h)};
    d.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, clockwise, 3, 0);
    d.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, counterClockwise, 3, 0);
}

void drawFilled(TD3DDevice& d, int w, int h, uint32_t fillMode) {
    PrepareFlat(d);
    d.SetTexture(0, nullptr);
    d.SetRenderState(D3DRENDERSTATE_FILLMODE, fillMode);
    const TD3DLVertex triangle[3] = {PixelVertex(10.3f, 6.6f, 0.5f, 0xFFFFFFFF, 0, 0, w, h),
                                     PixelVertex(55.2f, 20.1f, 0.5f, 0xFFFFFFFF, 0, 0, w, h),
                                     PixelVertex(20.7f, 57.4f, 0.5f, 0xFFFFFFFF, 0, 0, w, h)};
    d.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, triangle, 3, 0);
}

// A 4 x 4 checker stretched over the whole surface; point sampling shifted half a pixel so that no
// pixel centre falls exactly on a texel border, where the last bit of rounding would decide.
void drawFiltered(TD3DDevice& d, int w, int h, uint32_t filter) {
    PrepareFlat(d);
    auto texture = CheckerTexture(4, 1, RGB(255, 255, 255), RGB(0, 0, 255));
    d.SetTexture(0, texture.get());
    d.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    d.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    texturedQuad(d, w, h, filter == D3DTFG_POINT ? 0.5f / float(w) : 0);
}

void solidRect(TD3DDevice& d, int w, int h, float x0, float y0, float x1, float y1, float z, uint32_t color) {
    DrawQuad(d, PixelVertex(x0, y0, z, color, 0, 0, w, h), PixelVertex(x1, y0, z, color, 0, 0, w, h),
             PixelVertex(x0, y1, z, color, 0, 0, w, h), PixelVertex(x1, y1, z, color, 0, 0, w, h));
}

// Left half: near red first, then far green. Right half: far green first, then near red. Middle
// strip: blue at exactly the depth of the red drawn after it.
void drawDepthOrder(TD3DDevice& d, int w, int h) {
    PrepareFlat(d);
    d.SetTexture(0, nullptr);
    solidRect(d, w, h, 0, 0, 32, 64, 0.3f, 0xFFFF0000);
    solidRect(d, w, h, 0, 0, 32, 64, 0.6f, 0xFF00FF00);
    solidRect(d, w, h, 32, 0, 64, 64, 0.6f, 0xFF00FF00);
    solidRect(d, w, h, 32, 0, 64, 64, 0.3f, 0xFFFF0000);
    solidRect(d, w, h, 0, 24, 64, 40, 0.3f, 0xFF0000FF);
    solidRect(d, w, h, 0, 28, 64, 36, 0.3f, 0xFFFFFF00);
}

// A floor from behind the eye to far ahead, seen by the engine's matrices with near distance 0.5.
void drawNearPlane(TD3DDevice& d, int w, int h) {
    (void)w;
    (void)h;
    PrepareEngine(d, 0.5f);
    auto texture = CheckerTexture(8, 1, RGB(255, 255, 255), RGB(255, 60, 0));
    d.SetTexture(0, texture.get());
    DrawQuad(d, {-4.03f, -1, 11.7f, 0, kWhite, 0, 0.03f, 0.01f}, {3.97f, -1, 11.7f, 0, kWhite, 0, 4.03f, 0.01f},
             {-4.03f, -1, -6, 0, kWhite, 0, 0.03f, 9.01f}, {3.97f, -1, -6, 0, kWhite, 0, 4.03f, 9.01f});
}

// A fan of triangles around a centre and a grid of cells, all sharing edges, added up with
// ONE/ONE blending: every covered pixel must come out at exactly one triangle's colour.
void drawSharedEdges(TD3DDevice& d, int w, int h) {
    PrepareFlat(d);
    d.SetTexture(0, nullptr);
    d.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    d.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    d.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    std::vector<TD3DLVertex> fan;
    const uint32_t color = D3DRGBA(60, 60, 60, 0);
    fan.push_back(PixelVertex(38.37f, 38.11f, 0.5f, color, 0, 0, w, h));
    for (int i = 0; i <= 13; ++i) {
        const double angle = 2 * M_PI * (i % 13) / 13.0;
        fan.push_back(PixelVertex(float(38.37 + 23.3 * std::cos(angle)), float(38.11 + 22.9 * std::sin(angle)), 0.5f, color, 0,
                                  0, w, h));
    }
    d.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_LVERTEX, fan.data(), uint32_t(fan.size()), 0);
    // A grid of 5 x 5 cells on whole coordinates, as one list: its edges run through pixel centres.
    std::vector<TD3DLVertex> grid;
    for (int cy = 0; cy < 3; ++cy)
        for (int cx = 0; cx < 3; ++cx) {
            auto corner = [&](int x, int y) { return PixelVertex(2.0f + 5.0f * float(x), 2.0f + 5.0f * float(y), 0.5f, color, 0, 0, w, h); };
            const TD3DLVertex a = corner(cx, cy), b = corner(cx + 1, cy), c = corner(cx, cy + 1), e = corner(cx + 1, cy + 1);
            grid.insert(grid.end(), {a, b, c, b, e, c});
        }
    d.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, grid.data(), uint32_t(grid.size()), 0);
}

// A checker floor seen at a slant: only a perspective-correct mapping keeps its cells square.
void drawPerspective(TD3DDevice& d, int w, int h) {
    (void)w;
    (void)h;
    PrepareEngine(d, 0.5f);
    auto texture = CheckerTexture(16, 2, RGB(250, 250, 250), RGB(10, 10, 120));
    d.SetTexture(0, texture.get());
    const uint32_t shaded[4] = {0xFFFFFFFF, 0xFF808080, 0xFFFF8080, 0xFF80FF80};
    DrawQuad(d, {-3.01f, -1, 8.01f, 0, shaded[0], 0, 0, 0}, {3.01f, -1, 8.01f, 0, shaded[1], 0, 3, 0},
             {-3.01f, -1, 1, 0, shaded[2], 0, 0, 3}, {3.01f, -1, 1, 0, shaded[3], 0x00303030, 3, 3});
}

void drawSpecular(TD3DDevice& d, int w, int h) {
    PrepareFlat(d);
    auto texture = CheckerTexture(2, 1, RGB(200, 100, 50), RGB(100, 200, 50));
    d.SetTexture(0, texture.get());
    d.SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 1);
    const float o = 0.5f / float(w);
    TD3DLVertex tl = PixelVertex(0, 0, 0.5f, 0xFF808080, o, o, w, h), tr = PixelVertex(float(w), 0, 0.5f, 0xFFFFFFFF, 1 + o, o, w, h);
    TD3DLVertex bl = PixelVertex(0, float(h), 0.5f, 0xFFFFFFFF, o, 1 + o, w, h),
                br = PixelVertex(float(w), float(h), 0.5f, 0xFF404040, 1 + o, 1 + o, w, h);
    tl.specular = 0x00000000;
    tr.specular = 0x00FF0000;
    bl.specular = 0x00000080;
    br.specular = 0x00606060;
    DrawQuad(d, tl, tr, bl, br);
}

// Corner colours of 250 keep every interpolated value off the exact middle of two 5:6:5 steps.
void drawGradient(TD3DDevice& d, int w, int h) {
    PrepareFlat(d, D3DRGBA(13, 77, 201, 0));
    d.SetTexture(0, nullptr);
    DrawQuad(d, PixelVertex(4, 4, 0.5f, 0xFF000000, 0, 0, w, h), PixelVertex(float(w) - 4, 4, 0.5f, 0xFFFA0000, 0, 0, w, h),
             PixelVertex(4, float(h) - 4, 0.5f, 0xFF00FA00, 0, 0, w, h),
             PixelVertex(float(w) - 4, float(h) - 4, 0.5f, 0xFF0000FA, 0, 0, w, h));
}

// A viewport in the lower right quarter: a clear and a quad over all of clip space stay inside it.
void drawViewport(TD3DDevice& d, int w, int h) {
    PrepareFlat(d, D3DRGBA(0, 0, 80, 0));
    d.SetViewport({uint32_t(w / 2), uint32_t(h / 2), uint32_t(w / 2), uint32_t(h / 4), 0, 1});
    d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DRGBA(90, 90, 0, 0), 1, 0);
    d.SetTexture(0, nullptr);
    const TD3DLVertex all[4] = {{-0.5f, 0.5f, 0.5f, 0, 0xFFFF00FF, 0, 0, 0}, {0.5f, 0.5f, 0.5f, 0, 0xFFFF00FF, 0, 0, 0},
                                {-0.5f, -0.5f, 0.5f, 0, 0xFFFF00FF, 0, 0, 0}, {0.5f, -0.5f, 0.5f, 0, 0xFFFF00FF, 0, 0, 0}};
    d.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, all, 4, 0);
}

// Texture coordinates beyond 0..1 and below 0 wrap; a strip and a fan on one texture.
void drawWrapping(TD3DDevice& d, int w, int h) {
    PrepareFlat(d);
    auto texture = CheckerTexture(8, 2, RGB(255, 255, 0), RGB(0, 128, 255));
    d.SetTexture(0, texture.get());
    DrawQuad(d, PixelVertex(0, 0, 0.5f, kWhite, -1.25f, -0.5f, w, h), PixelVertex(32, 0, 0.5f, kWhite, 1.75f, -0.5f, w, h),
             PixelVertex(0, 32, 0.5f, kWhite, -1.25f, 2.5f, w, h), PixelVertex(32, 32, 0.5f, kWhite, 1.75f, 2.5f, w, h));
    const TD3DLVertex fan[4] = {PixelVertex(48, 48, 0.5f, kWhite, 0.5f, 0.5f, w, h), PixelVertex(34, 34, 0.5f, kWhite, -3, -3, w, h),
                                PixelVertex(62, 34, 0.5f, kWhite, 4, -3, w, h), PixelVertex(62, 62, 0.5f, kWhite, 4, 4, w, h)};
    d.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_LVERTEX, fan, 4, 0);
}

// Lighting left on with no lights: vertices take ambient x material ambient.
void drawLit(TD3DDevice& d, int w, int h) {
    PrepareFlat(d);
    d.SetRenderState(D3DRENDERSTATE_LIGHTING, 1);
    d.SetRenderState(D3DRENDERSTATE_AMBIENT, D3DRGBA(200, 100, 50, 255));
    TD3DMaterial7 material;
    material.ambient = {1, 0.5f, 1, 1};
    material.emissive = {0, 0.25f, 0, 0};
    d.SetMaterial(material);
    d.SetTexture(0, nullptr);
    solidRect(d, w, h, 10, 10, 54, 54, 0.5f, 0xFF0000FF);
}

// The sky strip of the viewer: an ellipsoid around the eye, black keyed texture, then a floor.
void drawEngineFrame(TD3DDevice& d, int w, int h) {
    (void)w;
    (void)h;
    PrepareEngine(d, 0.5f, D3DRGBA(0, 0, 0, 0));
    TD3DMatrix view = d.GetTransform(D3DTRANSFORMSTATE_VIEW);
    const float pitch = -0.3f;
    TD3DMatrix tilt = TD3DMatrix::Identity();
    tilt.m[1][1] = std::cos(pitch);
    tilt.m[1][2] = std::sin(pitch);
    tilt.m[2][1] = -std::sin(pitch);
    tilt.m[2][2] = std::cos(pitch);
    TD3DMatrix tilted = tilt * view;
    tilted.m[3][3] = 0.5f;
    d.SetTransform(D3DTRANSFORMSTATE_VIEW, tilted);
    TD3DMatrix world = TD3DMatrix::Identity();
    world.m[3][1] = -3;
    d.SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    auto floor = CheckerTexture(16, 4, RGB(192, 192, 192), RGB(90, 60, 30));
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    d.SetTexture(0, floor.get());
    DrawQuad(d, {-40, -1, 40, 0, 0xFFC0C0C0, 0, 0, 0}, {40, -1, 40, 0, 0xFFC0C0C0, 0, 20, 0},
             {-40, -1, -40, 0, 0xFFC0C0C0, 0, 0, 20}, {40, -1, -40, 0, 0xFFC0C0C0, 0, 20, 20});
    auto sky = HoledTexture(16, RGB(120, 170, 220));
    sky->SetColorKey(RGB(0, 0, 0));
    d.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1);
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d.SetTexture(0, sky.get());
    std::vector<TD3DLVertex> strip;
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 16; ++j)
            for (int ring : {i, i + 1}) {
                const double polar = M_PI / 10 * ring, azimuth = 2 * M_PI / 15 * j;
                const float radius = float(100 * std::sin(polar));
                strip.push_back({float(radius * std::sin(azimuth)), float(20 + 50 * std::cos(polar)),
                                 float(radius * std::cos(azimuth)), 0, 0x00FFFFFF, 0, float(-2.0 * j / 15), float(ring / 10.0)});
            }
    d.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, strip.data(), uint32_t(strip.size()), 0);
}

std::vector<TDeviceScene> makeScenes() {
    return {
        {"ColorKeyOn", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawKeyed(d, w, h, true); }},
        {"ColorKeyOff", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawKeyed(d, w, h, false); }},
        {"BlendInvSrcColorSrcColor", 64, 64, 32,
         [](TD3DDevice& d, int w, int h) { drawBlended(d, w, h, D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCCOLOR); }},
        {"BlendInvDestColorInvSrcColor", 64, 64, 32,
         [](TD3DDevice& d, int w, int h) { drawBlended(d, w, h, D3DBLEND_INVDESTCOLOR, D3DBLEND_INVSRCCOLOR); }},
        {"BlendSrcAlphaInvSrcAlpha", 64, 64, 32,
         [](TD3DDevice& d, int w, int h) { drawBlended(d, w, h, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA); }},
        {"BlendOneOne", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawBlended(d, w, h, D3DBLEND_ONE, D3DBLEND_ONE); }},
        {"BlendDestColorZero", 64, 64, 32,
         [](TD3DDevice& d, int w, int h) { drawBlended(d, w, h, D3DBLEND_DESTCOLOR, D3DBLEND_ZERO); }},
        {"CullNone", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawWindings(d, w, h, D3DCULL_NONE); }},
        {"CullClockwise", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawWindings(d, w, h, D3DCULL_CW); }},
        {"CullCounterClockwise", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawWindings(d, w, h, D3DCULL_CCW); }},
        {"FillSolid", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawFilled(d, w, h, D3DFILL_SOLID); }},
        {"FillWireframe", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawFilled(d, w, h, D3DFILL_WIREFRAME); }},
        {"FillPoint", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawFilled(d, w, h, D3DFILL_POINT); }},
        {"FilterPoint", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawFiltered(d, w, h, D3DTFG_POINT); }},
        {"FilterBilinear", 64, 64, 32, [](TD3DDevice& d, int w, int h) { drawFiltered(d, w, h, D3DTFG_LINEAR); }},
        {"DepthOrder", 64, 64, 32, drawDepthOrder},
        {"NearPlaneClipping", 96, 72, 32, drawNearPlane},
        {"SharedEdges", 64, 64, 32, drawSharedEdges},
        {"PerspectiveTexture", 96, 72, 32, drawPerspective},
        {"Specular", 64, 64, 32, drawSpecular},
        {"Gradient32Bit", 64, 64, 32, drawGradient},
        {"Gradient16Bit", 64, 64, 16, drawGradient},
        {"Viewport", 64, 64, 32, drawViewport},
        {"Wrapping", 64, 64, 32, drawWrapping},
        {"LightingWithoutLights", 64, 64, 32, drawLit},
        {"EngineFrame", 128, 96, 32, drawEngineFrame},
    };
}

}  // namespace

const std::vector<TDeviceScene>& AllScenes() {
    static const std::vector<TDeviceScene> scenes = makeScenes();
    return scenes;
}

const TDeviceScene& SceneNamed(const std::string& name) {
    for (const TDeviceScene& scene : AllScenes())
        if (scene.name == name) return scene;
    throw std::out_of_range("no scene " + name);
}

TD3DLVertex PixelVertex(float x, float y, float z, uint32_t color, float u, float v, int width, int height) {
    return TD3DLVertex{x / (float(width) / 2) - 1, 1 - y / (float(height) / 2), z, 0, color, 0, u, v};
}

void PrepareFlat(TD3DDevice& d, uint32_t background) {
    for (auto type : {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION})
        d.SetTransform(type, TD3DMatrix::Identity());
    d.SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1, 0);
}

void PrepareEngine(TD3DDevice& d, float nearDistance, uint32_t background) {
    TD3DMaterial7 material;
    material.diffuse = {1, 1, 1, 0};
    material.ambient = {1, 1, 1, 1};
    d.SetMaterial(material);
    d.SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFFFFFFFF);
    d.SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 1);
    d.SetTransform(D3DTRANSFORMSTATE_PROJECTION, engineProjection());
    d.SetTransform(D3DTRANSFORMSTATE_VIEW, TD3DMatrix::Diagonal(0.75f, 1, 1, nearDistance));
    d.SetTransform(D3DTRANSFORMSTATE_WORLD, TD3DMatrix::Identity());
    d.SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
    d.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1, 0);
}

void DrawQuad(TD3DDevice& d, const TD3DLVertex& topLeft, const TD3DLVertex& topRight, const TD3DLVertex& bottomLeft,
              const TD3DLVertex& bottomRight) {
    const TD3DLVertex strip[4] = {topLeft, topRight, bottomLeft, bottomRight};
    d.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, strip, 4, 0);
}

std::shared_ptr<TDirectDrawSurface> CheckerTexture(int size, int cell, TColor a, TColor b) {
    TBitmap bitmap(size, size, TPixelFormat::pf24bit);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) bitmap.SetPixel(x, y, ((x / cell + y / cell) % 2) ? b : a);
    return TDirectDrawSurface::Create(bitmap);
}

std::shared_ptr<TDirectDrawSurface> HoledTexture(int size, TColor color) {
    TBitmap bitmap(size, size, TPixelFormat::pf24bit);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool hole = x >= size / 4 && x < size * 3 / 4 && y >= size / 4 && y < size * 3 / 4;
            bitmap.SetPixel(x, y, hole ? RGB(0, 0, 0) : color);
        }
    return TDirectDrawSurface::Create(bitmap);
}

int CountDifferences(const TImage& a, const TImage& b, int tolerance) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
    int count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift : {0, 8, 16})
            if (std::abs(int((a.pixels[i] >> shift) & 0xFF) - int((b.pixels[i] >> shift) & 0xFF)) > tolerance) {
                ++count;
                break;
            }
    return count;
}

std::string DescribeDifferences(const TImage& a, const TImage& b, int tolerance, int maxListed) {
    std::ostringstream out;
    int listed = 0;
    for (int y = 0; y < a.height && listed < maxListed; ++y)
        for (int x = 0; x < a.width && listed < maxListed; ++x) {
            const uint32_t p = a.At(x, y), q = b.At(x, y);
            for (int shift : {0, 8, 16})
                if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > tolerance) {
                    out << "(" << x << "," << y << ") " << std::hex << (p & 0xFFFFFF) << " vs " << (q & 0xFFFFFF) << std::dec
                        << "; ";
                    ++listed;
                    break;
                }
        }
    return out.str();
}

}  // namespace grottix::test
