#include "app/panels/LevelTableDock.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace grottix {

TLevelTableDock::TLevelTableDock(const QString& title, QAbstractTableModel* model, int sortRole, TSelection& selection,
                                 TSelection::TKind kind, QWidget* parent)
    : TLevelTableDock(
          title, model, sortRole, selection, [kind](int row) { return TSelectionTarget{kind, row}; },
          [kind](const TSelection& s) { return kind == TSelection::TKind::Room ? s.Room() : s.Index(kind); }, parent) {}

TLevelTableDock::TLevelTableDock(const QString& title, QAbstractTableModel* model, int sortRole, TSelection& selection,
                                 TTargetAt targetAt, TRowOf rowOf, QWidget* parent)
    : QDockWidget(title, parent), selection_(&selection), targetAt_(std::move(targetAt)), rowOf_(std::move(rowOf)), model_(model) {
    auto* body = new QWidget(this);
    model_->setParent(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(sortRole);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filter_ = new QLineEdit(body);
    filter_->setPlaceholderText(tr("Filter"));
    filter_->setClearButtonEnabled(true);
    table_ = new QTableView(body);
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    // Fixed row heights keep tables of many thousand rows quick to lay out.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->installEventFilter(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    setWidget(body);

    // Filtering moves the table's current row, which must not change what is selected.
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        following_ = true;
        proxy_->setFilterFixedString(text);
        following_ = false;
        followSelection();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { rowChosen(current); });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        rowChosen(index);
        if (selection_) selection_->RequestGoTo();
    });
    connect(&selection, &TSelection::Changed, this, [this] { followSelection(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        hideEmptyColumns();
        table_->resizeColumnsToContents();
        followSelection();
    });
}

void TLevelTableDock::hideEmptyColumns() {
    for (int column = 0; column < model_->columnCount(); ++column) {
        const QVariant shown = model_->headerData(column, Qt::Horizontal, kColumnShownRole);
        table_->setColumnHidden(column, shown.isValid() && !shown.toBool());
    }
}

int TLevelTableDock::IndexAtRow(int row) const {
    const QModelIndex index = proxy_->mapToSource(proxy_->index(row, 0));
    return index.isValid() ? index.row() : -1;
}

int TLevelTableDock::RowOfIndex(int index) const {
    if (index < 0 || index >= model_->rowCount()) return -1;
    const QModelIndex row = proxy_->mapFromSource(model_->index(index, 0));
    return row.isValid() ? row.row() : -1;
}

void TLevelTableDock::rowChosen(const QModelIndex& current) {
    if (following_ || !current.isValid() || !selection_) return;
    const TSelectionTarget target = targetAt_(proxy_->mapToSource(current).row());
    selection_->Select(target.kind, target.index);
}

void TLevelTableDock::followSelection() {
    const int index = selection_ ? rowOf_(*selection_) : -1;
    const QModelIndex row = index >= 0 && index < model_->rowCount() ? proxy_->mapFromSource(model_->index(index, 0)) : QModelIndex();
    following_ = true;
    if (row.isValid()) {
        table_->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table_->scrollTo(row);
    } else {
        // Cleared, current row included, so that choosing the same row again selects it again.
        table_->selectionModel()->clear();
    }
    following_ = false;
}

bool TLevelTableDock::eventFilter(QObject* watched, QEvent* event) {
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
