#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>

#include <string>
#include <vector>

namespace platform {
class MessageBoxes;
}

// Runs one console command with standard output and standard error joined, hands every
// piece of output to its owner in chunks of at most 1024 bytes, and tells the owner when the
// command is over. The command is an argument vector executed byte for byte (no shell, no
// re-parsing); the command-line text is what is shown.
class DOSOutputs final : public QObject {
    Q_OBJECT
public:
    static constexpr int kChunkSize = 1024;

    // `boxes` shows why a command could not be started.
    explicit DOSOutputs(platform::MessageBoxes& boxes, QObject* parent = nullptr);
    ~DOSOutputs() override;

    // The shown text and the vector that is executed.
    void setCommand(QString text, std::string program, std::vector<std::string> arguments);
    [[nodiscard]] QString CommandLine() const { return commandLine_; }
    [[nodiscard]] QByteArray Outputs() const { return outputs_; }

    // Starts the command and returns at once; ReceiveOutputs and CommandOver follow from the
    // event loop. False, with the message shown, when it could not be started.
    bool Start();
    // Starts the command and returns when it is over, keeping the window responsive meanwhile.
    // Returns everything the command printed.
    QByteArray ExecuteCommand();

    [[nodiscard]] bool isRunning() const { return process_ != nullptr; }
    // Asks the running command to stop (SIGTERM) without waiting for it; destroying the runner
    // then waits. Lets a caller ask several commands before waiting for any.
    void requestStop();
    // Result of the last finished command.
    [[nodiscard]] bool lastSucceeded() const { return lastNormalExit_ && lastExitCode_ == 0; }
    [[nodiscard]] int lastExitCode() const { return lastExitCode_; }
    [[nodiscard]] bool lastExitedNormally() const { return lastNormalExit_; }

signals:
    void ReceiveOutputs(const QByteArray& CommandOutputs);
    void CommandOver();

private:
    void readAvailable();
    void deliver(const QByteArray& data);
    void finish(int exitCode, QProcess::ExitStatus status);

    void showFailure(const char* text);

    platform::MessageBoxes& boxes_;
    QString commandLine_;
    std::string program_;
    std::vector<std::string> arguments_;
    std::vector<char*> argv_; // points into program_ and arguments_ while a child starts
    QByteArray outputs_;
    QPointer<QProcess> process_;
    bool stopAsked_ = false; // one request only: a second could end the child mid-clean-up
    int lastExitCode_ = 0;
    bool lastNormalExit_ = true;
};
