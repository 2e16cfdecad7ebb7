#include "app/panels/TriggersDock.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "app/panels/Selection.h"
#include "app/panels/TriggersModel.h"
#include "level/FloorDataNames.h"

namespace grottix {

namespace {

QString triggerCount(int count) {
    return count == 1 ? TTriggersDock::tr("1 trigger") : TTriggersDock::tr("%1 triggers").arg(count);
}

}  // namespace

TTriggersDock::TTriggersDock(TSelection& selection, QWidget* parent)
    : QDockWidget(tr("Triggers"), parent), selection_(selection) {
    setObjectName(QStringLiteral("TriggersPanel"));
    model_ = new TTriggersModel(this);
    filter_ = new TTriggerFilter(this);
    filter_->setSourceModel(model_);
    filter_->setSortRole(TTriggersModel::SortRole);

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* top = new QHBoxLayout;
    label_ = new QLabel(body);
    showAll_ = new QPushButton(tr("Show All"), body);
    goTo_ = new QPushButton(tr("Go To"), body);
    goTo_->setToolTip(tr("Select the trigger's square and go there"));
    top->addWidget(label_, 1);
    top->addWidget(showAll_);
    top->addWidget(goTo_);
    layout->addLayout(top);

    table_ = new QTableView(body);
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(TTriggersModel::Room, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    setWidget(body);

    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { rowChosen(current); });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { GoToRow(index.row()); });
    connect(goTo_, &QPushButton::clicked, this, [this] {
        const QModelIndex current = table_->currentIndex();
        if (current.isValid()) GoToRow(current.row());
    });
    connect(showAll_, &QPushButton::clicked, this, &TTriggersDock::showAll);
    connect(&selection_, &TSelection::Changed, this, &TTriggersDock::selectionChanged);
    updateLabel();
}

void TTriggersDock::SetLevel(std::shared_ptr<const TInspectedLevel> level) {
    level_ = level;
    filter_->SetItem(-1);
    model_->SetLevel(std::move(level));
    table_->resizeColumnsToContents();
    updateLabel();
}

void TTriggersDock::GoToRow(int viewRow) {
    const QModelIndex source = filter_->mapToSource(filter_->index(viewRow, 0));
    const TLevelTrigger* trigger = model_->Trigger(source.row());
    if (!trigger) return;
    selection_.SelectSector(trigger->room, trigger->x, trigger->z);
    selection_.RequestGoTo();
}

// Selecting an item narrows the list to the triggers acting on it; selecting a square selects its
// triggers' rows (listing every trigger again if the list hides them); a room leaves the list alone.
void TTriggersDock::selectionChanged() {
    if (selection_.Kind() == TSelection::TKind::Item) {
        following_ = true;
        filter_->SetItem(selection_.Item());
        following_ = false;
        updateLabel();
    }
    selectSquaresRows();
}

void TTriggersDock::rowChosen(const QModelIndex& current) {
    if (following_ || !current.isValid()) return;
    const TLevelTrigger* trigger = model_->Trigger(filter_->mapToSource(current).row());
    if (trigger) selection_.SelectSector(trigger->room, trigger->x, trigger->z);
}

void TTriggersDock::selectSquaresRows() {
    const bool square = selection_.Kind() == TSelection::TKind::Sector;
    const auto onSquare = [&](int row) {
        const TLevelTrigger* t = model_->Trigger(filter_->mapToSource(filter_->index(row, 0)).row());
        if (!t) return false;
        const TFloorSquare chosen{uint16_t(selection_.Room()), uint16_t(selection_.Column()), uint16_t(selection_.Row())};
        return std::find(t->squares.begin(), t->squares.end(), chosen) != t->squares.end();
    };
    following_ = true;
    if (square && filter_->Item() >= 0) {
        bool listed = false;
        for (int row = 0; row < filter_->rowCount() && !listed; ++row) listed = onSquare(row);
        if (!listed) showAll();
    }
    QItemSelection rows;
    for (int row = 0; square && row < filter_->rowCount(); ++row)
        if (onSquare(row)) rows.select(filter_->index(row, 0), filter_->index(row, TTriggersModel::ColumnCount - 1));
    QItemSelectionModel* chosen = table_->selectionModel();
    if (rows.isEmpty()) {
        chosen->clear();
    } else {
        chosen->setCurrentIndex(rows.first().topLeft(), QItemSelectionModel::NoUpdate);
        chosen->select(rows, QItemSelectionModel::ClearAndSelect);
        table_->scrollTo(rows.first().topLeft());
    }
    following_ = false;
}

void TTriggersDock::showAll() {
    const bool following = std::exchange(following_, true);
    filter_->SetItem(-1);
    following_ = following;
    updateLabel();
}

void TTriggersDock::updateLabel() {
    const int item = filter_->Item();
    showAll_->setEnabled(item >= 0);
    if (!level_) {
        label_->setText(tr("No level"));
    } else if (item < 0) {
        label_->setText(triggerCount(model_->rowCount()));
    } else {
        const QString name = QString::fromStdString(DescribeItem(level_->VersionCode, item, level_->Entities));
        label_->setText(tr("%1 acting on %2").arg(triggerCount(filter_->rowCount()), name));
    }
}

}  // namespace grottix
