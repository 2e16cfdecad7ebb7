#include "app/window/AppIcons.h"

// The resource lives in a static library: it is registered when first needed.
static void initializeIcons() { Q_INIT_RESOURCE(grottix_icons); }

namespace grottix {

QIcon ApplicationIcon() {
    initializeIcons();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/grottix-viewer.png").arg(size), QSize(size, size));
    return icon;
}

QIcon CommandIcon(const QString& name) {
    initializeIcons();
    QIcon own;
    for (int size : {24, 48}) own.addFile(QStringLiteral(":/icons/actions/%1-%2.png").arg(name).arg(size), QSize(size, size));
    return QIcon::fromTheme(name, own);
}

}  // namespace grottix
