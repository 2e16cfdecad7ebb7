#include "app/window/HelpWindow.h"

#include <QMessageBox>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/window/HelpDialogs.h"

namespace grottix {

THelpWindow::THelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Grottix Viewer Help"));
    resize(760, 640);
    auto* bar = new QToolBar(this);
    QAction* back = bar->addAction(QIcon::fromTheme(QStringLiteral("go-previous")), tr("Back"), browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction(QIcon::fromTheme(QStringLiteral("go-next")), tr("Forward"), browser_, &QTextBrowser::forward);
    bar->addAction(QIcon::fromTheme(QStringLiteral("go-home")), tr("Contents"), browser_, &QTextBrowser::home);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    // Local pages open here; only web and mail addresses leave the program.
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
}

THelpWindow* THelpWindow::Of(QWidget* owner) {
    return dynamic_cast<THelpWindow*>(owner->findChild<QWidget*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly));
}

void THelpWindow::ShowPage(const QUrl& page) {
    browser_->setSource(page);
    browser_->clearHistory();
}

void ShowUserGuide(QWidget* owner) {
    const QString guide = UserGuidePath();
    if (guide.isEmpty()) {
        QMessageBox::critical(owner, QStringLiteral("Grottix Viewer"),
                              QStringLiteral("The user guide is not installed (share/doc/grottix-viewer/user-guide.html)."));
        return;
    }
    THelpWindow* window = THelpWindow::Of(owner);
    if (!window) {
        window = new THelpWindow(owner);
        window->ShowPage(QUrl::fromLocalFile(guide));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace grottix
