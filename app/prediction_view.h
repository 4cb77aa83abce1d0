// A prediction run's results on the main window: the table, or why it has
// no cell; the two header strips; the status bar's texts.
#pragma once

#include "engine/prediction.h"

namespace Ui {
class TPROPForm;
}

namespace orvela::app {

// `in` is the run that filled `table`, shown in the format `display`.
void ShowPrediction(Ui::TPROPForm& ui, const RunInput& in, const Prediction& table, DisplayFormat display);

} // namespace orvela::app
