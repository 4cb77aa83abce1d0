// Context help: the controls carry a help keyword, and F1 opens the help
// page of the control under the mouse, or of the one with the focus.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace orvela::app {

// Gives a control its help keyword and context number ("MAP_ID", 1).
void SetHelpKeyword(QWidget* control, const char* keyword, int context);

// The help page of a control: that of the nearest control up its parents
// that carries a keyword, or the contents page.
QString HelpPage(const QWidget* control);

// F1 in the window calls `open` with the page of the control under the
// mouse, or, when the mouse is outside the window, of the focused control.
void InstallContextHelp(QWidget* window, std::function<void(const QString& page)> open);

} // namespace orvela::app
