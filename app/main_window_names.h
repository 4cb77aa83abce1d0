// What the main window's controls are called: the names a screen reader
// announces, and the help topic each control leads to with F1.
#pragma once

namespace Ui {
class TPROPForm;
}

namespace orvela::app {

// Names for a screen reader: the group captions alone would announce every
// edit of a group alike.
void NameControlsForScreenReaders(Ui::TPROPForm& ui);

// The controls' help keywords and context numbers.
void SetHelpKeywords(Ui::TPROPForm& ui);

} // namespace orvela::app
