#include "app/window/LevelFolder.h"

#include <QDir>
#include <QFileInfo>

namespace grottix {

bool HasLevelExtension(const QString& name) {
    static const QStringList extensions = {"phd", "tub", "tr2", "tr4", "trc"};
    return extensions.contains(QFileInfo(name).suffix().toLower());
}

QStringList LevelFilesBeside(const QString& path) {
    const QDir folder = QFileInfo(path).absoluteDir();
    QStringList levels;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase))
        if (HasLevelExtension(file.fileName())) levels.push_back(file.absoluteFilePath());
    return levels;
}

QStringList LevelsFrom(const QString& path, int step) {
    const QStringList levels = LevelFilesBeside(path);
    const QString self = QFileInfo(path).absoluteFilePath();
    qsizetype at = levels.indexOf(self);
    // A file no longer there (or no level) stands where its name would sort.
    if (at < 0) {
        at = 0;
        while (at < levels.size() && QFileInfo(levels[at]).fileName().compare(QFileInfo(path).fileName(), Qt::CaseInsensitive) < 0) ++at;
        if (step > 0) --at;
    }
    QStringList order;
    const qsizetype n = levels.size();
    for (qsizetype i = 1; i <= n; ++i) {
        const QString& candidate = levels[((at + step * i) % n + n) % n];
        if (candidate == self) break;
        order.push_back(candidate);
    }
    return order;
}

}  // namespace grottix
