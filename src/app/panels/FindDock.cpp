#include "app/panels/FindDock.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>

#include "app/panels/PlacementModels.h"
#include "level/FloorDataNames.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

using TKind = TSelection::TKind;

TFindHit thing(TKind kind, int index, const QString& what, const QString& text) {
    TFindHit hit;
    hit.kind = kind;
    hit.index = index;
    hit.what = what;
    hit.text = text;
    hit.folded = text.toLower();
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    for (auto match = digits.globalMatch(text); match.hasNext();) {
        QString number = match.next().captured();
        while (number.size() > 1 && number.startsWith(QLatin1Char('0'))) number.remove(0, 1);
        hit.numbers << number;
    }
    return hit;
}

QString withProblem(const QString& text, const std::string& problem) {
    return problem.empty() ? text : TFindDock::tr("%1; problem: %2").arg(text, QString::fromStdString(problem));
}

}  // namespace

std::vector<TFindHit> FindableThings(const TInspectedLevel& level) {
    const int code = level.VersionCode;
    std::vector<TFindHit> things;
    for (size_t i = 0; i < level.Entities.size(); ++i) {
        const TLevelEntity& e = level.Entities[i];
        things.push_back(thing(TKind::Item, int(i), TFindDock::tr("Item"),
                               TFindDock::tr("Item #%1 %2 in room %3").arg(i).arg(QString::fromStdString(ObjectName(code, e.type))).arg(e.room)));
    }
    const auto& rooms = level.Level->Rooms;
    for (size_t i = 0; i < rooms.size(); ++i) {
        QString text = TFindDock::tr("Room %1").arg(i);
        if (rooms[i].flags[0] & 0x1) text += TFindDock::tr(", water");
        if (rooms[i].alternateRoom >= 0) text += TFindDock::tr(", alternate room %1").arg(rooms[i].alternateRoom);
        things.push_back(thing(TKind::Room, int(i), TFindDock::tr("Room"), text));
    }
    const auto add = [&](TKind kind, const QString& what, const auto& list) {
        for (size_t i = 0; i < list.size(); ++i)
            things.push_back(thing(kind, int(i), what, withProblem(PlacementName(level, kind, int(i)), list[i].problem)));
    };
    add(TKind::Light, TFindDock::tr("Light"), level.Lights);
    add(TKind::Static, TFindDock::tr("Static mesh"), level.Statics);
    add(TKind::Camera, TFindDock::tr("Camera"), level.Cameras);
    add(TKind::FlybyCamera, TFindDock::tr("Fly-by camera"), level.FlybyCameras);
    add(TKind::SoundSource, TFindDock::tr("Sound source"), level.SoundSources);
    // Triggers last: what a trigger does names the things above, which come first.
    for (size_t i = 0; i < level.Floor.triggers.size(); ++i) {
        const TLevelTrigger& t = level.Floor.triggers[i];
        QStringList actions;
        for (const TTriggerStep& step : t.actions) actions << QString::fromStdString(DescribeTriggerAction(code, step, level.Entities));
        TFindHit hit = thing(TKind::Sector, int(i), TFindDock::tr("Trigger"),
                             TFindDock::tr("Trigger (%1) at room %2, square %3, %4: %5")
                                 .arg(QString::fromStdString(TriggerTypeName(code, t.type)))
                                 .arg(t.room)
                                 .arg(t.x)
                                 .arg(t.z)
                                 .arg(actions.join(QStringLiteral("; "))));
        hit.room = t.room, hit.column = t.x, hit.row = t.z;
        things.push_back(hit);
    }
    return things;
}

bool FindMatches(const TFindHit& thing, const QString& query) {
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    static const QRegularExpression number(QStringLiteral("^#?0*(\\d+)$"));
    const QStringList words = query.split(spaces, Qt::SkipEmptyParts);
    if (words.isEmpty()) return false;
    for (const QString& word : words) {
        const QRegularExpressionMatch digits = number.match(word);
        if (digits.hasMatch() ? !thing.numbers.contains(digits.captured(1)) : !thing.folded.contains(word.toLower())) return false;
    }
    return true;
}

void TFindModel::SetLevel(const TInspectedLevel* level) {
    beginResetModel();
    things_ = level ? FindableThings(*level) : std::vector<TFindHit>();
    endResetModel();
}

