#include "app/planner_link.h"

#include "app/planner_window.h"
#include "app/platform.h"
#include "app/table_exporter.h"

namespace orvela::app {

PlannerLink::PlannerLink(QWidget& window, const Services& services, const TableExporter& exporter,
                         std::function<void(double latDeg, double lonWestDeg, const QString& label)> picked,
                         std::function<void(const QString& entries)> entriesChanged)
    : window_(window)
    , services_(services)
    , exporter_(exporter)
    , picked_(std::move(picked))
    , entriesChanged_(std::move(entriesChanged))
{
}

void PlannerLink::Open(const RunInput& last, int year, const QString& entries)
{
    if (!planner_) {
        planner_ = new PlannerWindow(
            services_.Countries,
            [this](QWidget* parent, const QString& caption, const QString& suggestion, const QString& filter,
                   const std::function<bool(QIODevice&)>& write) {
                exporter_.Save(parent, caption, suggestion, filter, write);
            },
            &window_);
        QObject::connect(planner_, &PlannerWindow::RemotePointPicked, &window_, picked_);
        QObject::connect(planner_, &PlannerWindow::EntriesChanged, &window_, entriesChanged_);
        planner_->SetEntries(entries);
        planner_->resize(planner_->sizeHint().expandedTo(QSize(980, 560)));
        planner_->Follow(last, year);
    }
    planner_->show();
    planner_->raise();
    planner_->activateWindow();
}

void PlannerLink::Follow(const RunInput& in, int year)
{
    if (planner_) {
        planner_->Follow(in, year);
    }
}

} // namespace orvela::app
