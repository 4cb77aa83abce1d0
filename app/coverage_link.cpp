#include "app/coverage_link.h"

#include "app/coverage_window.h"
#include "app/platform.h"
#include "app/table_exporter.h"

namespace orvela::app {

CoverageLink::CoverageLink(QWidget& window, const Services& services, const TableExporter& exporter,
                           std::function<void(int latDeg, int lonWestDeg)> picked)
    : window_(window)
    , services_(services)
    , exporter_(exporter)
    , picked_(std::move(picked))
{
}

void CoverageLink::Open(int band, int utcHour, const RunInput& last, int year)
{
    if (!coverage_) {
        coverage_ = new CoverageWindow(
            *services_.Pictures,
            [this](QWidget* parent, const QString& caption, const QString& suggestion, const QString& filter,
                   const std::function<bool(QIODevice&)>& write) {
                exporter_.Save(parent, caption, suggestion, filter, write);
            },
            &window_);
        QObject::connect(coverage_, &CoverageWindow::RemotePointPicked, &window_, picked_);
        coverage_->resize(coverage_->sizeHint());
        coverage_->Follow(last, year);
    }
    coverage_->ShowBandHour(band, utcHour);
    coverage_->show();
    coverage_->raise();
    coverage_->activateWindow();
}

void CoverageLink::Follow(const RunInput& in, int year)
{
    if (coverage_) {
        coverage_->Follow(in, year);
    }
}

int CoverageLink::Band(BandSet rows) const
{
    if (coverage_ && coverage_->Bands().size() == BandsOf(rows).size()) {
        return coverage_->Band();
    }
    return BandNearest(BandsOf(rows), CoverageWindow::DefaultBandMhz);
}

int CoverageLink::BandOfRow(int row, BandSet rows) const
{
    const int count = static_cast<int>(BandsOf(rows).size());
    return row >= 0 && row < BandCount && BandCount - row <= count ? BandCount - row : Band(rows);
}

} // namespace orvela::app
