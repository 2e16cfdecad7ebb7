#include "app/dialogs/OpenLevelDialog.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogRestorer.h"
#include "app/dialogs/FileDialogFilter.h"
#include "app/dialogs/LightFactor.h"
#include "widgets/ButtonEdit.h"

namespace grottix {

namespace {

constexpr const char* FormName = "ImportTombRaiderMapForm";

void SetHint(QWidget& widget, const QString& hint) {
    widget.setToolTip(hint);
    widget.setStatusTip(hint);
}

QSlider* MakeTrackBar(QWidget* parent) {
    auto* track = new QSlider(Qt::Horizontal, parent);
    track->setRange(LightTrackMinimum, LightTrackMaximum);
    track->setValue(LightTrackDesignPosition);
    track->setTickInterval(1);
    track->setTickPosition(QSlider::TicksBelow);
    track->setPageStep(1);
    SetHint(*track, QStringLiteral("Adjust the gamma correction"));
    return track;
}

}  // namespace

TImportTombRaiderMapForm::TImportTombRaiderMapForm(QWidget* owner, TCustomKey& applicationKey)
    : QDialog(owner), fileEdit_(new TButtonEdit(this)), trackBar_(MakeTrackBar(this)), lightFactor_("LightFactor") {
    setWindowTitle(QStringLiteral("Open Tomb Raider Map"));
    setFixedSize(531, 172);
    SetHint(*fileEdit_, QStringLiteral("Filename of a Tomb Raider map"));

    auto* mapLabel = new QLabel(QStringLiteral("Tomb Raider map:"), this);
    mapLabel->setBuddy(fileEdit_);
    auto* gammaLabel = new QLabel(QStringLiteral("Gamma correction:"), this);
    gammaLabel->setBuddy(trackBar_);
    auto* ends = new QHBoxLayout;
    ends->addWidget(new QLabel(QStringLiteral("Dark"), this));
    ends->addStretch();
    ends->addWidget(new QLabel(QStringLiteral("Light"), this));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(fileEdit_->Button(), &QToolButton::clicked, this, [this] { FileEdit1Btn1Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mapLabel);
    layout->addWidget(fileEdit_);
    layout->addWidget(gammaLabel);
    layout->addWidget(trackBar_);
    layout->addLayout(ends);
    layout->addStretch();
    layout->addLayout(buttons);

    restorer_ = AttachDialogRestorer(*this, FormName, applicationKey);
    lightFactor_.SetKey(restorer_);
    FormCreate();
}

void TImportTombRaiderMapForm::FormCreate() {
    try {
        if (const auto position = StoredTrackPosition(lightFactor_.ReadValue())) trackBar_->setValue(*position);
    } catch (const EGrottixError&) {
        // An unreadable setting leaves the design position.
    }
}

void TImportTombRaiderMapForm::FormDestroy() {
    try {
        lightFactor_.WriteValue(TVariant(int32_t{trackBar_->value()}));
    } catch (const EGrottixError&) {
    }
}

void TImportTombRaiderMapForm::FileEdit1Btn1Click() {
    QFileDialog openDialog1(this);
    openDialog1.setNameFilter(QtFileFilter(QString::fromLatin1(OpenLevelFilter)));
    openDialog1.setFileMode(QFileDialog::ExistingFile);
    openDialog1.setAcceptMode(QFileDialog::AcceptOpen);
    const QFileInfo current(fileEdit_->Text());
    if (!fileEdit_->Text().isEmpty() && current.dir().exists()) openDialog1.setDirectory(current.dir());
    if (OpenDialogRunner(openDialog1) != QDialog::Accepted) return;
    const QStringList chosen = openDialog1.selectedFiles();
    if (!chosen.isEmpty()) fileEdit_->SetText(chosen.front());
}

void TImportTombRaiderMapForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SmoothShow(*this, 10);
}

void TImportTombRaiderMapForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) BringModalChildrenToFront(*this);
}

void TImportTombRaiderMapForm::done(int result) {
    StoreDialogPosition(*restorer_);
    QDialog::done(result);
}

bool ShowOpenLevelDialog(QWidget* owner, TCustomKey& applicationKey, std::string& path, float& lightFactor,
                         const TModalRunner& run) {
    TImportTombRaiderMapForm form(owner, applicationKey);
    form.FileEdit1()->SetText(QString::fromStdString(path));
    if (const auto position = TrackPositionForFactor(lightFactor)) form.TrackBar1()->setValue(*position);
    bool accepted = false;
    try {
        accepted = run(form) == QDialog::Accepted;
    } catch (...) {
        form.FormDestroy();
        throw;
    }
    if (accepted) {
        path = form.FileEdit1()->Text().toStdString();
        lightFactor = LightFactorForPosition(form.TrackBar1()->value());
    }
    form.FormDestroy();
    return accepted;
}

}  // namespace grottix
