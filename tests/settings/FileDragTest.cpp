#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "settings/FileDrag.h"

namespace grottix {
namespace {

class TDropWindow : public QWidget {
public:
    int OwnDrops = 0;

protected:
    void dropEvent(QDropEvent*) override { ++OwnDrops; }
};

std::unique_ptr<QMimeData> Files(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

QList<QUrl> Local(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    return urls;
}

// Returns whether the window took the drag.
bool DragOver(QWidget& window, const QMimeData& data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    return enter.isAccepted();
}

// A drag over the window, and the drop when the window took the drag (only then is there one).
void DragAndDrop(QWidget& window, const QMimeData& data) {
    if (!DragOver(window, data)) return;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

struct TDropTarget {
    TDropTarget() {
        drag->SetEnableDrop(true);
        drag->OnDrop = [this](TFileDrag&) { ++drops; };
    }
    TDropWindow window;
    TFileDrag* drag = new TFileDrag(&window);
    int drops = 0;
};

TEST(FileDrag, SplitsEveryDroppedPathIntoNameAndExtension) {
    TDropTarget target;
    const QString longPath = QStringLiteral("/levels/") + QString(150, u'n') + QStringLiteral(".tr4");
    const auto data = Files(Local({"/levels/level.tr4", "/old/archive.tr2.bak", "/dotted.dir/level", longPath}));
    DragAndDrop(target.window, *data);

    EXPECT_EQ(target.drops, 1);
    EXPECT_EQ(target.drag->FileCount(), 4);
    EXPECT_EQ(target.drag->FullPaths(), (QStringList{"/levels/level.tr4", "/old/archive.tr2.bak", "/dotted.dir/level", longPath}));
    EXPECT_EQ(target.drag->ShortNames().mid(0, 3), (QStringList{"level.tr4", "archive.tr2.bak", "level"}));
    EXPECT_EQ(target.drag->Extension(), (QStringList{"tr4", "tr2.bak", "", "tr4"}));
    EXPECT_EQ(target.window.OwnDrops, 0);
}

TEST(FileDrag, OnlyLocalFilesCountAndDragsWithoutAnyGoToTheWindow) {
    TDropTarget target;
    const auto web = Files({QUrl("https://example.org/level.tr4")});
    EXPECT_FALSE(DragOver(target.window, *web));

    DragAndDrop(target.window, *Files({QUrl("https://example.org/x.tr4"), QUrl::fromLocalFile("/l/y.tr4")}));
    EXPECT_EQ(target.drag->FullPaths(), QStringList{"/l/y.tr4"});
}

TEST(FileDrag, WhileDisabledTheWindowRefusesDropsAndOnDropNeverRuns) {
    TDropTarget target;
    target.drag->SetEnableDrop(false);
    EXPECT_FALSE(target.window.acceptDrops());
    const auto data = Files(Local({"/l/level.tr4"}));
    DragAndDrop(target.window, *data);
    EXPECT_EQ(target.drops, 0);
    EXPECT_EQ(target.drag->FileCount(), 0);
}

TEST(FileDrag, GoingAwayGivesTheWindowBackItsOwnHandling) {
    TDropWindow window;
    auto* drag = new TFileDrag(&window);
    drag->SetEnableDrop(true);
    delete drag;
    EXPECT_FALSE(window.acceptDrops());
    EXPECT_FALSE(DragOver(window, *Files(Local({"/l/level.tr4"}))));
}

}  // namespace
}  // namespace grottix
