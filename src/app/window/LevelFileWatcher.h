#pragma once
// Watches the level file on screen for a new build: the file itself and its folder, since level
// tools often write a new file beside it and rename it over the old one (which a watch on the file
// alone loses). A change is reported once the file has stopped changing: its size, time and inode
// the same over kSettleMs.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QFileSystemWatcher;
class QTimer;

namespace grottix {

// What tells one version of a file from the next.
struct TFileStamp {
    qint64 size = -1, modified = -1;
    quint64 inode = 0;
    bool operator==(const TFileStamp&) const = default;
};
std::optional<TFileStamp> StampOf(const QString& path);

class TLevelFileWatcher : public QObject {
public:
    static constexpr int kSettleMs = 300;

    explicit TLevelFileWatcher(QObject* parent);
    // Watches path from now on, as it is now (empty: nothing).
    void Watch(const QString& path);
    const QString& Path() const { return path_; }

    // The file changed and has settled.
    std::function<void()> OnChanged = [] {};

private:
    void somethingChanged();
    void poll();
    void rewatch();

    QFileSystemWatcher* watcher_;
    QTimer* settle_;
    QString path_;
    std::optional<TFileStamp> loaded_, last_;  // the stamp on screen, and at the last poll
    int stableMs_ = 0;
};

}  // namespace grottix
