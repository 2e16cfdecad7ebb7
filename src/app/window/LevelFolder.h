#pragma once
// The level files in a folder, in name order, for stepping from one level to the next: files whose
// extension is one of the games' (.phd .tub .tr2 .tr4 .trc, any case).

#include <QString>
#include <QStringList>

namespace grottix {

bool HasLevelExtension(const QString& name);
// The level files of path's folder, as full paths in name order.
QStringList LevelFilesBeside(const QString& path);
// The levels after (step 1) or before (step -1) path in its folder, nearest first, going round the
// end of the folder and stopping before path itself.
QStringList LevelsFrom(const QString& path, int step);

}  // namespace grottix
