#pragma once
// The form restorer the viewer's dialogs share: the dialog's own key below the application key,
// restoring the position only.

#include "settings/FormRestorer.h"

class QDialog;

namespace grottix {

// Names the dialog, creates its restorer (a Qt child of the dialog) and restores its position.
TFormRestorer* AttachDialogRestorer(QDialog& dialog, const char* formName, TCustomKey& applicationKey);
// What the restorer's close handling does, for a dialog closing through its buttons (which sends
// no close event): stores the position, ignoring a store that cannot take it.
void StoreDialogPosition(TFormRestorer& restorer) noexcept;

}  // namespace grottix
