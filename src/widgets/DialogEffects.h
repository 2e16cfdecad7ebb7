#pragma once
// Small behaviours the program's dialogs share.

#include <QDialog>
#include <functional>

namespace grottix {

// Fades a window in as it shows: its opacity rises in steps, one every `delayMs` milliseconds.
// Where the platform has no window opacity the window simply shows.
void SmoothShow(QWidget& window, int delayMs);

// Brings any of the window's own modal windows that is showing to the front, so that activating
// the window does not hide the box it is waiting on.
void BringModalChildrenToFront(QWidget& window);

// Runs a dialog modally and returns its result code. The program uses RunModal; tests hand in a
// runner that works the dialog's controls and closes it.
using TModalRunner = std::function<int(QDialog&)>;
int RunModal(QDialog& dialog);

}  // namespace grottix
