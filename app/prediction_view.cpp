#include "app/prediction_view.h"

#include "engine/reach.h"
#include "ui_tpropform.h"

namespace orvela::app {

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
