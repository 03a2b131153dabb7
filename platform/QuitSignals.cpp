#include "platform/QuitSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace {
int g_signalSocket[2] = {-1, -1};

void onSignal(int) {
    // Only async-signal-safe work here: wake the event loop. The interrupted code may be about
    // to read errno; a full socket must not block the handler.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalSocket[0], &byte, 1);
    errno = savedErrno;
}
}  // namespace

void QuitSignals::catchNow() {
    // One socket for the program's life: what an early signal wrote waits in it.
    if (g_signalSocket[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_signalSocket) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    catchNow();
    if (g_signalSocket[1] < 0) return;
    m_notifier = new QSocketNotifier(g_signalSocket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(g_signalSocket[1], &byte, 1);
        emit quitRequested();
    });
}

QuitSignals::~QuitSignals() {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, SIG_DFL);
}
