#pragma once
// The open-level dialog: a level file and the light factor to import it with ("Gamma correction").
// It remembers its own position and its last track position (its "LightFactor" setting, a track
// position 0..20, apart from the main window's factor of the same name).

#include <QDialog>
#include <string>

#include "settings/Profiles.h"
#include "widgets/DialogEffects.h"

class QSlider;

namespace grottix {

class TButtonEdit;
class TFormRestorer;

constexpr const char* OpenLevelFilter =
    "All Supported (*.phd;*.tub;*.tr2;*.tr4;*.trc)|*.phd;*.tub;*.tr2;*.tr4;*.trc|Tomb Raider|*.phd|"
    "Tomb Raider: Unfinished Business|*.tub|Tomb Raider II & III|*.tr2|Tomb Raider IV|*.tr4|Tomb Raider Chronicles|*.trc|"
    "All files|*";

class TImportTombRaiderMapForm : public QDialog {
public:
    // Builds the dialog and restores its position and track position, kept below `applicationKey`.
    TImportTombRaiderMapForm(QWidget* owner, TCustomKey& applicationKey);

    TButtonEdit* FileEdit1() const { return fileEdit_; }
    QSlider* TrackBar1() const { return trackBar_; }

    // Stores the track position. The setting is a convenience: a store that cannot take it does
    // not stand between the user and the level.
    void FormDestroy();
    // The browse button: picks a level file with OpenDialog1 and puts its name into FileEdit1.
    void FileEdit1Btn1Click();
    // Runs OpenDialog1; tests replace it.
    TModalRunner OpenDialogRunner = RunModal;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void done(int result) override;

private:
    void FormCreate();

    TButtonEdit* fileEdit_;
    QSlider* trackBar_;
    TFormRestorer* restorer_;
    TVariantProfile lightFactor_;
};

// Shows the dialog for `path` and `lightFactor`. On OK both take the dialog's values and the
// result is true; otherwise both stay as they were.
bool ShowOpenLevelDialog(QWidget* owner, TCustomKey& applicationKey, std::string& path, float& lightFactor,
                         const TModalRunner& run = RunModal);

}  // namespace grottix
