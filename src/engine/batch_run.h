#pragma once

#include "engine/command_line.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <vector>

class DOSOutputs;

// What a batch run reads and changes between files: the file list, the current choices and
// the parts of the window that show the run. The window implements it; tests fake it.
class BatchSource {
public:
    virtual ~BatchSource() = default;
    [[nodiscard]] virtual int count() const = 0;
    [[nodiscard]] virtual QByteArray firstPath() const = 0;
    virtual void removeFirst() = 0;
    // The choices as they are now; a change during a run applies from the next file on.
    [[nodiscard]] virtual ConversionSettings settings() const = 0;
    [[nodiscard]] virtual bool finishSoundOn() const = 0;
    // Disables (true) or restores (false) the controls that could start another run.
    virtual void setRunning(bool running) = 0;
    virtual void showProgress(float widthTwips, const QString& caption) = 0;
    virtual void showDropZone() = 0;
};

// Converts every file of the list, first to last, one converter at a time. Files added
// during the run are converted in the same run. Event-driven: nothing here blocks the window.
class BatchRun final : public QObject {
    Q_OBJECT
public:
    struct Failure {
        QByteArray path;
        QString reason;
    };

    BatchRun(BatchSource& source, DOSOutputs& dos, QString programFolder,
             QObject* parent = nullptr);

    // The Start action: refuses an empty list, otherwise disables the controls and starts the
    // first file shortly after, so that the disabled look is painted first.
    void Start();
    [[nodiscard]] bool isActive() const { return active_; }

    static constexpr int kMaxListedFailures = 20;
    // The text of the box that lists failed files.
    [[nodiscard]] static QString FailureReport(const std::vector<Failure>& failures);

signals:
    void finished();

private:
    void ConvertAll();
    void convertNext();
    void objDOS_ReceiveOutputs(const QByteArray& chunk);
    void objDOS_CommandOver();
    void finishRun();
    void restoreWindow();
    void abortRun();
    [[nodiscard]] QString failureReason() const;

    BatchSource& source_;
    DOSOutputs& objDOS_;
    QString programFolder_;
    QTimer Timer1_;
    bool active_ = false;
    bool converting_ = false;
    std::int32_t totalSeconds_ = 0;
    ConversionSettings current_;
    std::vector<Failure> failures_;
};
