// A plan as the planner window's table shows it: one row per target kept by
// the search and the filters, in the order chosen; the target's name,
// prefix, continent, CQ zone, distance and bearing, then the 24 UTC hours,
// each cell coloured as the prediction table colours its cells.
#pragma once

#include "planner/plan.h"
#include "planner/plan_view.h"

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <vector>

namespace orvela::app {

class PlanTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The columns before the hours.
    enum Column { NameColumn, PrefixColumn, ContinentColumn, CqColumn, DistanceColumn, BearingColumn, FirstHourColumn };

    using QAbstractTableModel::QAbstractTableModel;

    // A new plan, the current hour marked (NoHourHighlighted: none), its rows
    // ordered by `key` and kept by `filter`.
    void Show(std::shared_ptr<const planner::Plan> plan, int currentHour, planner::SortKey key,
              const planner::RowFilter& filter);
    // The same plan, ordered and kept anew.
    void Arrange(planner::SortKey key, const planner::RowFilter& filter);

    const planner::Plan* Plan() const { return plan_.get(); }
    const std::shared_ptr<const planner::Plan>& SharedPlan() const { return plan_; }
    int CurrentHour() const { return currentHour_; }
    // The plan's row shown in a table row.
    std::size_t PlanRowAt(int row) const { return visible_[static_cast<std::size_t>(row)]; }
    const std::vector<std::size_t>& Visible() const { return visible_; }
    // The key a column sorts by; none for the hours.
    static std::optional<planner::SortKey> KeyOfColumn(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant CellData(const planner::PlanCell& cell, int role) const;

    std::shared_ptr<const planner::Plan> plan_;
    std::vector<std::size_t> visible_;
    int currentHour_ = -1;
};

} // namespace orvela::app
