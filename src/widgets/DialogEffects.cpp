#include "widgets/DialogEffects.h"

#include <QPropertyAnimation>

namespace grottix {

namespace {
constexpr int FadeSteps = 16;
}

void SmoothShow(QWidget& window, int delayMs) {
    auto* fade = new QPropertyAnimation(&window, "windowOpacity", &window);
    fade->setDuration(FadeSteps * std::max(delayMs, 0));
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void BringModalChildrenToFront(QWidget& window) {
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && child->isVisible() && child->isModal()) {
            child->raise();
            child->activateWindow();
        }
    }
}

int RunModal(QDialog& dialog) { return dialog.exec(); }

}  // namespace grottix
