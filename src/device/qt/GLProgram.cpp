#include "device/qt/GLProgram.h"

#include <string>

#include "device/CustomDXDraw.h"
#include "device/DirectDrawSurface.h"
#include "device/raster/DrawState.h"

namespace grottix {

namespace {

// Direct3D keeps z in [0, w], puts pixel centres on whole coordinates and counts rows downwards; the
// surface is drawn with row 0 at the bottom of the framebuffer, so a read-back returns rows top first.
const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 diffuse;
layout(location = 2) in vec4 specular;
layout(location = 3) in vec2 texcoord;
uniform mat4 transform;
uniform vec2 pixelShift;
uniform bool lighting;
uniform vec4 litColor;
out vec4 vDiffuse;
out vec4 vSpecular;
out vec2 vTexcoord;
void main() {
    vec4 c = transform * vec4(position, 1.0);
    gl_Position = vec4(c.x + c.w * pixelShift.x, -c.y + c.w * pixelShift.y, 2.0 * c.z - c.w, c.w);
    vDiffuse = lighting ? litColor : diffuse;
    vSpecular = lighting ? vec4(0.0) : specular;
    vTexcoord = texcoord;
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec4 vDiffuse;
in vec4 vSpecular;
in vec2 vTexcoord;
out vec4 fragColor;
uniform sampler2D tex;
uniform bool hasTexture;
uniform ivec2 textureSize;
uniform bool magnifyLinear;
uniform bool minifyLinear;
uniform bool colorKey;
uniform ivec3 keyColor;
uniform int colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
uniform vec4 textureFactor;
uniform bool specularEnable;
uniform bool quantize565;

int wrap(int p, int size) {
    int r = p - size * int(floor(float(p) / float(size)));
    return r < 0 ? r + size : (r >= size ? r - size : r);
}
vec4 texel(ivec2 p) { return texelFetch(tex, ivec2(wrap(p.x, textureSize.x), wrap(p.y, textureSize.y)), 0); }
bool keyed(vec4 t) { return colorKey && ivec3(round(t.rgb * 255.0)) == keyColor; }
ivec2 floorClamped(vec2 v) { return ivec2(floor(clamp(v, -1e9, 1e9))); }

bool sampleTexture(out vec4 result) {
    vec2 size = vec2(textureSize);
    vec2 st = vTexcoord * size;
    float rho = max(length(dFdx(st)), length(dFdy(st)));
    bool linear = rho > 1.0 ? minifyLinear : magnifyLinear;
    if (!linear) {
        result = texel(floorClamped(st));
        return !keyed(result);
    }
    vec2 f = st - 0.5;
    ivec2 p = floorClamped(f);
    vec2 a = clamp(f - vec2(p), 0.0, 1.0);
    vec4 t[4] = vec4[4](texel(p), texel(p + ivec2(1, 0)), texel(p + ivec2(0, 1)), texel(p + ivec2(1, 1)));
    float w[4] = float[4]((1.0 - a.x) * (1.0 - a.y), a.x * (1.0 - a.y), (1.0 - a.x) * a.y, a.x * a.y);
    float total = 0.0;
    vec4 sum = vec4(0.0);
    for (int i = 0; i < 4; ++i) {
        if (keyed(t[i])) w[i] = 0.0;
        total += w[i];
        sum += w[i] * t[i];
    }
    if (total < 0.5) return false;
    result = sum / total;
    return true;
}

vec4 argument(int arg, vec4 t) {
    int select = arg & 15;
    if (select == 2) return t;
    if (select == 3) return textureFactor;
    if (select == 4) return vec4(vSpecular.rgb, 1.0);
    return vDiffuse;
}
vec4 operate(int op, vec4 a1, vec4 a2) {
    if (op == 1) return vDiffuse;
    if (op == 2) return a1;
    if (op == 3) return a2;
    if (op == 5) return a1 * a2 * 2.0;
    if (op == 6) return a1 * a2 * 4.0;
    if (op == 7) return a1 + a2;
    return a1 * a2;
}

void main() {
    vec4 t = vec4(1.0);
    if (hasTexture && !sampleTexture(t)) discard;
    vec3 rgb = operate(colorOp, argument(colorArg1, t), argument(colorArg2, t)).rgb;
    float alpha = operate(alphaOp, argument(alphaArg1, t), argument(alphaArg2, t)).a;
    if (specularEnable) rgb += vSpecular.rgb;
    rgb = clamp(rgb, 0.0, 1.0);
    // Exact 5:6:5 steps, so that drivers that round and drivers that truncate store the same.
    if (quantize565) rgb = floor(rgb * vec3(31.0, 63.0, 31.0) + 0.5) / vec3(31.0, 63.0, 31.0);
    fragColor = vec4(rgb, clamp(alpha, 0.0, 1.0));
}
)";

GLuint compile(QOpenGLFunctions_3_3_Core& gl, GLenum type, const char* source) {
    const GLuint shader = gl.glCreateShader(type);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    GLint ok = 0;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        gl.glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
        gl.glDeleteShader(shader);
        throw EDXDrawError(std::string("OpenGL shader not accepted: ") + log);
    }
    return shader;
}

void setColor(QOpenGLFunctions_3_3_Core& gl, GLint location, uint32_t argb) {
    gl.glUniform4f(location, ArgbRed(argb) / 255.0f, ArgbGreen(argb) / 255.0f, ArgbBlue(argb) / 255.0f,
                   ArgbAlpha(argb) / 255.0f);
}

}  // namespace

