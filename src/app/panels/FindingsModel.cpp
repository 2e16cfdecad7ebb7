#include "app/panels/FindingsModel.h"

namespace grottix {

namespace {

int given(const std::optional<int>& value) { return value.value_or(-1); }

}  // namespace

std::vector<TFindingRow> ProblemRows(const std::vector<TLevelFinding>& findings) {
    std::vector<TFindingRow> rows;
    rows.reserve(findings.size());
    for (const TLevelFinding& f : findings)
        rows.push_back({QString::fromStdString(f.kind), QString::fromStdString(f.message), given(f.room), given(f.x), given(f.z), given(f.item)});
    return rows;
}

std::vector<TFindingRow> DifferenceRows(const std::vector<TLevelDifference>& differences, int items, int rooms) {
    std::vector<TFindingRow> rows;
    rows.reserve(differences.size());
    for (const TLevelDifference& d : differences) {
        TFindingRow row{QString::fromLatin1(DiffSectionName(d.section)) + QLatin1Char(' ') + QString::fromStdString(d.change),
                        QString::fromStdString(d.message)};
        if (d.room && *d.room >= 0 && *d.room < rooms) {
            row.room = *d.room;
            row.x = given(d.x);
            row.z = given(d.z);
        }
        if (d.section == TDiffSection::Items && d.index && *d.index < items) row.item = *d.index;
        rows.push_back(std::move(row));
    }
    return rows;
}

void TFindingsModel::SetRows(std::vector<TFindingRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TFindingsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int TFindingsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TFindingsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= rows_.size()) return {};
    if (role != Qt::DisplayRole && role != SortRole) return {};
    const TFindingRow& row = rows_[size_t(index.row())];
    const auto number = [&](int value) { return value < 0 ? (role == SortRole ? QVariant(-1) : QVariant()) : QVariant(value); };
    switch (index.column()) {
        case Kind: return row.kind;
        case Room: return number(row.room);
        case Square:
            if (row.x < 0) return role == SortRole ? QVariant(-1) : QVariant();
            return role == SortRole ? QVariant(row.x * 65536 + row.z) : QVariant(QStringLiteral("%1, %2").arg(row.x).arg(row.z));
        case Item: return number(row.item);
        case Message: return row.message;
        default: return {};
    }
}

QVariant TFindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[ColumnCount] = {"Kind", "Room", "Square", "Item", "Message"};
    return section >= 0 && section < ColumnCount ? QVariant(tr(names[section])) : QVariant();
}

}  // namespace grottix
