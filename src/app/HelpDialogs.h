#pragma once
// The help commands: the home page, the contact mail, the quick-info dialog and the about box.

#include <QString>

class QWidget;

namespace grottix {

inline constexpr const char* kHomePage = "https://grottix.example.org/viewer";
inline constexpr const char* kMailbox = "viewer";
inline constexpr const char* kMailDomain = "grottix.example.org";

// "mailto:mailbox@domain?subject=<title>".
QString ContactMailLink(const QString& applicationTitle);
QString QuickInfoText();

void OpenHomePage();
void ComposeContactMail(const QString& applicationTitle);
void ShowQuickInfo(QWidget* owner);
void ShowAbout(QWidget* owner);

}  // namespace grottix