TGLProgram::TGLProgram(QOpenGLFunctions_3_3_Core& gl) : gl_(gl) {
    const GLuint vertex = compile(gl, GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = compile(gl, GL_FRAGMENT_SHADER, kFragmentShader);
    program_ = gl.glCreateProgram();
    gl.glAttachShader(program_, vertex);
    gl.glAttachShader(program_, fragment);
    gl.glLinkProgram(program_);
    gl.glDeleteShader(vertex);
    gl.glDeleteShader(fragment);
    GLint ok = 0;
    gl.glGetProgramiv(program_, GL_LINK_STATUS, &ok);
    if (!ok) {
        gl.glDeleteProgram(program_);
        throw EDXDrawError("OpenGL shader program not accepted");
    }
    transform_ = location("transform");
    pixelShift_ = location("pixelShift");
    lighting_ = location("lighting");
    litColor_ = location("litColor");
    hasTexture_ = location("hasTexture");
    textureSize_ = location("textureSize");
    magnifyLinear_ = location("magnifyLinear");
    minifyLinear_ = location("minifyLinear");
    colorKey_ = location("colorKey");
    keyColor_ = location("keyColor");
    colorOp_ = location("colorOp");
    colorArg1_ = location("colorArg1");
    colorArg2_ = location("colorArg2");
    alphaOp_ = location("alphaOp");
    alphaArg1_ = location("alphaArg1");
    alphaArg2_ = location("alphaArg2");
    textureFactor_ = location("textureFactor");
    specular_ = location("specularEnable");
    quantize565_ = location("quantize565");
    Use();
    gl.glUniform1i(location("tex"), 0);
}

TGLProgram::~TGLProgram() { gl_.glDeleteProgram(program_); }

GLint TGLProgram::location(const char* name) const { return gl_.glGetUniformLocation(program_, name); }

void TGLProgram::Apply(const TD3DDeviceState& s, bool sixteenBit, bool hasTexture, int textureWidth, int textureHeight) {
    gl_.glUniform1i(quantize565_, sixteenBit);
    const TD3DMatrix transform = s.world() * s.view() * s.projection();
    gl_.glUniformMatrix4fv(transform_, 1, GL_FALSE, &transform.m[0][0]);
    gl_.glUniform2f(pixelShift_, 1.0f / float(s.viewport.dwWidth), 1.0f / float(s.viewport.dwHeight));
    const bool lighting = s.renderState(D3DRENDERSTATE_LIGHTING) != 0;
    gl_.glUniform1i(lighting_, lighting);
    if (lighting) {
        float rgba[4];
        raster::UnlitVertexColor(s, rgba);
        gl_.glUniform4f(litColor_, rgba[0] / 255, rgba[1] / 255, rgba[2] / 255, rgba[3] / 255);
    }
    gl_.glUniform1i(hasTexture_, hasTexture);
    gl_.glUniform2i(textureSize_, textureWidth, textureHeight);
    gl_.glUniform1i(magnifyLinear_, s.stage0(D3DTSS_MAGFILTER) >= D3DTFG_LINEAR);
    gl_.glUniform1i(minifyLinear_, s.stage0(D3DTSS_MINFILTER) >= D3DTFN_LINEAR);
    const auto key = hasTexture ? s.textures[0]->ColorKey() : std::nullopt;
    gl_.glUniform1i(colorKey_, key && s.renderState(D3DRENDERSTATE_COLORKEYENABLE));
    if (key) gl_.glUniform3i(keyColor_, GLint(ArgbRed(*key)), GLint(ArgbGreen(*key)), GLint(ArgbBlue(*key)));
    gl_.glUniform1i(colorOp_, GLint(s.stage0(D3DTSS_COLOROP)));
    gl_.glUniform1i(colorArg1_, GLint(s.stage0(D3DTSS_COLORARG1)));
    gl_.glUniform1i(colorArg2_, GLint(s.stage0(D3DTSS_COLORARG2)));
    gl_.glUniform1i(alphaOp_, GLint(s.stage0(D3DTSS_ALPHAOP)));
    gl_.glUniform1i(alphaArg1_, GLint(s.stage0(D3DTSS_ALPHAARG1)));
    gl_.glUniform1i(alphaArg2_, GLint(s.stage0(D3DTSS_ALPHAARG2)));
    setColor(gl_, textureFactor_, s.renderState(D3DRENDERSTATE_TEXTUREFACTOR));
    gl_.glUniform1i(specular_, s.renderState(D3DRENDERSTATE_SPECULARENABLE) != 0);
}

}  // namespace grottix
