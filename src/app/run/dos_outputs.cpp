#include "app/run/dos_outputs.h"

#include "app/run/waitable_timer.h"

#include <QFile>

#include <algorithm>
#include <csignal>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kPipeBytes = 1 << 20;

// Made here, not in the child: it may share our memory until it executes the command, so it
// keeps no variables of its own (a sanitizer would mark them in our memory for good).
const struct sigaction kDefaultAction = [] {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    return action;
}();
const sigset_t kTerminateSet = [] {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    return set;
}();

} // namespace

QString StartErrorText(StartError error) {
    switch (error) {
    case StartError::EmptyCommand:
        return QStringLiteral("Command Line empty");
    case StartError::NotFound:
        return QStringLiteral("File or command not found");
    case StartError::None:
        break;
    }
    return {};
}

DOSOutputs::DOSOutputs(QObject* parent) : QObject(parent) {}

DOSOutputs::~DOSOutputs() {
    if (!process_)
        return;
    // Ask the converter to stop so that it can remove its temporary file; kill it only when it
    // does not listen.
    process_->disconnect(this);
    requestStop();
    if (!process_->waitForFinished(3000))
        process_->kill();
    process_->waitForFinished(1000);
    delete process_;
}

void DOSOutputs::requestStop() {
    if (process_ && !stopAsked_) {
        stopAsked_ = true;
        process_->terminate();
    }
}

void DOSOutputs::setCommand(QString text, std::string program, std::vector<std::string> arguments) {
    commandLine_ = std::move(text);
    program_ = std::move(program);
    arguments_ = std::move(arguments);
}

StartError DOSOutputs::Start() {
    if (process_)
        return StartError::None; // it runs already
    if (commandLine_.isEmpty() && program_.empty())
        return StartError::EmptyCommand;
    if (program_.empty()) // a bare text is never split into arguments by guessing
        return StartError::NotFound;

    argv_.clear();
    argv_.push_back(program_.data());
    for (auto& a : arguments_)
        argv_.push_back(a.data());
    argv_.push_back(nullptr);

    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setProgram(QFile::decodeName(QByteArray::fromStdString(program_)));
    // File names are bytes on this system and need not be valid UTF-8, which QString cannot
    // carry unchanged: the child executes the exact bytes itself, just before Qt would.
    char* const* argv = argv_.data();
    const pid_t parent = ::getpid();
    process->setChildProcessModifier([argv, parent] {
        // Our stop requests must reach the child even if we were started with SIGTERM ignored
        // or blocked: that would be inherited.
        ::sigaction(SIGTERM, &kDefaultAction, nullptr);
        ::sigprocmask(SIG_UNBLOCK, &kTerminateSet, nullptr);
        // Asked to stop when we end without asking (killed, or ended by a signal we do not
        // handle), so that no converter puts its output in place for a run that is over. The
        // request follows the thread that starts the child, here the one of the event loop.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) // already gone before the request was made
            ::_exit(128 + SIGTERM);
        // A roomier pipe lets a talkative child run ahead instead of waiting for every read.
        ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeBytes);
        ::execv(argv[0], argv);
    });
    connect(process, &QProcess::readyReadStandardOutput, this, &DOSOutputs::readAvailable);
    connect(process, &QProcess::finished, this, &DOSOutputs::finish);

    outputs_.clear();
    delivered_ = 0;
    stopAsked_ = false;
    process->start(QIODevice::ReadOnly);
    if (!process->waitForStarted(-1)) {
        delete process;
        return StartError::NotFound;
    }
    process_ = process;
    return StartError::None;
}

QByteArray DOSOutputs::ExecuteCommand(StartError* error) {
    const StartError started = Start();
    if (error)
        *error = started;
    if (started != StartError::None)
        return {};
    const QPointer<DOSOutputs> self(this);
    clsWaitableTimer timer;
    connect(this, &DOSOutputs::CommandOver, &timer, &clsWaitableTimer::Wake);
    while (self && self->isRunning())
        timer.Wait(50);
    return self ? outputs_ : QByteArray();
}

void DOSOutputs::readAvailable() {
    if (process_)
        deliver(process_->readAllStandardOutput(), false);
}

void DOSOutputs::deliver(const QByteArray& data, bool last) {
    const QPointer<DOSOutputs> self(this);
    outputs_.append(data);
    // Lines are handed on from outputs_ itself: a copy of each, as a handler may outlive it.
    while (self && delivered_ < outputs_.size()) {
        const char* start = outputs_.constData() + delivered_;
        const qsizetype waiting = outputs_.size() - delivered_;
        qsizetype length = 0;
        while (length < waiting && start[length] != '\n' && start[length] != '\r')
            ++length;
        if (length < waiting)
            ++length; // its end
        else if (!last && length < kMaxLineBytes)
            return; // the rest of the line is still to come
        length = std::min<qsizetype>(length, kMaxLineBytes);
        delivered_ += length;
        emit ReceiveOutputs(QByteArray(start, length));
    }
}

void DOSOutputs::finish(int exitCode, QProcess::ExitStatus status) {
    if (!process_)
        return;
    QProcess* process = process_;
    const QPointer<DOSOutputs> self(this);
    deliver(process->readAllStandardOutput(), true); // whatever is still waiting
    if (!self)
        return;
    lastExitCode_ = exitCode;
    lastNormalExit_ = status == QProcess::NormalExit;
    process_ = nullptr;
    process->deleteLater();
    emit CommandOver();
}
