// The main window's planner window: made when first asked for, owned by the
// main window, and from then on following the inputs of every prediction
// run. The user's list of targets goes to and from the settings file
// through the main window.
#pragma once

#include "engine/prediction.h"

#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace orvela::app {

class PlannerWindow;
class TableExporter;
struct Services;

class PlannerLink {
public:
    // A row chosen in the window goes to `picked` (whole degrees, the
    // entity's label); an edited list of targets to `entriesChanged`.
    PlannerLink(QWidget& window, const Services& services, const TableExporter& exporter,
                std::function<void(double latDeg, double lonWestDeg, const QString& label)> picked,
                std::function<void(const QString& entries)> entriesChanged);

    // Shows the window, made with the last run's inputs `last` (of the UTC
    // year `year`) and the stored list `entries` when there is none.
    void Open(const RunInput& last, int year, const QString& entries);
    // A new run's inputs, for the window when there is one.
    void Follow(const RunInput& in, int year);

private:
    QWidget& window_;
    const Services& services_;
    const TableExporter& exporter_;
    std::function<void(double, double, const QString&)> picked_;
    std::function<void(const QString&)> entriesChanged_;
    QPointer<PlannerWindow> planner_;
};

} // namespace orvela::app
