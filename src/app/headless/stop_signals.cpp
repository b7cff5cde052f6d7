#include "app/headless/stop_signals.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <iterator>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

int g_pipe[2] = {-1, -1};
std::atomic<bool> g_listening{false};
static_assert(std::atomic<bool>::is_always_lock_free);
bool g_installed = false;
// The signals whose handler is ours, not left ignored as inherited.
bool g_caught[std::size(kStopSignals)] = {};

extern "C" void OnStopSignal(int signal) {
    if (!g_listening.load())
        ::_exit(128 + signal);
    const unsigned char number = static_cast<unsigned char>(signal);
    // Nothing more can be done from here if the pipe is full: a stop is already waiting.
    [[maybe_unused]] const auto written = ::write(g_pipe[1], &number, 1);
}

void Handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

void CatchStopSignals() {
    if (g_installed)
        return;
    g_installed = true;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction inherited = {};
        if (::sigaction(kStopSignals[i], nullptr, &inherited) == 0 &&
            inherited.sa_handler == SIG_IGN)
            continue;
        Handle(kStopSignals[i], OnStopSignal);
        g_caught[i] = true;
    }
}

StopSignals::StopSignals() {
    CatchStopSignals();
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        g_pipe[0] = g_pipe[1] = -1;
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        if (std::exchange(g_caught[i], false))
            Handle(kStopSignals[i], SIG_DFL);
    g_installed = false;
    g_listening.store(false);
    delete notifier_;
    if (g_pipe[0] >= 0) {
        ::close(g_pipe[0]);
        ::close(g_pipe[1]);
    }
    g_pipe[0] = g_pipe[1] = -1;
}

void StopSignals::listen() {
    // Without a pipe a stop signal keeps ending the program at once.
    if (g_pipe[0] < 0 || notifier_)
        return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::readSignal);
    g_listening.store(true);
}

void StopSignals::readSignal() {
    unsigned char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1) {
        // The first stop decides the status; the rest add nothing.
        if (notifier_->isEnabled()) {
            notifier_->setEnabled(false);
            emit stopRequested(128 + number);
            return;
        }
    }
}
