#include "app/panels/ModelsDock.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "app/panels/AnimationFacts.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

TModelsDock::TModelsDock(QWidget* parent) : QDockWidget(tr("Models"), parent) {
    setObjectName(QStringLiteral("ModelsPanel"));
    model_ = new TModelsModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(TModelsModel::SortRole);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy_->setFilterKeyColumn(-1);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    filter_ = new QLineEdit(body);
    filter_->setPlaceholderText(tr("Filter"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
    table_ = new QTableView(body);
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableView::activated, this, &TModelsDock::rowChosen);
    connect(table_, &QTableView::clicked, this, &TModelsDock::rowChosen);
    layout->addWidget(filter_);
    layout->addWidget(table_, 1);
    layout->addWidget(createTimeline());
    setWidget(body);
}

QWidget* TModelsDock::createTimeline() {
    timeline_ = new QWidget(this);
    auto* layout = new QVBoxLayout(timeline_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* controls = new QHBoxLayout;
    animation_ = new QSpinBox(timeline_);
    animation_->setPrefix(tr("Animation "));
    frame_ = new QLabel(timeline_);
    play_ = new QPushButton(tr("Play"), timeline_);
    pause_ = new QPushButton(tr("Pause"), timeline_);
    step_ = new QPushButton(tr("Step"), timeline_);
    loop_ = new QCheckBox(tr("Loop"), timeline_);
    loop_->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{animation_, frame_, play_, pause_, step_, loop_}) controls->addWidget(w);
    controls->addStretch(1);
    record_ = new QLabel(timeline_);
    facts_ = new QPlainTextEdit(timeline_);
    facts_->setReadOnly(true);
    facts_->setMaximumHeight(110);
    layout->addLayout(controls);
    layout->addWidget(record_);
    layout->addWidget(facts_);
    connect(animation_, &QSpinBox::valueChanged, this, [this](int value) { OnAnimation(value); });
    connect(play_, &QPushButton::clicked, this, [this] { OnPlay(true); });
    connect(pause_, &QPushButton::clicked, this, [this] { OnPlay(false); });
    connect(step_, &QPushButton::clicked, this, [this] { OnStep(); });
    connect(loop_, &QCheckBox::toggled, this, [this](bool on) { OnLoop(on); });
    timeline_->setEnabled(false);
    return timeline_;
}

void TModelsDock::SetLevel(const TTombRaiderLevel* level) {
    model_->SetRows(ModelRows(level));
    tables_ = level ? ReadLevelAnimations(*level) : TLevelAnimations{};
    ShowModel(false, 0, 0);
}

int TModelsDock::RowOf(int modelRow) const { return proxy_->mapFromSource(model_->index(modelRow, 0)).row(); }

void TModelsDock::rowChosen(const QModelIndex& current) {
    const QModelIndex source = proxy_->mapToSource(current);
    if (source.isValid() && size_t(source.row()) < model_->Rows().size()) OnChosen(model_->Rows()[size_t(source.row())]);
}

void TModelsDock::ShowModel(bool shown, int firstAnimation, int animations) {
    timeline_->setEnabled(shown && animations > 0);
    const QSignalBlocker blocker(animation_);
    animation_->setRange(firstAnimation, firstAnimation + std::max(animations, 1) - 1);
    animation_->setValue(firstAnimation);
    described_ = -1;
    frame_->clear();
    record_->clear();
    facts_->clear();
}

void TModelsDock::ShowFrame(int animation, double frame, bool playing) {
    if (animation_->value() != animation && animation >= animation_->minimum() && animation <= animation_->maximum()) {
        const QSignalBlocker blocker(animation_);
        animation_->setValue(animation);
    }
    frame_->setText(tr("Frame %1").arg(int(frame)));
    play_->setEnabled(!playing);
    pause_->setEnabled(playing);
    if (animation != described_) describe(animation);
}

void TModelsDock::describe(int animation) {
    described_ = animation;
    if (animation < 0 || size_t(animation) >= tables_.animations.size()) return;
    const TAnimation& record = tables_.animations[size_t(animation)];
    record_->setText(tr("State %1, frame rate %2, frames %3-%4, next animation %5 at frame %6")
                         .arg(record.state)
                         .arg(record.frameRate)
                         .arg(record.frameStart)
                         .arg(record.frameEnd)
                         .arg(record.nextAnimation)
                         .arg(record.nextFrame));
    QStringList lines = StateChangeWords(tables_, size_t(animation));
    lines << CommandWords(tables_, size_t(animation));
    facts_->setPlainText(lines.join(QLatin1Char('\n')));
}

}  // namespace grottix
