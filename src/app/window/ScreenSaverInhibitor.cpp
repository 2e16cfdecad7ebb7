#include "app/window/ScreenSaverInhibitor.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace grottix {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");

}  // namespace

bool TScreenSaverInhibitor::Inhibit() {
    if (cookie_) return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusInterface screenSaver(kService, kPath, kService, bus);
    if (!screenSaver.isValid()) return false;
    const QDBusReply<uint32_t> reply = screenSaver.call(QStringLiteral("Inhibit"), QStringLiteral("Grottix Viewer"),
                                                        QStringLiteral("Full screen 3D preview"));
    if (!reply.isValid()) return false;
    cookie_ = reply.value();
    return true;
}

void TScreenSaverInhibitor::Release() {
    if (!cookie_) return;
    QDBusInterface screenSaver(kService, kPath, kService, QDBusConnection::sessionBus());
    if (screenSaver.isValid()) screenSaver.call(QStringLiteral("UnInhibit"), *cookie_);
    cookie_.reset();
}

}  // namespace grottix
