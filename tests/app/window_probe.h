// The tests' one way into the main window: its widgets, its state and
// counts, and the steps a test drives without a control. The window names
// this class its friend; nothing else reaches past its constructor.
#pragma once

#include "app/coverage_window.h"
#include "app/help_window.h"
#include "app/map_menu.h"
#include "app/path_overlay.h"
#include "app/planner_window.h"
#include "app/prediction_date.h"
#include "app/table_menu.h"
#include "app/tpropform.h"
#include "app/ui_tpropform.h"

namespace orvela::app {

class TPROPFormProbe {
public:
    explicit TPROPFormProbe(TPROPForm& form)
        : form_(form)
    {
    }

    Ui::TPROPForm& Widgets() const { return *form_.ui_; }
    // The settings in memory; a benchmark sets the station through them.
    Settings& Station() const { return form_.settings_; }
    bool ProgramReady() const { return form_.programReady_; }
    const QString& RemoteLabel() const { return form_.remoteLabel_; }
    // Prediction runs made so far, and maps composed and shown.
    int RunCount() const { return form_.runCount_; }
    int MapUpdateCount() const { return form_.mapUpdateCount_; }
    BandSet Rows() const { return form_.bandSet_; }
    QStringList ExportCaption() const { return form_.ExportCaption(); }

    QMenu* TableMenu() const { return form_.tableMenu_; }
    QMenu* MapMenu() const { return form_.mapMenu_; }
    QAction* RowsAction(BandSet set) const { return form_.tableMenu_->RowsAction(set); }
    QAction* ShowPathAction() const { return form_.mapMenu_->ShowPathAction(); }
    PathOverlay* PathLine() const { return form_.pathOverlay_; }
    PredictionDate& Date() const { return *form_.date_; }
    // The inputs of the last run.
    const RunInput& LastInput() const { return form_.lastInput_; }
    // The coverage window and the program's own help window, once opened.
    CoverageWindow* Coverage() const { return form_.findChild<CoverageWindow*>(); }
    PlannerWindow* Planner() const { return form_.findChild<PlannerWindow*>(); }
    THelpForm* HelpWindow() const { return form_.findChild<THelpForm*>(); }

    void TimerClick() const { form_.TimerClick(); }
    void GoToLocator() const { form_.GoToLocator(); }
    void OpenCoverage(int band, int utcHour) const { form_.OpenCoverage(band, utcHour); }
    void OpenPlanner() const { form_.OpenPlanner(); }
    void SetRows(BandSet set) const { form_.SetRows(set); }

private:
    TPROPForm& form_;
};

// Reads as the window's own: Probe(*form).RunCount().
inline TPROPFormProbe Probe(TPROPForm& form)
{
    return TPROPFormProbe(form);
}

} // namespace orvela::app
