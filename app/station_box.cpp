#include "app/station_box.h"

#include "app/tcoordform.h"
#include "station/station_display.h"
#include "app/ui_tcoordform.h"
#include "app/ui_tpropform.h"

namespace orvela::app {

void ShowDms(QLineEdit& degrees, QLineEdit& minutes, QLineEdit& seconds, long double value)
{
    const Dms d = SplitDMS(value);
    degrees.setText(QString::fromStdString(FormatGeneral(d.Degrees)));
    minutes.setText(QString::fromStdString(FormatGeneral(d.Minutes)));
    seconds.setText(QString::fromStdString(FormatGeneral(d.Seconds)));
}

void ShowAcceptedPosition(Ui::TPROPForm& ui, TCoordForm& dialog)
{
    const Ui::TCoordForm& d = dialog.Widgets();
    const auto degrees = [](const QSpinBox* spin, bool negative) {
        return spin->value() == 0 && negative ? QStringLiteral("-0") : spin->text();
    };
    ui.LongDeg->setText(degrees(d.LngDeg, dialog.LongitudeNegative()));
    ui.LongMin->setText(d.LngMin->text());
    ui.LongSec->setText(d.LngSec->text());
    ui.LatDeg->setText(degrees(d.LttDeg, dialog.LatitudeNegative()));
    ui.LatMin->setText(d.LttMin->text());
    ui.LatSec->setText(d.LttSec->text());
}

} // namespace orvela::app
