#include "device/qt/GLSurfaceWindow.h"

#include <QCoreApplication>
#include <QPlatformSurfaceEvent>
#include <QWidget>
#include <memory>

#include "device/qt/FramePlacement.h"
#include "device/qt/OpenGLDevice.h"

namespace grottix {

TGLSurfaceWindow::TGLSurfaceWindow(TOpenGLDevice& device, QWidget& host, const TDXDrawOptions& options)
    : device_(device), host_(host), options_(options) {
    setSurfaceType(QSurface::OpenGLSurface);
    QSurfaceFormat format = TOpenGLDevice::SurfaceFormat();
    format.setSwapInterval(options.Contains(doWaitVBlank) ? 1 : 0);
    setFormat(format);
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

TGLSurfaceWindow::~TGLSurfaceWindow() { device_.ReleaseWindow(*this); }

void TGLSurfaceWindow::Present() {
    if (!handle() || !isExposed()) return;
    const TSurfaceDesc& surface = device_.Surface();
    const QSize frame(surface.width, surface.height);
    const QRect placed = FramePlacement(frame, size(), options_);
    const qreal ratio = devicePixelRatio();
    const QRect target(QPoint(qRound(placed.x() * ratio), qRound(placed.y() * ratio)),
                       QSize(qRound(placed.width() * ratio), qRound(placed.height() * ratio)));
    device_.Present(*this, target, target.size() != frame);
}

void TGLSurfaceWindow::exposeEvent(QExposeEvent*) { Present(); }

bool TGLSurfaceWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::PlatformSurface:
            // The context must not stay current on a surface that is going away.
            if (static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
                device_.ReleaseWindow(*this);
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            forward(event);
            return true;
        case QEvent::MouseButtonPress:
            // A click into the view activates its window, as a click into any widget would.
            if (!host_.isActiveWindow()) host_.activateWindow();
            forward(event);
            return true;
        default: break;
    }
    return QWindow::event(event);
}

void TGLSurfaceWindow::forward(QEvent* event) {
    std::unique_ptr<QEvent> copy(event->clone());
    QCoreApplication::sendEvent(&host_, copy.get());
}

}  // namespace grottix
