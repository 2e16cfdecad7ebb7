#pragma once
// TDXForm: the main-window base of a program with a full-screen display. It can put its window
// placement aside before going full screen and restore it afterwards.

#include <QByteArray>
#include <QMainWindow>

namespace grottix {

class TDXForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TDXForm(QWidget* parent = nullptr);

    void StoreWindowPos();
    // Puts back the stored placement (nothing when none was stored).
    void RestoreWindowPos();

private:
    QByteArray geometry_;
    Qt::WindowStates states_;
    bool stored_ = false;
};

}  // namespace grottix
