#include "app/dialogs/EngineSetupDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>

#include "app/dialogs/DialogRestorer.h"

namespace grottix {

namespace {

constexpr const char* FormName = "Grottix3DEngineSetupForm";

QCheckBox* MakeCheckBox(QWidget* parent, const char* caption, const char* hint) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setToolTip(QString::fromLatin1(hint));
    box->setStatusTip(QString::fromLatin1(hint));
    return box;
}

}  // namespace

TGrottix3DEngineSetupForm::TGrottix3DEngineSetupForm(QWidget* owner, TCustomKey& applicationKey)
    : QDialog(owner),
      hardware_(MakeCheckBox(this, "Use hardware acceleration", "Enables or disables hardware acceleration")),
      safeMode_(MakeCheckBox(this, "Safe mode rendering", "Safe mode rendering, check to solve major rendering problems")),
      transparency_(MakeCheckBox(this, "Enable transparency", "Enables or disables transparency")),
      filtering_(MakeCheckBox(this, "Enable texture filtering", "Enables or disables texture filtering")),
      everyRoom_(MakeCheckBox(this, "Draw every room", "Draws every room, also those no doorway shows, for comparison")),
      note_(new QLabel(this)),
      presetButton_(new QPushButton(QStringLiteral("Presets..."), this)),
      presetMenu_(new QMenu(this)) {
    setWindowTitle(QStringLiteral("3D Engine Setup"));
    setFixedSize(301, 196);

    const auto presets = EnginePresets();
    for (size_t i = 0; i < presets.size(); ++i) {
        QAction* item = presetMenu_->addAction(QString::fromLatin1(presets[i].Caption));
        item->setCheckable(true);
        item->setToolTip(QString::fromLatin1(presets[i].Hint));
        item->setStatusTip(QString::fromLatin1(presets[i].Hint));
        connect(item, &QAction::triggered, this, [this, i] { ApplyPreset(i); });
        presetItems_[i] = item;
    }
    presetMenu_->setToolTipsVisible(true);
    presetButton_->setMenu(presetMenu_);
    connect(presetMenu_, &QMenu::aboutToShow, this, [this] { MenuTool1BeforePopup(); });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(hardware_, 0, 0);
    layout->addWidget(presetButton_, 0, 1);
    layout->addWidget(safeMode_, 1, 0);
    layout->addWidget(transparency_, 2, 0);
    layout->addWidget(filtering_, 3, 0);
    layout->addWidget(everyRoom_, 4, 0);
    note_->setWordWrap(true);
    note_->hide();
    layout->addWidget(note_, 5, 0, 1, 2);
    layout->setRowStretch(5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 6, 0, 1, 2);

    restorer_ = AttachDialogRestorer(*this, FormName, applicationKey);
}

void TGrottix3DEngineSetupForm::SetNote(const QString& text) {
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
    // The dialog keeps its size, a note's lines taller.
    setFixedSize(301, text.isEmpty() ? 196 : 196 + note_->heightForWidth(301 - 24));
}

TEngineOptions TGrottix3DEngineSetupForm::Options() const {
    return {hardware_->isChecked(), safeMode_->isChecked(), transparency_->isChecked(), filtering_->isChecked()};
}

void TGrottix3DEngineSetupForm::SetOptions(const TEngineOptions& options) {
    hardware_->setChecked(options.Hardware);
    safeMode_->setChecked(options.SafeMode);
    transparency_->setChecked(options.Transparency);
    filtering_->setChecked(options.Filtering);
}

void TGrottix3DEngineSetupForm::ApplyPreset(size_t index) { SetOptions(EnginePresets()[index].Options); }

void TGrottix3DEngineSetupForm::MenuTool1BeforePopup() {
    const std::optional<size_t> match = MatchingPreset(Options());
    for (size_t i = 0; i < presetItems_.size(); ++i) presetItems_[i]->setChecked(match == i);
}

void TGrottix3DEngineSetupForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SmoothShow(*this, 10);
}

void TGrottix3DEngineSetupForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) BringModalChildrenToFront(*this);
}

void TGrottix3DEngineSetupForm::done(int result) {
    StoreDialogPosition(*restorer_);
    QDialog::done(result);
}

bool ShowEngineSetupDialog(QWidget* owner, TCustomKey& applicationKey, bool& hardware, bool& safeMode,
                           bool& filtering, bool& transparency, const TModalRunner& run, bool* everyRoom,
                           const QString& note) {
    TGrottix3DEngineSetupForm form(owner, applicationKey);
    form.SetNote(note);
    form.SetOptions({hardware, safeMode, transparency, filtering});
    form.EveryRoomBox()->setVisible(everyRoom != nullptr);
    if (everyRoom) form.EveryRoomBox()->setChecked(*everyRoom);
    if (run(form) != QDialog::Accepted) return false;
    if (everyRoom) *everyRoom = form.EveryRoomBox()->isChecked();
    const TEngineOptions chosen = form.Options();
    hardware = chosen.Hardware;
    safeMode = chosen.SafeMode;
    transparency = chosen.Transparency;
    filtering = chosen.Filtering;
    return true;
}

}  // namespace grottix
