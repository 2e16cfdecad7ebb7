#pragma once
// Data handed between the stages of the CPU rasterizer: vertices in clip space, vertices on screen,
// the per-draw state snapshot, and the queued work of one frame (triangles, lines, points, clears).

#include <cstdint>
#include <memory>
#include <vector>

#include "device/D3DTypes.h"
#include "device/DirectDrawSurface.h"

namespace grottix::raster {

// Interpolated vertex attributes: diffuse and specular colour (0..255) and texture coordinates.
enum TAttribute { kDiffuseR, kDiffuseG, kDiffuseB, kDiffuseA, kSpecularR, kSpecularG, kSpecularB, kTexU, kTexV };
constexpr int kAttributeCount = 9;

struct TClipVertex {
    float x, y, z, w;
    float attr[kAttributeCount];
};

// A vertex after the perspective divide: pixel position (pixel centres at whole numbers), depth in
// the viewport's range, q = 1 / w, and every attribute multiplied by q so that it interpolates
// linearly across the screen.
struct TScreenVertex {
    float x, y, z, q;
    float attrQ[kAttributeCount];
};

// What vertex processing needs of one draw.
struct TVertexState {
    TD3DMatrix transform;  // world * view * projection
    bool lighting = false;
    float litColor[4] = {};  // the vertex colour while lighting is on (no lights: ambient and emissive)
    uint32_t cullMode = 0;
    uint32_t fillMode = 0;
    // Viewport mapping and the pixels a draw may touch.
    float viewX = 0, viewY = 0, halfWidth = 0, halfHeight = 0, minZ = 0, depthScale = 1;
    int scissorLeft = 0, scissorTop = 0, scissorRight = 0, scissorBottom = 0;
};

// What the pixel stage needs of one draw. Holds the texture pixels alive until the frame is drawn.
struct TPixelState {
    bool zTest = false;
    bool zWrite = false;
    uint32_t zFunc = 0;

    std::shared_ptr<const TTexelImage> texture;  // none: the texture argument is opaque white
    bool bilinearMagnify = false;
    bool bilinearMinify = false;
    bool colorKey = false;  // keyed texels are not drawn
    uint32_t keyColor = 0;  // 0x00RRGGBB

    bool standardModulate = true;  // texture x diffuse, alpha of the texture
    uint32_t colorOp = 0, colorArg1 = 0, colorArg2 = 0, alphaOp = 0, alphaArg1 = 0, alphaArg2 = 0;
    uint32_t textureFactor = 0;
    bool specular = false;

    bool blend = false;
    uint32_t srcBlend = 0, destBlend = 0;
    bool quantize565 = false;  // a 16-bit back buffer
};

struct TDrawState {
    TVertexState vertex;
    TPixelState pixel;
};

// A gradient plane: value at the reference point and its change per pixel in x and y.
struct TPlane {
    float base, dx, dy;
};

struct TRasterTriangle {
    float x[3], y[3];  // sorted by y, then x
    TPlane z, q;
    TPlane attrQ[kAttributeCount];
    uint32_t state;
    bool longEdgeLeft;
    bool bilinear;  // filter chosen for this triangle (magnify or minify)
    // Shortcuts for the pixel stage: one diffuse colour at every corner (then in constantDiffuse),
    // and no specular colour at any corner.
    bool hasConstantDiffuse;
    bool noSpecular;
    uint8_t constantDiffuse[4];
};

struct TRasterLine {
    TScreenVertex a, b;
    uint32_t state;
};

struct TRasterPoint {
    TScreenVertex v;
    uint32_t state;
};

struct TRasterClear {
    int left, top, right, bottom;
    uint32_t flags;
    uint32_t color;
    float z;
};

enum class TItemKind : uint8_t { Triangle, Line, Point, Clear };
struct TRasterItem {
    TItemKind kind;
    uint32_t index;
};

// The drawable work produced by one vertex-processing chunk, in drawing order, and for every band
// of rows the items that reach into it.
struct TRasterQueue {
    std::vector<TRasterItem> items;
    std::vector<TRasterTriangle> triangles;
    std::vector<TRasterLine> lines;
    std::vector<TRasterPoint> points;
    std::vector<TRasterClear> clears;
    std::vector<std::vector<uint32_t>> bands;  // item indices per band

    void clear(size_t bandCount) {
        items.clear();
        triangles.clear();
        lines.clear();
        points.clear();
        clears.clear();
        bands.resize(bandCount);
        for (auto& band : bands) band.clear();
    }
};

// A band of rows [begin, end): the unit of work of the pixel stage. Workers take bands one after
// another, so a worker slowed down by another program holds up no more than its band.
struct TRowBand {
    static constexpr int kRows = 16;
    int begin = 0;
    int end = 0;

    bool Owns(int row) const { return row >= begin && row < end; }
};

}  // namespace grottix::raster