const TFindHit* TFindModel::Hit(int row) const { return row >= 0 && size_t(row) < things_.size() ? &things_[size_t(row)] : nullptr; }

int TFindModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(things_.size()); }

int TFindModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TFindModel::data(const QModelIndex& index, int role) const {
    const TFindHit* hit = Hit(index.row());
    if (!hit || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return index.column() == What ? hit->what : hit->text;
}

QVariant TFindModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == What ? tr("What") : section == Found ? tr("Found") : QVariant();
}

void TFindFilter::SetQuery(const QString& query) {
    query_ = query;
    invalidate();
}

// Things whose description starts with the query's first word ("room 3", "light 2") come first,
// then the rest in the order FindableThings lists them.
bool TFindFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto* model = static_cast<const TFindModel*>(sourceModel());
    const TFindHit *a = model->Hit(left.row()), *b = model->Hit(right.row());
    if (!a || !b) return left.row() < right.row();
    const QString first = query_.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
    const bool aLeads = !first.isEmpty() && a->folded.startsWith(first), bLeads = !first.isEmpty() && b->folded.startsWith(first);
    return aLeads != bLeads ? aLeads : left.row() < right.row();
}

bool TFindFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const auto* model = static_cast<const TFindModel*>(sourceModel());
    const TFindHit* hit = model->Hit(sourceRow);
    return hit && FindMatches(*hit, query_);
}

TFindDock::TFindDock(QWidget* parent) : QDockWidget(tr("Find"), parent) {
    setObjectName(QStringLiteral("FindPanel"));
    auto* body = new QWidget(this);
    model_ = new TFindModel(this);
    filter_ = new TFindFilter(this);
    filter_->setSourceModel(model_);
    filter_->sort(0);
    box_ = new QLineEdit(body);
    box_->setPlaceholderText(tr("Name or number: lever, sink, wolf, room 3"));
    box_->setClearButtonEnabled(true);
    box_->installEventFilter(this);
    count_ = new QLabel(body);
    results_ = new QTableView(body);
    results_->setModel(filter_);
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->setWordWrap(false);
    results_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    results_->verticalHeader()->setDefaultSectionSize(results_->fontMetrics().height() + 4);
    results_->verticalHeader()->hide();
    results_->horizontalHeader()->setStretchLastSection(true);
    results_->installEventFilter(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(box_);
    layout->addWidget(count_);
    layout->addWidget(results_);
    setWidget(body);

    connect(box_, &QLineEdit::textChanged, this, [this](const QString& text) { search(text); });
    connect(box_, &QLineEdit::returnPressed, this, [this] {
        const QModelIndex current = results_->currentIndex();
        ChooseRow(current.isValid() ? current.row() : 0);
    });
    connect(results_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { ChooseRow(index.row()); });
    search(QString());
}

void TFindDock::SetLevel(std::shared_ptr<const TInspectedLevel> level) {
    level_ = std::move(level);
    model_->SetLevel(level_.get());
    search(box_->text());
}

void TFindDock::Activate() {
    show();
    raise();
    box_->setFocus(Qt::ShortcutFocusReason);
    box_->selectAll();
}

void TFindDock::ChooseRow(int row) {
    const TFindHit* hit = model_->Hit(filter_->mapToSource(filter_->index(row, 0)).row());
    if (!hit) return;
    results_->setCurrentIndex(filter_->index(row, 0));
    OnChosen(*hit);
}

void TFindDock::search(const QString& query) {
    filter_->SetQuery(query);
    const int found = filter_->rowCount();
    if (!level_) count_->setText(tr("No level"));
    else if (query.trimmed().isEmpty()) count_->setText(tr("Type a name or a number"));
    else count_->setText(found == 1 ? tr("1 found") : tr("%1 found").arg(found));
    results_->resizeColumnToContents(TFindModel::What);
}

bool TFindDock::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Down from the box walks into the list.
        if (watched == box_ && key == Qt::Key_Down && filter_->rowCount() > 0) {
            results_->setFocus();
            results_->setCurrentIndex(filter_->index(0, 0));
            return true;
        }
        if (watched == results_ && (key == Qt::Key_Return || key == Qt::Key_Enter) && results_->currentIndex().isValid()) {
            ChooseRow(results_->currentIndex().row());
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

}  // namespace grottix
