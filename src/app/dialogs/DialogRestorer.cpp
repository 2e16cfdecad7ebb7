#include "app/dialogs/DialogRestorer.h"

#include <QDialog>

namespace grottix {

TFormRestorer* AttachDialogRestorer(QDialog& dialog, const char* formName, TCustomKey& applicationKey) {
    dialog.setObjectName(QString::fromLatin1(formName));
    auto* restorer = new TFormRestorer(dialog, applicationKey.Store(), "FormRestorer1");
    restorer->SetParentKey(&applicationKey);
    restorer->Restoring = TFormRestorerOption::frPositionOnly;
    try {
        restorer->Loaded();
    } catch (const EGrottixError&) {
        // An unreadable store leaves the dialog where the platform puts it.
    }
    return restorer;
}

void StoreDialogPosition(TFormRestorer& restorer) noexcept {
    try {
        restorer.WriteBounds();
    } catch (const EGrottixError&) {
        // Positions are a convenience; the dialog's answer matters more.
    }
}

}  // namespace grottix
