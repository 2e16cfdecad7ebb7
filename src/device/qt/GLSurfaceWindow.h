#pragma once
// The native window an OpenGL display is shown in. A frame reaches it on the GPU: the device blits
// its back buffer into the window (stretched or centred as the display's options say) and swaps the
// window's buffers, with vertical sync when the options contain doWaitVBlank. An expose shows the
// last frame again. The window never takes the keyboard focus; key and mouse-button events that
// reach it go on to the widget it is shown in.

#include <QWindow>

#include "device/CustomDXDraw.h"

class QWidget;

namespace grottix {

class TOpenGLDevice;

class TGLSurfaceWindow : public QWindow {
    Q_OBJECT
public:
    TGLSurfaceWindow(TOpenGLDevice& device, QWidget& host, const TDXDrawOptions& options);
    ~TGLSurfaceWindow() override;

    // Puts the device's back buffer on the screen; nothing while the window is not exposed.
    void Present();

protected:
    void exposeEvent(QExposeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void forward(QEvent* event);

    TOpenGLDevice& device_;
    QWidget& host_;
    TDXDrawOptions options_;
};

}  // namespace grottix
