// Ending the program from outside: the session manager's SIGTERM, Ctrl+C's
// SIGINT, a closed terminal's SIGHUP.
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

class QSocketNotifier;

namespace orvela::app {

// Catches SIGTERM, SIGINT and SIGHUP for as long as it lives and handles
// them from the event loop of the user interface thread, so that the
// program ends normally, with exit status 0:
// - before a window is given (the splash, the start-up sequence with its
//   first-run dialog and its message boxes), the start-up is abandoned:
//   QCoreApplication::exit(0) ends every event loop that runs, so that an
//   open dialog or box returns as if cancelled, and every one opened later
//   returns at once. StartUpAbandoned() then says so; the caller builds and
//   shows no window and writes nothing;
// - once a window is given, it is closed normally, so that its close
//   handler saves the remote point.
// One at a time; create it after the QApplication, on its thread.
class TerminationSignals {
public:
    TerminationSignals();
    // Puts back the handling the signals had before.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // From now on a signal closes `window`.
    void CloseOnSignal(QWidget& window);

    // Whether a signal came while no window was given.
    bool StartUpAbandoned() const { return abandoned_; }

private:
    void OnSignal();

    std::unique_ptr<QSocketNotifier> notifier_;
    QPointer<QWidget> window_;
    bool abandoned_ = false;
};

} // namespace orvela::app
