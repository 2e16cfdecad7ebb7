#pragma once
// The value types and numbers of the fixed-function 3D interface the engine draws through. The
// numbering follows Direct3D 7, so render-state, texture-stage and transform numbers written by the
// engine mean what they meant there.

#include <array>
#include <cstdint>
#include <optional>

namespace grottix {

// The pre-lit vertex (flexible vertex format 482): position, a reserved word, diffuse and specular
// colour as ARGB, one pair of texture coordinates. 32 bytes, as stored in world files.
struct TD3DLVertex {
    float x = 0, y = 0, z = 0;
    uint32_t dwReserved = 0;
    uint32_t color = 0;     // ARGB, alpha in the top byte
    uint32_t specular = 0;  // ARGB
    float tu = 0, tv = 0;
};
static_assert(sizeof(TD3DLVertex) == 32, "the pre-lit vertex is 32 bytes");

constexpr uint32_t D3DFVF_XYZ = 0x002;
constexpr uint32_t D3DFVF_RESERVED1 = 0x020;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr uint32_t D3DFVF_SPECULAR = 0x080;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t D3DFVF_LVERTEX = D3DFVF_XYZ | D3DFVF_RESERVED1 | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
static_assert(D3DFVF_LVERTEX == 482);

// Row-vector matrix: a point p becomes p * M; m[row][column], so m[3][0..2] is the translation and
// m[0][0] is what the engine calls m11.
struct TD3DMatrix {
    std::array<std::array<float, 4>, 4> m{};

    static TD3DMatrix Identity();
    static TD3DMatrix Diagonal(float m11, float m22, float m33, float m44);
    bool operator==(const TD3DMatrix&) const = default;
};
TD3DMatrix operator*(const TD3DMatrix& a, const TD3DMatrix& b);
// The matrix that undoes m (worked out in double precision); none when m is singular.
std::optional<TD3DMatrix> Inverse(const TD3DMatrix& m);

struct TD3DViewport7 {
    uint32_t dwX = 0, dwY = 0, dwWidth = 0, dwHeight = 0;
    float dvMinZ = 0, dvMaxZ = 1;
    bool operator==(const TD3DViewport7&) const = default;
};

struct TD3DColorValue {
    float r = 0, g = 0, b = 0, a = 0;
    bool operator==(const TD3DColorValue&) const = default;
};

struct TD3DMaterial7 {
    TD3DColorValue diffuse, ambient, specular, emissive;
    float power = 0;
    bool operator==(const TD3DMaterial7&) const = default;
};

// A screen rectangle [x1, x2) x [y1, y2).
struct TD3DRect {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const TD3DRect&) const = default;
};

enum TD3DRenderStateType : uint32_t {
    D3DRENDERSTATE_ZENABLE = 7,
    D3DRENDERSTATE_FILLMODE = 8,
    D3DRENDERSTATE_SHADEMODE = 9,
    D3DRENDERSTATE_ZWRITEENABLE = 14,
    D3DRENDERSTATE_SRCBLEND = 19,
    D3DRENDERSTATE_DESTBLEND = 20,
    D3DRENDERSTATE_CULLMODE = 22,
    D3DRENDERSTATE_ZFUNC = 23,
    D3DRENDERSTATE_ALPHABLENDENABLE = 27,
    D3DRENDERSTATE_SPECULARENABLE = 29,
    D3DRENDERSTATE_COLORKEYENABLE = 41,
    D3DRENDERSTATE_TEXTUREFACTOR = 60,
    D3DRENDERSTATE_LIGHTING = 137,
    D3DRENDERSTATE_AMBIENT = 139,
};
constexpr uint32_t kRenderStateCount = 256;

