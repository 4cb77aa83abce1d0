#include "app/plan_table_model.h"

#include "app/prediction_table.h"
#include "engine/prediction.h"

#include <QAccessible>
#include <QFont>

#include <cmath>

namespace orvela::app {

void PlanTableModel::Show(std::shared_ptr<const planner::Plan> plan, int currentHour, planner::SortKey key,
                          const planner::RowFilter& filter)
{
    beginResetModel();
    plan_ = std::move(plan);
    currentHour_ = currentHour;
    visible_ = plan_ ? planner::VisibleRows(*plan_, key, filter) : std::vector<std::size_t>{};
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, FirstHourColumn, FirstHourColumn + HoursPerDay - 1);
}

void PlanTableModel::Arrange(planner::SortKey key, const planner::RowFilter& filter)
{
    beginResetModel();
    visible_ = plan_ ? planner::VisibleRows(*plan_, key, filter) : std::vector<std::size_t>{};
    endResetModel();
}

std::optional<planner::SortKey> PlanTableModel::KeyOfColumn(int column)
{
    switch (column) {
    case NameColumn:
    case PrefixColumn: return planner::SortKey::Name;
    case ContinentColumn: return planner::SortKey::Continent;
    case CqColumn: return planner::SortKey::CqZone;
    case DistanceColumn: return planner::SortKey::Distance;
    case BearingColumn: return planner::SortKey::Bearing;
    default: return std::nullopt;
    }
}

int PlanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FirstHourColumn + HoursPerDay;
}

QVariant PlanTableModel::CellData(const planner::PlanCell& cell, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        if (cell.Band < 0) {
            return {};
        }
        if (plan_->Bands.size() > 1) {
            // All bands: the band shown, in metres ("20" for 20 m).
            QString name = QString::fromStdString(plan_->Bands[static_cast<std::size_t>(cell.Band)].Name);
            return name.remove(QStringLiteral(" m"));
        }
        return cell.LevelDb;
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        Rgb bg = 0;
        Rgb fg = 0;
        ResultCellColors(cell.Text, bg, fg);
        return ToColor(role == Qt::BackgroundRole ? bg : fg);
    }
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
    }
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const
{
    if (!plan_ || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const std::size_t i = PlanRowAt(index.row());
    const planner::Target& t = plan_->Targets[i];
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        return QString::fromStdString(planner::RowSentence(*plan_, i));
    }
    const int col = index.column();
    if (!t.Resolved) {
        if (role != Qt::DisplayRole) {
            return {};
        }
        return col == NameColumn     ? QString::fromStdString(t.Entry)
               : col == PrefixColumn ? QStringLiteral("?")
                                     : QVariant();
    }
    const planner::PlanRow& r = plan_->Rows[i];
    if (col >= FirstHourColumn) {
        return CellData(r.Hours[static_cast<std::size_t>(col - FirstHourColumn)], role);
    }
    if (role == Qt::TextAlignmentRole) {
        return col >= CqColumn ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (col) {
    case NameColumn: return QString::fromStdString(t.Name);
    case PrefixColumn: return QString::fromStdString(t.Prefix);
    case ContinentColumn: return QString::fromStdString(t.Continent);
    case CqColumn: return t.CqZone > 0 ? QVariant(t.CqZone) : QVariant();
    case DistanceColumn: return static_cast<qlonglong>(std::lround(static_cast<double>(r.DistanceKm)));
    case BearingColumn: return static_cast<int>(std::lround(static_cast<double>(r.BearingDeg))) % 360;
    default: return {};
    }
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) {
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }
    if (section >= FirstHourColumn) {
        const int hour = section - FirstHourColumn;
        const bool current = hour == currentHour_;
        switch (role) {
        case Qt::DisplayRole:
            // The current hour is marked, as the table highlights its column.
            return current ? QStringLiteral("\u25BC%1").arg(hour, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'));
        case Qt::FontRole:
            if (current) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return current ? QStringLiteral("%1 UTC, the current hour").arg(hour, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1 UTC").arg(hour, 2, 10, QLatin1Char('0'));
        default: return {};
        }
    }
    static const char* const Names[] = {"Name", "Prefix", "Cont.", "CQ", "km", "\u00B0"};
    static const char* const Tips[] = {"Name, click to sort by name",           "Prefix, click to sort by name",
                                       "Continent, click to sort by continent", "CQ zone, click to sort by zone",
                                       "Distance, click to sort by distance",   "Bearing, click to sort by bearing"};
    switch (role) {
    case Qt::DisplayRole: return QString::fromUtf8(Names[section]);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: return QString::fromUtf8(Tips[section]);
    default: return {};
    }
}

} // namespace orvela::app
