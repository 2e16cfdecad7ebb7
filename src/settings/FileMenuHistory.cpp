#include "settings/FileMenuHistory.h"

#include <QAction>

#include "storage/Exceptions.h"

namespace grottix {

namespace {

QString TextOf(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) text += line + QStringLiteral("\r\n");
    return text;
}

// A menu caption takes '&' as the mark of the shortcut letter; a path shows its own as they are.
QString CaptionOf(int number, const QString& path) {
    QString shown = path;
    shown.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1. %2").arg(number).arg(shown);
}

}  // namespace

TFileMenuHistory::TFileMenuHistory(QObject* owner) : QObject(owner) {}

QAction* TFileMenuHistory::MenuItem(int index) const {
    if (index < 0 || index >= SlotCount) throw EGrottixError("Index out of range.");
    return items_[static_cast<size_t>(index)];
}

void TFileMenuHistory::AssignMenuItem(int index, QAction* item) {
    if (index < 0 || index >= SlotCount) throw EGrottixError("Index out of range.");
    QPointer<QAction>& slot = items_[static_cast<size_t>(index)];
    if (slot && slot != item) QObject::disconnect(slot, &QAction::triggered, this, nullptr);
    slot = item;
    if (!item) return;
    QObject::disconnect(item, &QAction::triggered, nullptr, nullptr);
    QObject::connect(item, &QAction::triggered, this, [this, item] { ItemClick(item); });
}

void TFileMenuHistory::SetPaths(const QStringList& paths) {
    if (TextOf(paths) != TextOf(paths_)) {
        QStringList kept;
        for (const QString& path : paths) {
            if (!path.trimmed().isEmpty()) kept << path;
        }
        paths_ = std::move(kept);
    }
    ShowItems();
}

void TFileMenuHistory::AddPath(const QString& path) {
    if (!paths_.contains(path, Qt::CaseInsensitive)) {
        paths_.prepend(path);
        while (paths_.size() > MaxAddedPaths) paths_.removeLast();
    }
    RefreshMenu();
}

void TFileMenuHistory::RefreshMenu() { SetPaths(QStringList(paths_)); }

void TFileMenuHistory::ItemClick(QAction* item) {
    for (int index = 0; index < SlotCount; ++index) {
        if (items_[static_cast<size_t>(index)] != item) continue;
        if (index < paths_.size() && OnOpen) OnOpen(item, paths_[index]);
        return;
    }
}

// Slot i always shows path i; the numbers count only the items actually shown.
void TFileMenuHistory::ShowItems() {
    for (const QPointer<QAction>& item : items_) {
        if (item) item->setVisible(false);
    }
    int shown = 0;
    for (int index = 0; index < SlotCount && index < paths_.size(); ++index) {
        QAction* item = items_[static_cast<size_t>(index)];
        if (!item) continue;
        item->setVisible(true);
        item->setText(CaptionOf(++shown, paths_[index]));
    }
}

}  // namespace grottix
