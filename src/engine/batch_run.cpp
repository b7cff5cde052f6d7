#include "engine/batch_run.h"

#include "engine/dos_outputs.h"
#include "engine/progress_parser.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/sound.h"

#include <QFile>
#include <QUrl>

#include <sys/stat.h>

namespace {

constexpr int kStartDelayMs = 100;

// Only the last level is made, as the folder box names it; an existing folder is fine.
void MakeOutputFolder(const std::string& folder) {
    if (!folder.empty())
        ::mkdir(folder.c_str(), 0777);
}

} // namespace

BatchRun::BatchRun(BatchSource& source, DOSOutputs& dos, QString programFolder, QObject* parent)
    : QObject(parent), source_(source), objDOS_(dos), programFolder_(std::move(programFolder)) {
    Timer1_.setSingleShot(true);
    Timer1_.setInterval(kStartDelayMs);
    connect(&Timer1_, &QTimer::timeout, this, &BatchRun::ConvertAll);
    connect(&objDOS_, &DOSOutputs::ReceiveOutputs, this, &BatchRun::objDOS_ReceiveOutputs);
    connect(&objDOS_, &DOSOutputs::CommandOver, this, &BatchRun::objDOS_CommandOver);
}

void BatchRun::Start() {
    if (active_)
        return;
    if (source_.count() == 0) {
        platform::messageBoxes().show(QStringLiteral("Please add a file"),
                                      platform::MsgIcon::Exclamation, QStringLiteral("Add"));
        return;
    }
    active_ = true;
    failures_.clear();
    source_.setRunning(true);
    Timer1_.start();
}

void BatchRun::ConvertAll() {
    MakeOutputFolder(source_.settings().outputFolder);
    convertNext();
}

void BatchRun::convertNext() {
    if (!active_ || converting_)
        return;
    while (source_.count() > 0) {
        const QByteArray path = source_.firstPath();
        current_ = source_.settings();
        // A folder chosen during the run is made before its first file.
        MakeOutputFolder(current_.outputFolder);
        const auto built = BuildCommandLine(path.toStdString(), current_,
                                            QFile::encodeName(programFolder_).toStdString());
        if (!built) {
            failures_.push_back({path, QStringLiteral("no output format is chosen")});
            source_.removeFirst();
            continue;
        }
        totalSeconds_ = 0;
        objDOS_.setCommand(QFile::decodeName(QByteArray::fromStdString(built->text)),
                           built->program, built->arguments);
        converting_ = true;
        if (!objDOS_.Start()) {
            // The runner has said why; trying the same entry again would fail the same way.
            converting_ = false;
            abortRun();
        }
        return;
    }
    finishRun();
}

void BatchRun::objDOS_ReceiveOutputs(const QByteArray& chunk) {
    if (!converting_)
        return;
    const auto update =
        ParseProgressChunk(std::string_view(chunk.constData(), chunk.size()), totalSeconds_,
                           current_.cutEnabled, current_.cutLength, current_.cutStart);
    totalSeconds_ = update.totalSeconds;
    if (update.displayChanged)
        source_.showProgress(update.barWidth, QString::fromStdString(update.caption));
}

void BatchRun::objDOS_CommandOver() {
    if (!converting_)
        return;
    converting_ = false;
    if (!objDOS_.lastSucceeded())
        failures_.push_back({source_.firstPath(), failureReason()});
    source_.removeFirst();
    totalSeconds_ = 0;
    // Let the window catch up (drops, repaints) before the next file starts.
    QTimer::singleShot(0, this, &BatchRun::convertNext);
}

QString BatchRun::failureReason() const {
    const QList<QByteArray> lines = objDOS_.Outputs().split('\n');
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QByteArray line = it->trimmed();
        if (line.startsWith("conv: "))
            return QString::fromLocal8Bit(line);
    }
    if (!objDOS_.lastExitedNormally())
        return QStringLiteral("the converter stopped unexpectedly");
    return QStringLiteral("the converter ended with status %1").arg(objDOS_.lastExitCode());
}

void BatchRun::finishRun() {
    platform::shell().openUrl(
        QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(current_.outputFolder))));
    if (source_.finishSoundOn()) {
        platform::sound().playToEnd(programFolder_ + QStringLiteral("/sound.wav"),
                                    [this] { restoreWindow(); });
        return;
    }
    restoreWindow();
}

void BatchRun::restoreWindow() {
    source_.showDropZone();
    source_.setRunning(false);
    source_.showProgress(0.0f, QStringLiteral("Done."));
    active_ = false;
    if (!failures_.empty())
        platform::messageBoxes().show(FailureReport(failures_), platform::MsgIcon::Exclamation,
                                      platform::applicationTitle());
    emit finished();
}

void BatchRun::abortRun() {
    source_.setRunning(false);
    source_.showProgress(0.0f, QStringLiteral("0%"));
    active_ = false;
    emit finished();
}

QString BatchRun::FailureReport(const std::vector<Failure>& failures) {
    QString text = failures.size() == 1 ? QStringLiteral("This file could not be converted:\n")
                                        : QStringLiteral("These files could not be converted:\n");
    const std::size_t listed = std::min<std::size_t>(failures.size(), kMaxListedFailures);
    for (std::size_t i = 0; i < listed; ++i)
        text += QStringLiteral("\n%1\n    %2")
                    .arg(QFile::decodeName(failures[i].path), failures[i].reason);
    if (failures.size() > listed)
        text += QStringLiteral("\n\nand %1 more").arg(failures.size() - listed);
    return text;
}
