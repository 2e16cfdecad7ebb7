#pragma once
// Where a frame goes in the area that shows it, and painting a CPU frame there.

#include <QImage>
#include <QRect>

#include "device/CustomDXDraw.h"

class QWidget;

namespace grottix {

// The frame stretched keeping its proportions and centred with doStretch (or when it already has
// the area's size), otherwise at its own size, centred with doCenter, else at the top left.
QRect FramePlacement(QSize frame, QSize area, const TDXDrawOptions& options);

// Paints a frame into the whole widget as placed above, black around it; the widget's paint event
// calls it. A null frame paints black.
void PaintFrame(QWidget& target, const QImage& frame, const TDXDrawOptions& options);

}  // namespace grottix
