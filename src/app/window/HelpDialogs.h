#pragma once
// The help commands: the user guide, the quick-info dialog and the about box.

#include <QString>

class QWidget;

namespace grottix {

// The user guide shipped with the program: installed, <prefix>/share/doc/grottix-viewer beside the
// program's <prefix>/bin; run from a build folder, the source tree's doc folder. Empty when
// neither holds it.
QString UserGuidePath();
QString QuickInfoText();
// The program's name and version, as --version prints them, and the system and Qt it runs on.
QString AboutText();

// Opens the user guide in the program's help window (a message when it is missing).
void OpenHomePage(QWidget* owner);
void ShowQuickInfo(QWidget* owner);
void ShowAbout(QWidget* owner);

}  // namespace grottix
