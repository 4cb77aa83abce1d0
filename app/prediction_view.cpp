#include "app/prediction_view.h"

#include "common/civil_time.h"
#include "engine/reach.h"
#include "map/utc_offset.h"
#include "app/ui_tpropform.h"

namespace orvela::app {

RunInput InputsShown(const Ui::TPROPForm& ui, const Settings& station, const CivilDate& date, bool today,
                     std::time_t now, const QString& remoteLabel, BandSet rows)
{
    RunInput in;
    in.Station = station;
    in.Flux = static_cast<ld>(ui.FLXSpin->value());
    in.RemoteLonDeg = ui.DESTLong->value();
    in.RemoteLatDeg = ui.DESTLat->value();
    in.Month = date.Month;
    in.Day = date.Day;
    in.LocalDate = date;
    in.UtcHour = UtcMinuteOfDay(now) / 60;
    in.HighlightHour = today;
    in.RemoteLabel = remoteLabel.toStdString();
    in.Bands = BandsOf(rows);
    return in;
}

void ShowPrediction(Ui::TPROPForm& ui, const RunInput& in, const Prediction& table, DisplayFormat display)
{
    ui.MUFGrid->Show(table, display);
    const Reach reach = ReachOf(in, table);
    ui.MUFGrid->SetEmptyNotice(reach.Reaches ? QString() : QString::fromStdString(reach.Reason));
    for (int i = 0; i < 4; ++i) {
        ui.H1->SetText(i, QString::fromStdString(table.H1[i]));
    }
    for (int i = 0; i < 5; ++i) {
        ui.H2->SetText(i, QString::fromStdString(table.H2[i]));
    }
    ui.InfoBar->SetPanelText(0, QString::fromStdString(table.DisplayText));
    ui.InfoBar->SetPanelText(1, QString::fromStdString(table.PowerText));
    ui.InfoBar->SetPanelText(2, QString::fromStdString(table.AntennaText));
}

} // namespace orvela::app
