#include "app/panels/FindingsDock.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace grottix {

TFindingsDock::TFindingsDock(const QString& title, TSelection& selection, QWidget* parent)
    : QDockWidget(title, parent), selection_(&selection), model_(new TFindingsModel(this)), proxy_(new QSortFilterProxyModel(this)) {
    auto* body = new QWidget(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(TFindingsModel::SortRole);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    summary_ = new QLabel(body);
    filter_ = new QLineEdit(body);
    filter_->setPlaceholderText(tr("Filter"));
    filter_->setClearButtonEnabled(true);
    table_ = new QTableView(body);
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // in the order found until a heading is clicked
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->installEventFilter(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(summary_);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    setWidget(body);

    connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
    connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) { rowChosen(index); });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        rowChosen(index);
        if (selection_) selection_->RequestGoTo();
    });
}

void TFindingsDock::SetRows(std::vector<TFindingRow> rows, const QString& summary) {
    model_->SetRows(std::move(rows));
    summary_->setText(summary);
    table_->resizeColumnsToContents();
}

void TFindingsDock::rowChosen(const QModelIndex& current) {
    if (!current.isValid() || !selection_) return;
    const int index = proxy_->mapToSource(current).row();
    if (index < 0 || size_t(index) >= model_->Rows().size()) return;
    const TFindingRow& row = model_->Rows()[size_t(index)];
    if (row.item >= 0) selection_->SelectItem(row.item);
    else if (row.room >= 0 && row.x >= 0) selection_->SelectSector(row.room, row.x, row.z);
    else if (row.room >= 0) selection_->SelectRoom(row.room);
}

bool TFindingsDock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table_->currentIndex().isValid()) {
            rowChosen(table_->currentIndex());
            if (selection_) selection_->RequestGoTo();
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

}  // namespace grottix
