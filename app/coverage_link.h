// The main window's coverage window: made when first asked for, owned by
// the main window, and from then on following the inputs of every
// prediction run.
#pragma once

#include "engine/bands.h"
#include "engine/prediction.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace orvela::app {

class CoverageWindow;
class TableExporter;
struct Services;

class CoverageLink {
public:
    // The window saves its pictures through `exporter`; a point picked on
    // it is handed to `picked`.
    CoverageLink(QWidget& window, const Services& services, const TableExporter& exporter,
                 std::function<void(int latDeg, int lonWestDeg)> picked);

    // Shows band 1..15 of the rows in use at an hour, the window made with
    // the last run's inputs `last` (of the UTC year `year`) when there is
    // none.
    void Open(int band, int utcHour, const RunInput& last, int year);
    // A new run's inputs, for the window when there is one.
    void Follow(const RunInput& in, int year);

    // The band the window showed last: the one nearest 14 MHz of `rows`
    // before, or when the rows have changed since.
    int Band(BandSet rows) const;
    // The band of a table row, for the table's "Coverage map…": a row off
    // the bands gives Band().
    int BandOfRow(int row, BandSet rows) const;

private:
    QWidget& window_;
    const Services& services_;
    const TableExporter& exporter_;
    std::function<void(int, int)> picked_;
    QPointer<CoverageWindow> coverage_;
};

} // namespace orvela::app
