#pragma once
// Tools > Measure (M): two clicks on faces in the view mark two points; a line joins them over
// everything and the status bar gives the distance in units, sectors and clicks and how far the
// second point lies above or below the first. A third click starts again; Escape ends measuring.
// While measuring, clicks in the view measure instead of selecting.

#include <QObject>

class QAction;
class QLabel;
class QMenu;

namespace grottix {

class TDXViewerForm;
class TLevelInspector;

class TMeasureTool : public QObject {
public:
    // Adds Measure and End Measuring to the menu and the measurement's field to the status bar; the
    // window and the inspector must outlive the tool.
    TMeasureTool(TDXViewerForm& window, TLevelInspector& inspector, QMenu& toolsMenu);

    void SetMeasuring(bool on);
    bool Measuring() const;
    // A click in the view at (x, y), pixels of the frame: while measuring, takes the point on the
    // face under it. Whether the click was taken.
    bool Click(double x, double y);

    QAction* Measure = nullptr;
    QAction* EndMeasuring = nullptr;

private:
    void show(const QString& text);

    TDXViewerForm& window_;
    TLevelInspector& inspector_;
    QLabel* label_ = nullptr;
};

}  // namespace grottix
