#include "close_on_signals.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace orvela::app {

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
void OnSignal(int sig)
{
    const char c = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &c, 1);
}

} // namespace

void CloseOnSignals(QWidget& window)
{
    if (signalPipe[0] < 0 && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char c;
        [[maybe_unused]] const ssize_t n = read(signalPipe[0], &c, 1);
        window.close();
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(sig, &sa, nullptr);
    }
}

} // namespace orvela::app
