#pragma once
// The frameless window that shows a full-screen display, without a mouse pointer over it: it paints
// the CPU rasterizer's frames itself and holds the OpenGL window that shows OpenGL's. Key and
// mouse-button events go on to the drawing surface, so the main window handles them as if the
// surface had the focus.

#include <QWidget>

#include "device/CustomDXDraw.h"

namespace grottix {

class TDXDraw;

class TFullScreenView : public QWidget {
    Q_OBJECT
public:
    explicit TFullScreenView(TDXDraw& owner);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void forward(QEvent* event);

    TDXDraw& owner_;
};

}  // namespace grottix