enum TD3DZBufferType : uint32_t { D3DZB_FALSE = 0, D3DZB_TRUE = 1 };
enum TD3DFillMode : uint32_t { D3DFILL_POINT = 1, D3DFILL_WIREFRAME = 2, D3DFILL_SOLID = 3 };
enum TD3DShadeMode : uint32_t { D3DSHADE_FLAT = 1, D3DSHADE_GOURAUD = 2 };
enum TD3DCull : uint32_t { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum TD3DCmpFunc : uint32_t {
    D3DCMP_NEVER = 1, D3DCMP_LESS, D3DCMP_EQUAL, D3DCMP_LESSEQUAL,
    D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS,
};
enum TD3DBlend : uint32_t {
    D3DBLEND_ZERO = 1, D3DBLEND_ONE, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCALPHA,
    D3DBLEND_INVSRCALPHA, D3DBLEND_DESTALPHA, D3DBLEND_INVDESTALPHA, D3DBLEND_DESTCOLOR,
    D3DBLEND_INVDESTCOLOR, D3DBLEND_SRCALPHASAT, D3DBLEND_BOTHSRCALPHA, D3DBLEND_BOTHINVSRCALPHA,
};

enum TD3DTextureStageStateType : uint32_t {
    D3DTSS_COLOROP = 1, D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1,
    D3DTSS_ALPHAARG2,
    D3DTSS_ADDRESS = 12, D3DTSS_ADDRESSU, D3DTSS_ADDRESSV,
    D3DTSS_MAGFILTER = 16, D3DTSS_MINFILTER, D3DTSS_MIPFILTER,
};
constexpr uint32_t kTextureStageStateCount = 32;
constexpr uint32_t kMaxTextureStages = 8;

enum TD3DTextureOp : uint32_t {
    D3DTOP_DISABLE = 1, D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, D3DTOP_MODULATE, D3DTOP_MODULATE2X,
    D3DTOP_MODULATE4X, D3DTOP_ADD,
};
// Texture-stage arguments; the low bits select, the high bits are modifiers this layer ignores.
enum TD3DTextureArg : uint32_t {
    D3DTA_DIFFUSE = 0, D3DTA_CURRENT = 1, D3DTA_TEXTURE = 2, D3DTA_TFACTOR = 3, D3DTA_SPECULAR = 4,
    D3DTA_SELECTMASK = 0x0F,
};
enum TD3DTextureMagFilter : uint32_t { D3DTFG_POINT = 1, D3DTFG_LINEAR = 2 };
enum TD3DTextureMinFilter : uint32_t { D3DTFN_POINT = 1, D3DTFN_LINEAR = 2 };
enum TD3DTextureAddress : uint32_t { D3DTADDRESS_WRAP = 1, D3DTADDRESS_MIRROR, D3DTADDRESS_CLAMP };

enum TD3DTransformStateType : uint32_t {
    D3DTRANSFORMSTATE_WORLD = 1, D3DTRANSFORMSTATE_VIEW = 2, D3DTRANSFORMSTATE_PROJECTION = 3,
};

enum TD3DPrimitiveType : uint32_t {
    D3DPT_POINTLIST = 1, D3DPT_LINELIST, D3DPT_LINESTRIP,
    D3DPT_TRIANGLELIST, D3DPT_TRIANGLESTRIP, D3DPT_TRIANGLEFAN,
};

constexpr uint32_t D3DCLEAR_TARGET = 1;
constexpr uint32_t D3DCLEAR_ZBUFFER = 2;
constexpr uint32_t D3DCLEAR_STENCIL = 4;

// Device colours are ARGB with alpha in the top byte.
constexpr uint32_t D3DRGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}
constexpr uint8_t ArgbAlpha(uint32_t c) { return uint8_t(c >> 24); }
constexpr uint8_t ArgbRed(uint32_t c) { return uint8_t(c >> 16); }
constexpr uint8_t ArgbGreen(uint32_t c) { return uint8_t(c >> 8); }
constexpr uint8_t ArgbBlue(uint32_t c) { return uint8_t(c); }

}  // namespace grottix
