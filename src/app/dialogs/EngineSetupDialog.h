#pragma once
// The 3D engine setup dialog: the four rendering options, and a menu of presets that set all four.

#include <QDialog>
#include <array>

#include "app/dialogs/EnginePresets.h"
#include "widgets/DialogEffects.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

namespace grottix {

class TCustomKey;
class TFormRestorer;

class TGrottix3DEngineSetupForm : public QDialog {
public:
    TGrottix3DEngineSetupForm(QWidget* owner, TCustomKey& applicationKey);

    QCheckBox* CheckBox1() const { return hardware_; }
    QCheckBox* CheckBox2() const { return safeMode_; }
    QCheckBox* CheckBox3() const { return transparency_; }
    QCheckBox* CheckBox4() const { return filtering_; }
    // Beside the four options: draw every room, not only those the portals show.
    QCheckBox* EveryRoomBox() const { return everyRoom_; }
    // A note under the options (why hardware acceleration is off, say); hidden when empty.
    void SetNote(const QString& text);
    QLabel* Note() const { return note_; }
    QPushButton* MenuTool1() const { return presetButton_; }
    QMenu* PresetMenu() const { return presetMenu_; }
    QAction* PresetItem(size_t index) const { return presetItems_.at(index); }

    TEngineOptions Options() const;
    void SetOptions(const TEngineOptions& options);

    void Full1Click() { ApplyPreset(0); }
    void Safe1Click() { ApplyPreset(1); }
    void SafeTransparent1Click() { ApplyPreset(2); }
    void VerySafe1Click() { ApplyPreset(3); }
    // Before the preset menu opens: the item matching the boxes, if any, carries the check mark.
    void MenuTool1BeforePopup();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void done(int result) override;

private:
    void ApplyPreset(size_t index);

    QCheckBox* hardware_;
    QCheckBox* safeMode_;
    QCheckBox* transparency_;
    QCheckBox* filtering_;
    QCheckBox* everyRoom_;
    QLabel* note_;
    QPushButton* presetButton_;
    QMenu* presetMenu_;
    std::array<QAction*, 4> presetItems_{};
    TFormRestorer* restorer_;
};

// Shows the dialog with the four options (and, when given, whether to draw every room, and a note
// under the options). On OK all take the boxes' states and the result is true; otherwise none changes.
bool ShowEngineSetupDialog(QWidget* owner, TCustomKey& applicationKey, bool& hardware, bool& safeMode,
                           bool& filtering, bool& transparency, const TModalRunner& run = RunModal,
                           bool* everyRoom = nullptr, const QString& note = {});

}  // namespace grottix
