#pragma once
// The program's own help window: the user guide in a text browser, so that help opens on a machine
// without a web browser. Links between the guide's pages and to its own sections open in the
// window; web and mail addresses go to the desktop. Back, Forward and Contents move through it.

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace grottix {

class THelpWindow : public QWidget {
public:
    // A window of its own, closed with its owner.
    explicit THelpWindow(QWidget* owner);
    // The owner's help window, or none before the first help.
    static THelpWindow* Of(QWidget* owner);

    // Shows the page (a local file, optionally with a section) as the window's first page.
    void ShowPage(const QUrl& page);
    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// Shows the user guide in the owner's help window (created on first use, then brought to the
// front); a message box when the guide is not installed.
void ShowUserGuide(QWidget* owner);

}  // namespace grottix
