#include "app/window/LevelFileWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <sys/stat.h>

namespace grottix {

namespace {
constexpr int kPollMs = 100;
}

std::optional<TFileStamp> StampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return TFileStamp{qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec, quint64(info.st_ino)};
}

TLevelFileWatcher::TLevelFileWatcher(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this)) {
    settle_->setInterval(kPollMs);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { somethingChanged(); });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { somethingChanged(); });
    connect(settle_, &QTimer::timeout, this, [this] { poll(); });
}

void TLevelFileWatcher::Watch(const QString& path) {
    settle_->stop();
    path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    loaded_ = last_ = path_.isEmpty() ? std::nullopt : StampOf(path_);
    rewatch();
}

void TLevelFileWatcher::rewatch() {
    if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
    if (path_.isEmpty()) return;
    watcher_->addPath(QFileInfo(path_).absolutePath());
    // A file replaced by a rename is a new file: the watch goes to it.
    if (QFileInfo::exists(path_)) watcher_->addPath(path_);
}

void TLevelFileWatcher::somethingChanged() {
    if (path_.isEmpty() || StampOf(path_) == loaded_) return;
    stableMs_ = 0;
    last_ = StampOf(path_);
    settle_->start();
}

void TLevelFileWatcher::poll() {
    const std::optional<TFileStamp> now = StampOf(path_);
    if (now != last_) {
        last_ = now;
        stableMs_ = 0;
        return;
    }
    stableMs_ += kPollMs;
    if (stableMs_ < kSettleMs) return;
    settle_->stop();
    rewatch();
    // A file that is gone (being replaced) is waited for; one back as it was is no change.
    if (!now || now == loaded_) return;
    loaded_ = now;
    OnChanged();
}

}  // namespace grottix
