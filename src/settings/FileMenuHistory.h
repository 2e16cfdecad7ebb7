#pragma once
// TFileMenuHistory: the numbered recent-files items of a menu. It keeps the paths, most recent
// first, shows one item per path in up to ten slots, and reports a click on an item through OnOpen.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>

class QAction;

namespace grottix {

class TFileMenuHistory : public QObject {
public:
    static constexpr int SlotCount = 10;
    // AddPath keeps this many; a list set directly may fill every slot.
    static constexpr int MaxAddedPaths = 9;

    explicit TFileMenuHistory(QObject* owner = nullptr);

    QAction* MenuItem(int index) const;
    // Puts `item` in slot `index` (0..9) and routes its clicks here; any other handler of its
    // clicks is dropped. A null item empties the slot. Fails with "Index out of range.".
    void AssignMenuItem(int index, QAction* item);

    // The list itself: changes made through it show at the next refresh.
    QStringList& Paths() { return paths_; }
    const QStringList& Paths() const { return paths_; }
    // Takes the non-blank lines of `paths` when its text differs from the current list; refreshes
    // the menu in any case.
    void SetPaths(const QStringList& paths);
    // Puts a path not yet listed (in any letter case) at the front, keeping at most nine.
    void AddPath(const QString& path);
    void RefreshMenu();

    std::function<void(QAction* Sender, const QString& FileName)> OnOpen;

private:
    void ItemClick(QAction* item);
    void ShowItems();

    std::array<QPointer<QAction>, SlotCount> items_;
    QStringList paths_;
};

}  // namespace grottix
