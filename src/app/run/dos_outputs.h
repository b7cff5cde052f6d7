#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>

#include <string>
#include <vector>

// Why a command could not be started; the caller says so in its own way.
enum class StartError { None, EmptyCommand, NotFound };

// The runner's own words for a start error, as boxes and error lines show them.
[[nodiscard]] QString StartErrorText(StartError error);

// Runs one console command with standard output and standard error joined, hands its output
// to its owner a line at a time, and tells the owner when the command is over. The command is
// an argument vector executed byte for byte (no shell, no re-parsing); the command-line text is
// what is shown.
class DOSOutputs final : public QObject {
    Q_OBJECT
public:
    // A line ends at a line feed or a carriage return (progress lines end in one) and keeps its
    // end; a longer run of bytes without either is handed on in pieces of this size.
    static constexpr int kMaxLineBytes = 64 * 1024;

    explicit DOSOutputs(QObject* parent = nullptr);
    ~DOSOutputs() override;

    // The shown text and the vector that is executed.
    void setCommand(QString text, std::string program, std::vector<std::string> arguments);
    [[nodiscard]] QString CommandLine() const { return commandLine_; }
    [[nodiscard]] QByteArray Outputs() const { return outputs_; }

    // Starts the command and returns at once; ReceiveOutputs and CommandOver follow from the
    // event loop. When it could not be started, says why and raises no event.
    [[nodiscard]] StartError Start();
    // Starts the command and returns when it is over, keeping the window responsive meanwhile.
    // Returns everything the command printed; `error` tells why nothing ran.
    QByteArray ExecuteCommand(StartError* error = nullptr);

    [[nodiscard]] bool isRunning() const { return process_ != nullptr; }
    // Asks the running command to stop (SIGTERM) without waiting for it; destroying the runner
    // then waits. Lets a caller ask several commands before waiting for any.
    void requestStop();
    // Result of the last finished command.
    [[nodiscard]] bool lastSucceeded() const { return lastNormalExit_ && lastExitCode_ == 0; }
    [[nodiscard]] int lastExitCode() const { return lastExitCode_; }
    [[nodiscard]] bool lastExitedNormally() const { return lastNormalExit_; }

signals:
    // One line of output, its end included.
    void ReceiveOutputs(const QByteArray& CommandOutputs);
    void CommandOver();

private:
    void readAvailable();
    void deliver(const QByteArray& data, bool last);
    void finish(int exitCode, QProcess::ExitStatus status);

    QString commandLine_;
    std::string program_;
    std::vector<std::string> arguments_;
    std::vector<char*> argv_; // points into program_ and arguments_ while a child starts
    QByteArray outputs_;
    qsizetype delivered_ = 0; // bytes of outputs_ already handed on
    QPointer<QProcess> process_;
    bool stopAsked_ = false; // one request only: a second could end the child mid-clean-up
    int lastExitCode_ = 0;
    bool lastNormalExit_ = true;
};
