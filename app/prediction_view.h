// A prediction run as the main window sees it: its inputs read from what
// the window shows, and its results shown there, the table (or why it has
// no cell), the two header strips and the status bar's texts.
#pragma once

#include "engine/bands.h"
#include "engine/format.h"
#include "engine/prediction.h"

#include <QString>

#include <ctime>

namespace Ui {
class TPROPForm;
}

namespace orvela::app {

// The inputs of a run at `now`: the station and the options in memory, the
// flux and the remote point of the spin edits, the prediction date (its
// current hour highlighted when it is `today`) and the rows of the table.
RunInput InputsShown(const Ui::TPROPForm& ui, const Settings& station, const CivilDate& date, bool today,
                     std::time_t now, const QString& remoteLabel, BandSet rows);

// `in` is the run that filled `table`, shown in the format `display`.
void ShowPrediction(Ui::TPROPForm& ui, const RunInput& in, const Prediction& table, DisplayFormat display);

} // namespace orvela::app
