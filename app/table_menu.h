// The prediction table's context menu, by a right click or the menu key:
// the table taken away ("Copy as text", "Save as CSV…", "Save as PNG…"),
// "Coverage map…" for the cell it was opened on, "Planner…", and the table's rows, the
// fixed 2-30 MHz or the amateur bands.
#pragma once

#include "engine/bands.h"

#include <QMenu>

class QAction;

namespace orvela::app {

class PredictionTable;

class TableMenu : public QMenu {
    Q_OBJECT
public:
    // Opens over `table`.
    TableMenu(PredictionTable& table, QWidget* parent);

    // The choice of rows: checked for the set in use.
    QAction* RowsAction(BandSet set) const;

signals:
    void CopyAsTextChosen();
    void SaveAsCsvChosen();
    void SaveAsPngChosen();
    // The cell the menu was opened on, column and row; (-1, -1) when none.
    void CoverageChosen(int col, int row);
    void RowsChosen(BandSet set);
    void PlannerChosen();

private:
    // Opens the menu at a point of the table's viewport.
    void OpenAt(const QPoint& at);

    PredictionTable& table_;
    QAction* fixedRows_;
    QAction* amateurRows_;
    // The table cell the menu was opened on (column, row).
    QPoint cell_{-1, -1};
};

} // namespace orvela::app
