// The world map's context menu, over the map and over the markers on it
// alike: "Go to…" (a locator, a call sign or a prefix), which Ctrl+L also opens anywhere in the window,
// "Coverage map…", "Planner…", which Ctrl+P also opens anywhere in the window, and "Show the path".
#pragma once

#include <QMenu>

#include <initializer_list>

class QAction;

namespace orvela::app {

class MapMenu : public QMenu {
    Q_OBJECT
public:
    // Opens over each of `over`; the shortcut works anywhere in `window`.
    MapMenu(QWidget& window, std::initializer_list<QWidget*> over);

    // Checked while the path is shown, as it is unless switched off.
    QAction* ShowPathAction() const { return showPath_; }

signals:
    void GoToLocatorChosen();
    void CoverageChosen();
    void PlannerChosen();

private:
    QAction* showPath_;
};

} // namespace orvela::app
