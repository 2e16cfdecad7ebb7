#include "settings/FileDrag.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace grottix {

QStringList DroppedLocalFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

TFileDrag::TFileDrag(QObject* owner) : QObject(owner), window_(qobject_cast<QWidget*>(owner)) {
    if (window_) window_->installEventFilter(this);
    SetEnableDrop(false);
}

TFileDrag::~TFileDrag() {
    if (!window_) return;
    window_->removeEventFilter(this);
    window_->setAcceptDrops(false);
}

void TFileDrag::SetEnableDrop(bool enable) {
    enableDrop_ = enable && window_;
    if (window_) window_->setAcceptDrops(enableDrop_);
}

bool TFileDrag::Accepts(const QMimeData* data) const { return enableDrop_ && !DroppedLocalFiles(data).isEmpty(); }

bool TFileDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return false;
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!Accepts(drag->mimeData())) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!Accepts(drop->mimeData())) return false;
            drop->acceptProposedAction();
            TakeDrop(DroppedLocalFiles(drop->mimeData()));
            return true;
        }
        default: return false;
    }
}

void TFileDrag::TakeDrop(const QStringList& paths) {
    fullPaths_.clear();
    shortNames_.clear();
    extensions_.clear();
    fileCount_ = static_cast<int>(paths.size());
    for (const QString& path : paths) {
        const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
        const QString name = path.mid(nameStart);
        const qsizetype dot = name.indexOf(u'.');
        fullPaths_ << path;
        shortNames_ << name;
        extensions_ << (dot < 0 ? QString() : name.mid(dot + 1));
    }
    if (OnDrop) OnDrop(*this);
}

}  // namespace grottix
