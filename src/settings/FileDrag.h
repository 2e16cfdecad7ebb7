#pragma once
// TFileDrag: lets its owner window accept local files dropped from the desktop. Each drop fills
// three parallel lists (full path, name, extension) and calls OnDrop. Every other event, and drops
// that carry no local file, go on to the window as before.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QDropEvent;
class QMimeData;
class QWidget;

namespace grottix {

class TFileDrag : public QObject {
public:
    // Attaches to `owner` when it is a widget; otherwise drops stay disabled for good.
    explicit TFileDrag(QObject* owner);
    ~TFileDrag() override;

    bool EnableDrop() const { return enableDrop_; }
    void SetEnableDrop(bool enable);

    int FileCount() const { return fileCount_; }
    const QStringList& FullPaths() const { return fullPaths_; }
    // The name after the last folder separator.
    const QStringList& ShortNames() const { return shortNames_; }
    // Everything after the first dot of the name, without the dot; empty when there is none.
    const QStringList& Extension() const { return extensions_; }

    std::function<void(TFileDrag& Sender)> OnDrop;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Accepts(const QMimeData* data) const;
    void TakeDrop(const QStringList& paths);

    QPointer<QWidget> window_;
    bool enableDrop_ = false;
    int fileCount_ = 0;
    QStringList fullPaths_;
    QStringList shortNames_;
    QStringList extensions_;
};

// The local files a drag carries, in order.
QStringList DroppedLocalFiles(const QMimeData* data);

}  // namespace grottix
