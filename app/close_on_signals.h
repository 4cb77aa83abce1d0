// Ending the program from outside: the session manager's SIGTERM, Ctrl+C's
// SIGINT, a closed terminal's SIGHUP.
#pragma once

class QWidget;

namespace orvela::app {

// SIGTERM, SIGINT and SIGHUP close `window` normally from the event loop, so
// that its close handler saves the remote point. Call once.
void CloseOnSignals(QWidget& window);

} // namespace orvela::app
