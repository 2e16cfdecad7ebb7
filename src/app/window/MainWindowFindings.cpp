// The main window's Problems panel (the level's check, filled when a level opens) and File >
// Compare With..., which lists in the Differences panel what changed from another level file to
// the one on screen.

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>

#include "app/panels/FindingsDock.h"
#include "app/window/MainWindow.h"
#include "level/LevelCheck.h"
#include "level/LevelDiff.h"
#include "level/LevelEntities.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

TFindingsDock* findingsDock(TDXViewerForm& window, const QString& title, const char* name, const QString& menuText,
                            const QString& hint, QMenu& viewMenu) {
    auto* dock = new TFindingsDock(title, window.Selection, &window);
    dock->setObjectName(QString::fromLatin1(name));
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    QAction* show = dock->toggleViewAction();
    show->setText(menuText);
    show->setStatusTip(hint);
    viewMenu.addAction(show);
    return dock;
}

}  // namespace

void TDXViewerForm::createFindingsDocks() {
    problemsDock_ = findingsDock(*this, tr("Problems"), "ProblemsPanel", tr("Problems Panel"),
                                 tr("List the level's faults and secrets; double-click goes there"), *viewMenu_);
    differencesDock_ = findingsDock(*this, tr("Differences"), "DifferencesPanel", tr("Differences Panel"),
                                    tr("List what File > Compare With... found; double-click goes there"), *viewMenu_);
    compare_ = new QAction(tr("Compare With..."), this);
    compare_->setStatusTip(tr("List what changed from another level file to the level on screen"));
    connect(compare_, &QAction::triggered, this, [this] { CompareWithClick(); });
    fileMenu_->insertAction(reload_, compare_);
}

void TDXViewerForm::showLevelProblems() {
    if (!Scene->Level) return problemsDock_->SetRows({}, QString());
    const std::vector<TLevelFinding> findings = CheckLevel(*Scene->Level);
    const size_t problems = CountProblems(findings);
    problemsDock_->SetRows(ProblemRows(findings),
                           tr("%1 problems, %2 secrets").arg(problems).arg(findings.size() - problems));
}

void TDXViewerForm::CompareWithClick() {
    if (!levelOnScreen()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Compare With"), QFileInfo(QString::fromStdString(shownLevelFile_)).absolutePath(),
        tr("Tomb Raider levels (*.phd *.PHD *.tub *.TUB *.tr2 *.TR2 *.tr4 *.TR4 *.trc *.TRC);;All files (*)"));
    if (!path.isEmpty()) CompareWith(path);
}

void TDXViewerForm::CompareWith(const QString& path) {
    if (!Scene->Level) return;
    TTombRaiderLevel other;
    QString failure;
    try {
        const uint8_t result = other.LoadLevel(path.toStdString());
        if (result != kLevelLoaded) failure = QString::fromStdString(other.LoadErrorMessage(result));
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    }
    if (!failure.isEmpty()) {
        statusBar()->showMessage(QStringLiteral("File %1: %2").arg(path, failure), 8000);
        return;
    }
    const TTombRaiderLevel& shown = *Scene->Level;
    const std::vector<TLevelDifference> differences = DiffLevels(other, shown);
    differencesDock_->SetRows(DifferenceRows(differences, int(ReadEntities(shown).size()), int(shown.Rooms.size())),
                              tr("%1 differences from %2").arg(differences.size()).arg(QFileInfo(path).fileName()));
    differencesDock_->show();
    differencesDock_->raise();
}

}  // namespace grottix
