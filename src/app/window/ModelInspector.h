#pragma once
// The Models panel in the window: choosing a moveable or static mesh shows it alone in the view,
// turning slowly, and the panel's timeline plays its animations; Escape (or opening a level) goes
// back to the level as it was.

#include <QObject>

#include "viewer/ModelShowcase.h"

class QMenu;

namespace grottix {

class TDXViewerForm;
class TModelsDock;
struct TModelRow;

class TModelInspector : public QObject {
public:
    // Adds the dock (hidden at first) and its View entry.
    TModelInspector(TDXViewerForm& window, QMenu& viewMenu);

    // After every open: the level's models listed.
    void LevelChanged();
    // Back to the level, before another is opened.
    void LeaveModel();
    // Before each frame, under the frame lock: the eye round the model, the animation on.
    void BeforeFrame();

    TModelsDock* Dock() const { return dock_; }
    const TModelShowcase& Showcase() const { return showcase_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(const TModelRow& row);
    void connectTimeline();
    void showTimeline();

    TDXViewerForm& window_;
    TModelsDock* dock_;
    TModelShowcase showcase_;
};

}  // namespace grottix
