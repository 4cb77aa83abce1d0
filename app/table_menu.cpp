#include "app/table_menu.h"

#include "app/prediction_table.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>

namespace orvela::app {

TableMenu::TableMenu(PredictionTable& table, QWidget* parent)
    : QMenu(parent)
    , table_(table)
{
    addAction(QStringLiteral("Copy as text"), this, &TableMenu::CopyAsTextChosen);
    addAction(QStringLiteral("Save as CSV\u2026"), this, &TableMenu::SaveAsCsvChosen);
    addAction(QStringLiteral("Save as PNG\u2026"), this, &TableMenu::SaveAsPngChosen);
    // Where the cell's band reaches at the cell's hour.
    addSeparator();
    addAction(QStringLiteral("&Coverage map\u2026"), this, [this] { emit CoverageChosen(cell_.x(), cell_.y()); });
    // Every DXCC entity, or the user's own targets, against the day's hours.
    addAction(QStringLiteral("&Planner\u2026"), this, &TableMenu::PlannerChosen);
    // The rows of the table: the fixed frequencies or the amateur bands.
    addSeparator();
    auto* rowsGroup = new QActionGroup(this);
    fixedRows_ = addAction(QStringLiteral("&2\u201330 MHz"), this, [this] { emit RowsChosen(BandSet::Fixed); });
    amateurRows_ = addAction(QStringLiteral("&Amateur bands"), this, [this] { emit RowsChosen(BandSet::Amateur); });
    for (QAction* a : {fixedRows_, amateurRows_}) {
        a->setCheckable(true);
        rowsGroup->addAction(a);
    }
    fixedRows_->setChecked(true);
    table.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&table, &QWidget::customContextMenuRequested, this, &TableMenu::OpenAt);
}

QAction* TableMenu::RowsAction(BandSet set) const
{
    return set == BandSet::Amateur ? amateurRows_ : fixedRows_;
}

void TableMenu::OpenAt(const QPoint& at)
{
    // The cell under the pointer; from the keyboard (the menu key, the
    // pointer elsewhere), the current cell.
    QWidget* viewport = table_.viewport();
    QModelIndex cell =
        viewport->rect().contains(viewport->mapFromGlobal(QCursor::pos())) ? table_.indexAt(at) : QModelIndex();
    if (!cell.isValid()) {
        cell = table_.currentIndex();
    }
    cell_ = cell.isValid() ? QPoint(cell.column(), cell.row()) : QPoint(-1, -1);
    exec(viewport->mapToGlobal(at));
}

} // namespace orvela::app
