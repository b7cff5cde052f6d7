#include "headless/stop_signals.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnStopSignal(int signal) {
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

StopSignals::StopSignals() {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    Handle(SIGINT, OnStopSignal);
    Handle(SIGTERM, OnStopSignal);
}

StopSignals::~StopSignals() {
    Handle(SIGINT, SIG_DFL);
    Handle(SIGTERM, SIG_DFL);
    delete notifier_;
    if (g_pipe[0] >= 0) {
        ::close(g_pipe[0]);
        ::close(g_pipe[1]);
    }
    g_pipe[0] = g_pipe[1] = -1;
}

void StopSignals::listen() {
    if (g_pipe[0] < 0 || notifier_)
        return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::readSignal);
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
