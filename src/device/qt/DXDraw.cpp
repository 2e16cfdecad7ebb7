#include "device/qt/DXDraw.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <cstring>

#include "device/SoftwareDevice.h"
#include "device/qt/FullScreenView.h"
#include "device/qt/OpenGLDevice.h"

namespace grottix {

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    SetOptions({doAllowReboot, doWaitVBlank, doCenter, doFlip, do3D, doDirectX7Mode, doHardware, doSelectDriver,
                doZBuffer});
}

TDXDraw::~TDXDraw() { Release(); }

QWidget* TDXDraw::FullScreenWindow() const { return fullScreen_.get(); }

TSurfaceDesc TDXDraw::SurfaceFor(const TDXDrawOptions& options) const {
    if (options.Contains(doFullScreen)) return {display_.Width(), display_.Height(), display_.BitCount(), false};
    return {std::max(width(), 1), std::max(height(), 1), 32, false};
}

std::unique_ptr<TD3DBackend> TDXDraw::CreateBackend(TDXDrawOptions& options) {
    TSurfaceDesc surface = SurfaceFor(options);
    surface.zBuffer = options.Contains(do3D) && options.Contains(doZBuffer);
    if (options.Contains(doHardware)) {
        try {
            return std::make_unique<TOpenGLDevice>(surface);
        } catch (const EDXDrawError&) {
            // No OpenGL here (no window system with OpenGL, or too old a driver): draw on the CPU.
            options.Exclude(doHardware);
        }
    }
    return std::make_unique<TSoftwareDevice>(surface);
}

void TDXDraw::Present(const uint32_t* pixels, int width, int height) {
    if (front_.width() != width || front_.height() != height) front_ = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(front_.scanLine(y), pixels + size_t(y) * size_t(width), size_t(width) * sizeof(uint32_t));
    if (fullScreen_) fullScreen_->update();
    else update();
}

void TDXDraw::DisplayStarted() {
    if (!NowOptions().Contains(doFullScreen)) return;
    fullScreen_ = std::make_unique<TFullScreenView>(*this);
    // The screen's whole area, also where no window manager carries out the full-screen request.
    if (QScreen* screen = window()->screen()) fullScreen_->setGeometry(screen->geometry());
    fullScreen_->showFullScreen();
    fullScreen_->activateWindow();
    fullScreen_->setFocus();
}

void TDXDraw::DisplayStopped() { fullScreen_.reset(); }

void TDXDraw::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_ || !autoInitialize_) return;
    shownOnce_ = true;
    if (Initialized()) return;
    try {
        Initialize();
    } catch (const EGrottixError&) {
        // Nobody to tell from a show event: the display stays uninitialised and CanDraw says so.
    }
}

void TDXDraw::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!Initialized() || NowOptions().Contains(doFullScreen)) return;
    try {
        ResizeSurface({std::max(width(), 1), std::max(height(), 1), 32, false});
    } catch (const EGrottixError&) {
        // Larger than a back buffer can be: the one there is stays.
    }
}

void TDXDraw::paintEvent(QPaintEvent*) { PaintFrame(*this, front_, NowOptions()); }

void PaintFrame(QWidget& target, const QImage& frame, const TDXDrawOptions& options) {
    QPainter painter(&target);
    const QRect area = target.rect();
    if (frame.isNull()) {
        painter.fillRect(area, Qt::black);
        return;
    }
    QRect placed(QPoint(0, 0), frame.size());
    if (options.Contains(doStretch) || frame.size() == area.size()) {
        placed.setSize(frame.size().scaled(area.size(), Qt::KeepAspectRatio));
        placed.moveCenter(area.center());
    } else if (options.Contains(doCenter)) {
        placed.moveCenter(area.center());
    }
    if (placed != area) painter.fillRect(area, Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, placed.size() != frame.size());
    painter.drawImage(placed, frame);
}

}  // namespace grottix
