#include "app/sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace brimble {

#ifdef Q_OS_UNIX
namespace {
int g_pipe[2] = {-1, -1};
// How long the event loop has to close the program after a termination signal. A loop busy
// with one long step (a huge memo being laid out) would otherwise keep the program from
// ending at all; every saved memo is on disk already, so ending hard then loses nothing.
constexpr unsigned kCloseGraceSeconds = 5;
void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here: the event loop does the rest.
    [[maybe_unused]] ssize_t n = ::write(g_pipe[0], &byte, 1);
    ::alarm(kCloseGraceSeconds); // SIGALRM's default action ends the process
}
} // namespace
#endif

SessionEnd::SessionEnd(std::function<void()> close, QObject* parent)
    : QObject(parent), close_(std::move(close)) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            close_();
        });
    }
#ifdef Q_OS_UNIX
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) == 0) {
        auto* notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            char byte;
            [[maybe_unused]] ssize_t n = ::read(g_pipe[1], &byte, 1);
            close_();
        });
        struct sigaction sa {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
        sigaction(SIGHUP, &sa, nullptr);
        signal(SIGALRM, SIG_DFL);
    }
#endif
}

SessionEnd::~SessionEnd() {
#ifdef Q_OS_UNIX
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
#endif
}

} // namespace brimble
