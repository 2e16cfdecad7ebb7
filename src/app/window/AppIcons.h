#pragma once
// The program's icons: its own (window, launcher) and those of the tool bar's commands, taken from
// the desktop's icon theme where it has them and from the program's own set otherwise.

#include <QIcon>

namespace grottix {

QIcon ApplicationIcon();
// name: a freedesktop icon name the program ships a picture for ("document-open",
// "document-save-as", "edit-copy", "view-fullscreen").
QIcon CommandIcon(const QString& name);

}  // namespace grottix
