#include "app/main_window_names.h"

#include "app/context_help.h"
#include "app/ui_tpropform.h"

#include <utility>

namespace orvela::app {

void NameControlsForScreenReaders(Ui::TPROPForm& ui)
{
    const std::pair<QWidget*, const char*> names[] = {
        {ui.LongDeg, "Home longitude, degrees"},
        {ui.LongMin, "Home longitude, minutes"},
        {ui.LongSec, "Home longitude, seconds"},
        {ui.LatDeg, "Home latitude, degrees"},
        {ui.LatMin, "Home latitude, minutes"},
        {ui.LatSec, "Home latitude, seconds"},
        {ui.PWREdit, "Power, dBW"},
        {ui.ANGEdit, "Lowest take-off angle, degrees"},
        {ui.DESTLong, "Remote longitude, degrees, positive west"},
        {ui.DESTLat, "Remote latitude, degrees, positive north"},
        {ui.LongPathBox, "Long path"},
        {ui.FLXSpin, "Solar flux"},
        {ui.MUFGrid, "Prediction table"},
        {ui.MAP, "World map"},
        {ui.ClockPanel, "Universal time"},
    };
    for (const auto& [widget, name] : names) {
        widget->setAccessibleName(QString::fromLatin1(name));
    }
    // Each choice says which group it belongs to.
    for (QAbstractButton* item : {ui.DisplayItem0, ui.DisplayItem1, ui.DisplayItem2, ui.DisplayItem3}) {
        item->setAccessibleName(QStringLiteral("Display format: ") + item->text());
    }
    for (QAbstractButton* item : {ui.AGTItem0, ui.AGTItem1, ui.AGTItem2}) {
        item->setAccessibleName(QStringLiteral("Antenna: ") + item->text());
    }
}

void SetHelpKeywords(Ui::TPROPForm& ui)
{
    SetHelpKeyword(ui.MAP, "MAP_ID", 1);
    SetHelpKeyword(ui.MAPPanel, "MAP_ID", 1); // the markers and the coordinates over the map
    SetHelpKeyword(ui.MUFGrid, "GRAPH_ID", 2);
    SetHelpKeyword(ui.RemoteGroupBox, "REM_ID", 5);
    SetHelpKeyword(ui.H1, "PNL_ID", 8);
    SetHelpKeyword(ui.H2, "PNL_ID", 8);
    SetHelpKeyword(ui.LabelPower, "SET_STA", 11);
}

} // namespace orvela::app
