#include "app/close_on_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace orvela::app {

namespace {

constexpr std::array<int, 3> Handled = {SIGTERM, SIGINT, SIGHUP};

// The signal handler writes one byte per signal to the first socket; the
// event loop reads them from the second.
int signalPipe[2] = {-1, -1};
struct sigaction previous[Handled.size()];

// Only async-signal-safe work here: the event loop does the rest. The
// write end does not block, so a flood of signals only drops bytes.
void OnSignalDelivered(int sig)
{
    const int savedErrno = errno;
    const char c = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &c, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals()
{
    if (signalPipe[0] >= 0 || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { OnSignal(); });
    struct sigaction sa {};
    sa.sa_handler = OnSignalDelivered;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Handled.size(); ++i) {
        sigaction(Handled[i], &sa, &previous[i]);
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_) {
        return;
    }
    for (std::size_t i = 0; i < Handled.size(); ++i) {
        sigaction(Handled[i], &previous[i], nullptr);
    }
    notifier_.reset();
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void TerminationSignals::CloseOnSignal(QWidget& window)
{
    window_ = &window;
}

void TerminationSignals::OnSignal()
{
    char bytes[64];
    while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (window_) {
        window_->close();
        return;
    }
    // Start-up is still running, maybe inside a dialog's or a message box's
    // own event loop: end them all. Nothing runs QCoreApplication::exec()
    // afterwards, which would start event loops again.
    abandoned_ = true;
    QCoreApplication::exit(0);
}

} // namespace orvela::app
