#include "device/qt/DXDraw.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>

#include "device/SoftwareDevice.h"
#include "device/qt/FramePlacement.h"
#include "device/qt/FullScreenView.h"
#include "device/qt/GLSurfaceWindow.h"
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

QWindow* TDXDraw::SurfaceWindow() const { return surfaceWindow_; }

QImage TDXDraw::FrameImage() const {
    const auto* device = dynamic_cast<const TSoftwareDevice*>(Backend());
    if (!device) return {};
    const raster::TFrameBuffer& frame = device->Frame();
    if (frame.Width() < 1 || frame.Height() < 1) return {};
    return QImage(reinterpret_cast<const uchar*>(frame.ColorRow(0)), frame.Width(), frame.Height(),
                  qsizetype(frame.Width()) * 4, QImage::Format_RGB32);
}

void TDXDraw::SetEmptyText(const QString& text) {
    emptyText_ = text;
    showEmptyText();
}

void TDXDraw::showEmptyText() {
    // The OpenGL window would cover the text.
    if (surfaceContainer_) surfaceContainer_->setVisible(fullScreen_ || emptyText_.isEmpty());
    update();
}

QWidget& TDXDraw::host() { return fullScreen_ ? static_cast<QWidget&>(*fullScreen_) : *this; }

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

void TDXDraw::Present(TD3DBackend&) {
    if (surfaceWindow_) surfaceWindow_->Present();
    else host().update();  // painted from the rasterizer's back buffer
}

void TDXDraw::PresentArea(TD3DBackend& backend, const TD3DRect& area) {
    // OpenGL shows its whole frame, and a frame drawn scaled changes more than its area.
    const QSize frame(backend.Surface().width, backend.Surface().height);
    const QRect placed = FramePlacement(frame, host().size(), NowOptions());
    if (surfaceWindow_ || placed.size() != frame) return Present(backend);
    host().update(QRect(area.x1, area.y1, area.x2 - area.x1, area.y2 - area.y1).translated(placed.topLeft()));
}

void TDXDraw::DisplayStarted() {
    if (NowOptions().Contains(doFullScreen)) {
        fullScreen_ = std::make_unique<TFullScreenView>(*this);
        // The screen's whole area, also where no window manager carries out the full-screen request.
        if (QScreen* screen = window()->screen()) fullScreen_->setGeometry(screen->geometry());
    }
    if (auto* device = dynamic_cast<TOpenGLDevice*>(Backend())) {
        surfaceWindow_ = new TGLSurfaceWindow(*device, host(), NowOptions());
        if (fullScreen_) surfaceWindow_->setCursor(Qt::BlankCursor);
        surfaceContainer_.reset(QWidget::createWindowContainer(surfaceWindow_, &host()));
        surfaceContainer_->setFocusPolicy(Qt::NoFocus);
        surfaceContainer_->setGeometry(host().rect());
        host().installEventFilter(this);
        surfaceContainer_->show();
        showEmptyText();
    }
    if (fullScreen_) {
        fullScreen_->showFullScreen();
        fullScreen_->activateWindow();
        fullScreen_->setFocus();
    }
}

void TDXDraw::DisplayStopped() {
    host().removeEventFilter(this);
    surfaceContainer_.reset();  // and the window in it
    surfaceWindow_ = nullptr;
    fullScreen_.reset();
}

bool TDXDraw::eventFilter(QObject* watched, QEvent* event) {
    // The OpenGL window covers the widget that shows the frames.
    if (surfaceContainer_ && watched == &host() && event->type() == QEvent::Resize)
        surfaceContainer_->setGeometry(host().rect());
    return QWidget::eventFilter(watched, event);
}

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

void TDXDraw::paintEvent(QPaintEvent*) {
    if (emptyText_.isEmpty()) return PaintFrame(*this, FrameImage(), NowOptions());
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor(190, 190, 190));
    painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
}

}  // namespace grottix
