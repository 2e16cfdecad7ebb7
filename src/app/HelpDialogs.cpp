#include "app/HelpDialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSysInfo>
#include <QUrl>
#include <QVBoxLayout>

namespace grottix {

QString ContactMailLink(const QString& applicationTitle) {
    return QStringLiteral("%1:%2@%3?%4=%5")
        .arg(QStringLiteral("mailto"), QString::fromLatin1(kMailbox), QString::fromLatin1(kMailDomain), QStringLiteral("subject"),
             applicationTitle);
}

QString QuickInfoText() {
    return QStringLiteral(
        "Use <arrows> to navigate.\n"
        "<PageUp>, <PageDown> to look up/down\n"
        "<+>, <-> to go up/down\n"
        "Hold <shift> to run.\n"
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

void OpenHomePage() { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage))); }

void ComposeContactMail(const QString& applicationTitle) { QDesktopServices::openUrl(QUrl(ContactMailLink(applicationTitle))); }

void ShowQuickInfo(QWidget* owner) {
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Quick Info"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(QuickInfoText());
    text->setReadOnly(true);
    layout->addWidget(text);
    layout->addWidget(new QLabel(QStringLiteral("Check for updates at:")));
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromLatin1(kHomePage)));
    link->setOpenExternalLinks(true);
    layout->addWidget(link);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

void ShowAbout(QWidget* owner) {
    QMessageBox::about(owner, QStringLiteral("About"),
                       QStringLiteral("<b>Grottix 3D Viewer</b><br>Version 1.2<br>Grottix 3D Viewer for Windows<br><br>%1<br>%2")
                           .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()));
}

}  // namespace grottix
