#include "device/qt/FullScreenView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

#include "device/qt/DXDraw.h"
#include "device/qt/FramePlacement.h"

namespace grottix {

TFullScreenView::TFullScreenView(TDXDraw& owner) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::BlankCursor);
    setWindowTitle(owner.window()->windowTitle());
}

void TFullScreenView::paintEvent(QPaintEvent*) { PaintFrame(*this, owner_.FrameImage(), owner_.NowOptions()); }

void TFullScreenView::forward(QEvent* event) {
    std::unique_ptr<QEvent> copy(event->clone());
    QCoreApplication::sendEvent(&owner_, copy.get());
}

void TFullScreenView::keyPressEvent(QKeyEvent* event) { forward(event); }
void TFullScreenView::keyReleaseEvent(QKeyEvent* event) { forward(event); }
void TFullScreenView::mousePressEvent(QMouseEvent* event) { forward(event); }

}  // namespace grottix
