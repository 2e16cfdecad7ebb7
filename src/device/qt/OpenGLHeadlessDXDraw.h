#pragma once
// A headless display drawn through OpenGL (an offscreen context), for --render --opengl. It needs a
// QGuiApplication on a platform with OpenGL (a real X server or Xvfb); where there is none it draws
// on the CPU like any headless display. A flip waits until OpenGL has drawn the frame, so that timed
// frames are whole frames; nothing is read back until the picture is asked for.

#include "device/HeadlessDXDraw.h"

namespace grottix {

class TOpenGLHeadlessDXDraw : public THeadlessDXDraw {
public:
    TOpenGLHeadlessDXDraw(int width, int height);
    ~TOpenGLHeadlessDXDraw() override;

protected:
    std::unique_ptr<TD3DBackend> CreateBackend(TDXDrawOptions& options) override;
    void Present(TD3DBackend& backend) override;
};

}  // namespace grottix
