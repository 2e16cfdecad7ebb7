#pragma once
// TDXDraw: the drawing surface as a Qt widget. Windowed, the back buffer follows the widget's size;
// full screen, it has the size of the chosen display mode and a frameless window of its own shows
// it over the whole screen. With doHardware the 3D device is OpenGL and its frames go to the screen
// through a native OpenGL window inside the widget (or the full-screen window), by swapping its
// buffers; they are read back only when BackBufferBitmap asks. The CPU rasterizer (hardware off, or
// OpenGL not to be had) has its frames painted straight from its back buffer.

#include <QImage>
#include <QWidget>
#include <memory>

#include "device/CustomDXDraw.h"
#include "device/qt/DisplayModes.h"

namespace grottix {

class TFullScreenView;
class TGLSurfaceWindow;

class TDXDraw : public QWidget, public TCustomDXDraw {
    Q_OBJECT
public:
    explicit TDXDraw(QWidget* parent = nullptr);
    ~TDXDraw() override;

    // Initialise on the first show (default on).
    bool AutoInitialize() const { return autoInitialize_; }
    void SetAutoInitialize(bool on) { autoInitialize_ = on; }

    // The full-screen mode (used when doFullScreen is next initialised) and the list of modes.
    TDXDrawDisplay& Display() { return display_; }

    // The full-screen window while full screen is in effect.
    QWidget* FullScreenWindow() const;
    // The OpenGL window the frames are shown in while the device is OpenGL, else none.
    QWindow* SurfaceWindow() const;
    // The CPU rasterizer's last frame over its own pixels (valid until the next frame); a null
    // image when the device is not the CPU rasterizer.
    QImage FrameImage() const;
    // While not empty, the windowed view shows this text centred on black instead of the frames
    // (full screen still shows the frames).
    void SetEmptyText(const QString& text);
    QString EmptyText() const { return emptyText_; }

protected:
    TSurfaceDesc SurfaceFor(const TDXDrawOptions& options) const override;
    std::unique_ptr<TD3DBackend> CreateBackend(TDXDrawOptions& options) override;
    void Present(TD3DBackend& backend) override;
    void PresentArea(TD3DBackend& backend, const TD3DRect& area) override;
    void DisplayStarted() override;
    void DisplayStopped() override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The widget the frames are shown in: the full-screen window, or this widget.
    QWidget& host();
    void showSurfaceWindow();
    void showEmptyText();

    bool autoInitialize_ = true;
    bool shownOnce_ = false;
    TDXDrawDisplay display_;
    std::unique_ptr<TFullScreenView> fullScreen_;
    TGLSurfaceWindow* surfaceWindow_ = nullptr;  // owned by its container
    std::unique_ptr<QWidget> surfaceContainer_;
    QString emptyText_;
};

}  // namespace grottix
