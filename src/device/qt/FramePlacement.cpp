#include "device/qt/FramePlacement.h"

#include <QPainter>
#include <QWidget>

namespace grottix {

QRect FramePlacement(QSize frame, QSize area, const TDXDrawOptions& options) {
    QRect placed(QPoint(0, 0), frame);
    const QRect whole(QPoint(0, 0), area);
    if (options.Contains(doStretch) || frame == area) {
        placed.setSize(frame.scaled(area, Qt::KeepAspectRatio));
        placed.moveCenter(whole.center());
    } else if (options.Contains(doCenter)) {
        placed.moveCenter(whole.center());
    }
    return placed;
}

void PaintFrame(QWidget& target, const QImage& frame, const TDXDrawOptions& options) {
    QPainter painter(&target);
    const QRect area = target.rect();
    if (frame.isNull()) {
        painter.fillRect(area, Qt::black);
        return;
    }
    const QRect placed = FramePlacement(frame.size(), area.size(), options);
    if (placed != area) painter.fillRect(area, Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, placed.size() != frame.size());
    painter.drawImage(placed, frame);
}

}  // namespace grottix
