#include "app/window/ViewerWindow.h"

#include <QApplication>

#include "app/window/AppIcons.h"
#include "app/window/MainWindow.h"
#include "codecs/ImageCodecs.h"
#include "settings/SettingsFileStore.h"

namespace grottix {

// No display name: Qt would append it to every window's caption.
void NameViewerApplication() {
    QApplication::setOrganizationName(QStringLiteral("Halvoran"));
    QApplication::setApplicationName(QStringLiteral("GrottixViewer"));
    // The launcher the desktop matches the window with, and the icon of every window.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.halvoran.GrottixViewer"));
    QApplication::setWindowIcon(ApplicationIcon());
}

int RunViewerWindow(const std::vector<std::string>& args) {
    static int argc = 1;
    static char name[] = "grottix-viewer";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    NameViewerApplication();
    InitializeImageCodecs();

    TSettingsFileStore store(TSettingsFileStore::DefaultFileName());
    QStringList arguments;
    for (const std::string& arg : args) arguments.append(QString::fromStdString(arg));
    TDXViewerForm window(store, arguments);
    window.show();
    return application.exec();
}

}  // namespace grottix
