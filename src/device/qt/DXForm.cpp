#include "device/qt/DXForm.h"

namespace grottix {

TDXForm::TDXForm(QWidget* parent) : QMainWindow(parent) {}

void TDXForm::StoreWindowPos() {
    geometry_ = saveGeometry();
    states_ = windowState();
    stored_ = true;
}

void TDXForm::RestoreWindowPos() {
    if (!stored_) return;
    restoreGeometry(geometry_);
    setWindowState(states_);
}

}  // namespace grottix
