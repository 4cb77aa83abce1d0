// How the main window looks beyond its layout file: its size, icon and
// font, the colours of its groups, spin edits and clock, the table's hint,
// the markers' shapes, the coordinates over the map and the header strips'
// sections.
#pragma once

class QWidget;

namespace Ui {
class TPROPForm;
}

namespace orvela::app {

void StyleMainWindow(QWidget& window, Ui::TPROPForm& ui);

} // namespace orvela::app
