#include "app/window/HelpDialogs.h"

#include "app/window/HelpWindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSysInfo>
#include <QUrl>
#include <QVBoxLayout>

namespace grottix {

namespace {

const QString kTitle = QStringLiteral("Grottix Viewer");

}  // namespace

QString UserGuidePath() {
    const QString places[] = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/grottix-viewer/user-guide.html"),
        QStringLiteral(GROTTIX_SOURCE_DIR "/doc/user-guide.html"),
    };
    for (const QString& place : places) {
        if (QFileInfo(place).isFile()) return QFileInfo(place).canonicalFilePath();
    }
    return {};
}

QString QuickInfoText() {
    return QStringLiteral(
        "Use <arrows> to navigate.\n"
        "<W>, <A>, <S>, <D> walk and turn too.\n"
        "<PageUp>, <PageDown> to look up/down\n"
        "<+>, <-> to go up/down\n"
        "<Home> to go back to the start.\n"
        "Hold <shift> to run.\n"
        "The numeric keypad works as well.\n"
        "\n"
        "Also supports joystick.\n"
        "\n"
        "Supported game versions:\n"
        "Tomb Raider I\n"
        "Tomb Raider II\n"
        "Tomb Raider III\n"
        "Tomb Raider:The Last Revelation\n"
        "Tomb Raider: Chronicles");
}

QString AboutText() {
    return QStringLiteral("<b>Grottix Viewer " GROTTIX_VERSION "</b><br>"
                          "Walk and fly through the levels of the classic Tomb Raider games<br><br>"
                          "Running on %1 (%2 %3, %4)<br>Qt %5")
        .arg(QSysInfo::prettyProductName().toHtmlEscaped(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture(), QString::fromLatin1(qVersion()));
}

void OpenHomePage(QWidget* owner) { ShowUserGuide(owner); }

void ShowQuickInfo(QWidget* owner) {
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Quick Info"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(QuickInfoText());
    text->setReadOnly(true);
    layout->addWidget(text);
    if (const QString guide = UserGuidePath(); !guide.isEmpty()) {
        auto* link = new QLabel(QStringLiteral("More in the <a href=\"%1\">user guide</a>.")
                                    .arg(QUrl::fromLocalFile(guide).toString(QUrl::FullyEncoded)));
        // The guide opens in the help window once this dialog has closed, which would block it.
        QObject::connect(link, &QLabel::linkActivated, &dialog, [&dialog, owner] {
            dialog.accept();
            ShowUserGuide(owner);
        });
        layout->addWidget(link);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

void ShowAbout(QWidget* owner) { QMessageBox::about(owner, QStringLiteral("About ") + kTitle, AboutText()); }

}  // namespace grottix
