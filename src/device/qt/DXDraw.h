#pragma once
// TDXDraw: the drawing surface as a Qt widget. Windowed, the back buffer follows the widget's size
// and is shown in it; full screen, it has the size of the chosen display mode and a frameless window
// of its own stretches it over the screen. With doHardware the 3D device is OpenGL (the CPU
// rasterizer takes over when OpenGL cannot be had), otherwise the CPU rasterizer.

#include <QImage>
#include <QWidget>
#include <memory>

#include "device/CustomDXDraw.h"
#include "device/qt/DisplayModes.h"

namespace grottix {

class TFullScreenView;

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

    // The last presented frame, as shown.
    const QImage& FrontImage() const { return front_; }
    // The full-screen window while full screen is in effect.
    QWidget* FullScreenWindow() const;

protected:
    TSurfaceDesc SurfaceFor(const TDXDrawOptions& options) const override;
    std::unique_ptr<TD3DBackend> CreateBackend(TDXDrawOptions& options) override;
    void Present(const uint32_t* pixels, int width, int height) override;
    void DisplayStarted() override;
    void DisplayStopped() override;

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool autoInitialize_ = true;
    bool shownOnce_ = false;
    TDXDrawDisplay display_;
    QImage front_;
    std::unique_ptr<TFullScreenView> fullScreen_;
};

// Draws a frame into a rectangle: stretched keeping its proportions and centred with doStretch,
// otherwise at its own size (centred with doCenter).
void PaintFrame(QWidget& target, const QImage& frame, const TDXDrawOptions& options);

}  // namespace grottix
