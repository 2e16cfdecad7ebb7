#include "app/ViewerWindow.h"

#include <QApplication>

#include "app/MainWindow.h"
#include "codecs/ImageCodecs.h"
#include "settings/SettingsFileStore.h"

namespace grottix {

int RunViewerWindow(const std::vector<std::string>& args) {
    static int argc = 1;
    static char name[] = "grottix-viewer";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Halvoran"));
    QApplication::setApplicationName(QStringLiteral("GrottixViewer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Grottix Viewer"));
    InitializeImageCodecs();

    TSettingsFileStore store(TSettingsFileStore::DefaultFileName());
    QStringList arguments;
    for (const std::string& arg : args) arguments.append(QString::fromStdString(arg));
    TDXViewerForm window(store, arguments);
    window.show();
    return application.exec();
}

}  // namespace grottix
