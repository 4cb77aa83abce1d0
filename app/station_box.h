// The home position in the station group: degrees, minutes and seconds in
// three read-only edits each, as start-up reads the position from the
// settings or as the setup dialog showed it when accepted.
#pragma once

class QLineEdit;

namespace Ui {
class TPROPForm;
}

namespace orvela::app {

class TCoordForm;

// A position in degrees split by SplitDMS, each part in its shortest form.
void ShowDms(QLineEdit& degrees, QLineEdit& minutes, QLineEdit& seconds, long double value);

// The texts of the accepted dialog's position as it showed them; degrees of
// 0 on the east or south side read "-0", as start-up shows them.
void ShowAcceptedPosition(Ui::TPROPForm& ui, TCoordForm& dialog);

} // namespace orvela::app
