#include "app/window/MeasureTool.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "app/window/LevelInspector.h"
#include "app/window/MainWindow.h"
#include "viewer/Measurement.h"

namespace grottix {

TMeasureTool::TMeasureTool(TDXViewerForm& window, TLevelInspector& inspector, QMenu& toolsMenu)
    : QObject(&window), window_(window), inspector_(inspector) {
    Measure = toolsMenu.addAction(tr("&Measure"));
    Measure->setCheckable(true);
    Measure->setShortcut(QKeySequence(Qt::Key_M));
    Measure->setStatusTip(tr("Click two points on faces in the view: their distance and height difference"));
    EndMeasuring = toolsMenu.addAction(tr("&End Measuring"));
    EndMeasuring->setShortcut(QKeySequence(Qt::Key_Escape));
    EndMeasuring->setEnabled(false);
    label_ = new QLabel(&window);
    label_->setObjectName(QStringLiteral("MeasureLabel"));
    label_->hide();
    window.statusBar()->addPermanentWidget(label_);
    connect(Measure, &QAction::toggled, this, [this](bool on) { SetMeasuring(on); });
    connect(EndMeasuring, &QAction::triggered, this, [this] { SetMeasuring(false); });
}

bool TMeasureTool::Measuring() const { return EndMeasuring->isEnabled(); }

void TMeasureTool::SetMeasuring(bool on) {
    Measure->setChecked(on);
    if (on == Measuring()) return;
    EndMeasuring->setEnabled(on);
    window_.Scene->Measure.reset();
    if (on) show(tr("Measure: click the first point"));
    else show(QString());
    window_.Pacing.Request();
}

bool TMeasureTool::Click(double x, double y) {
    if (!Measuring()) return false;
    const std::optional<TD3DVector> point = inspector_.PointAt(x, y);
    if (!point) return true;
    std::optional<TMeasure>& measure = window_.Scene->Measure;
    if (!measure || measure->To) {
        measure = TMeasure{*point, std::nullopt};
        show(tr("Measure: click the second point"));
    } else {
        measure->To = *point;
        show(QString::fromStdString(DescribeMeasure(measure->From, *measure->To, float(window_.LevelScale))));
    }
    window_.Pacing.Request();
    return true;
}

void TMeasureTool::show(const QString& text) {
    label_->setText(text);
    label_->setVisible(!text.isEmpty());
}

}  // namespace grottix
