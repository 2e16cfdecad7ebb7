#pragma once
// The shader program of the OpenGL backend: one vertex and one fragment shader that carry out the
// fixed-function states of the device (transform with Direct3D's depth range and pixel centres,
// stage-0 colour and alpha operations, wrapped point or bilinear sampling, colour key, specular).

#include <QOpenGLFunctions_3_3_Core>

#include "device/DeviceState.h"

namespace grottix {

class TGLProgram {
public:
    // Compiles and links; throws EDXDrawError when the driver refuses.
    explicit TGLProgram(QOpenGLFunctions_3_3_Core& gl);
    ~TGLProgram();

    void Use() { gl_.glUseProgram(program_); }
    // Uploads every uniform that follows the device state (texture unit 0 holds the texture).
    void Apply(const TD3DDeviceState& state, bool sixteenBit, bool hasTexture, int textureWidth, int textureHeight);

private:
    GLint location(const char* name) const;

    QOpenGLFunctions_3_3_Core& gl_;
    GLuint program_ = 0;
    GLint transform_, pixelShift_, lighting_, litColor_;
    GLint hasTexture_, textureSize_, magnifyLinear_, minifyLinear_, colorKey_, keyColor_;
    GLint colorOp_, colorArg1_, colorArg2_, alphaOp_, alphaArg1_, alphaArg2_, textureFactor_, specular_, quantize565_;
};

}  // namespace grottix
