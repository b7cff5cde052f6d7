#include "app/headless/headless_run.h"

#include "app/files/file_list.h"
#include "app/headless/stop_signals.h"
#include "app/library/sync_record.h"
#include "app/run/batch_run.h"
#include "app/services/message_box.h"
#include "app/settings/choices.h"
#include "app/settings/settings_store.h"
#include "app/system/translations.h"
#include "core/batch/batch_arguments.h"
#include "core/batch/batch_texts.h"
#include "core/batch/output_folder.h"
#include "core/batch/run_report_file.h"
#include "core/batch/unused_choices.h"
#include "core/files/folder_search.h"
#include "core/files/source_key.h"
#include "core/text/translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <future>
#include <optional>
#include <string>

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void PrintError(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

// What the window would show in a box goes to standard error instead.
class ErrorLines final : public platform::MessageBoxes {
public:
    void show(const QString& text, platform::MsgIcon, const QString&) override {
        PrintError("pelkora: " + headless::SafeText(text.toStdString()));
    }
};

std::string FileNameOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return path.mid(slash + 1).toStdString();
}

// The inputs as the list takes them: a folder's files in search order, each with the folder
// as its root, every sub-folder searched. False, with the message printed, when an input is
// missing; `unreadFolders` counts the folders whose files could not be listed.
bool CollectInputs(const std::vector<std::string>& inputs,
                   const std::optional<headless::ShardChoice>& shard, FileList& list,
                   int& unreadFolders) {
    // Every shard sees the same sources and keeps its own share of them.
    const auto add = [&](const std::string& path, const std::string& root,
                         const QByteArray& rootBytes) {
        if (!shard || ShareOf(SourceKey(path, root), shard->count) == shard->index)
            list.AddFileEntry(QByteArray::fromStdString(path), rootBytes);
    };
    for (const std::string& input : inputs) {
        struct stat st = {};
        if (::stat(input.c_str(), &st) != 0) {
            PrintError("pelkora: " +
                       translation::Fill(PK_TR("HeadlessRun", "%1: no such file or folder"),
                                         {headless::SafeText(input)}));
            return false;
        }
    }
    for (const std::string& input : inputs) {
        struct stat st = {};
        if (::stat(input.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            const QByteArray root = QByteArray::fromStdString(input);
            const SearchOutcome outcome = SearchFolder(
                input, [&](const std::string& path) { add(path, input, root); }, {},
                kEverySubFolder);
            unreadFolders += static_cast<int>(outcome.unreadable);
        } else {
            add(input, {}, {});
        }
    }
    return true;
}

void Apply(const headless::BatchArguments& args, ConversionChoices& c, int cores) {
    if (args.format)
        c.formatIndex = *args.format;
    if (args.bitrate)
        c.bitrateIndex = *args.bitrate;
    if (args.rate)
        c.rateIndex = *args.rate;
    if (args.channels)
        c.channelIndex = *args.channels;
    if (args.output)
        c.outputFolder = QFile::encodeName(QDir::current().absoluteFilePath(
            QFile::decodeName(QByteArray::fromStdString(*args.output))));
    if (args.cut) {
        c.options.CutEnabled = 1;
        c.options.CutStart = args.cut->start;
        c.options.CutLength = args.cut->length;
    }
    c.jobs = args.jobs.value_or(cores);
    c.keepTree = args.keepTree;
    c.namePattern = QString::fromStdString(args.namePattern.value_or(std::string()));
    c.sync = args.sync;
    c.replayGain = args.replayGain;
}

// Prints the run as it goes: an updating line on a terminal, a line per file otherwise.
class Progress final {
public:
    Progress(bool quiet, int count) : quiet_(quiet), count_(count), terminal_(::isatty(2)) {
        clock_.start();
    }

    void started(const QByteArray& path, const QByteArray& output) {
        if (latestFinished_ && latest_ != path) {
            numbers_.remove(latest_);
            outputs_.remove(latest_);
        }
        latest_ = path;
        latestFinished_ = false;
        numbers_[path] = ++started_;
        outputs_[path] = output;
        show(path, "0%");
    }

    void progress(const QByteArray& path, const std::string& caption) { show(path, caption); }

    void runProgress(double share) { share_ = share; }

    void finished(const QByteArray& path, const FileOutcome& outcome) {
        const auto kind = outcome.kind == FileOutcome::Kind::Failed ? headless::FileOutcome::Failed
                          : outcome.kind == FileOutcome::Kind::ConvertedWithWarnings
                              ? headless::FileOutcome::Warning
                          : outcome.kind == FileOutcome::Kind::UpToDate
                              ? headless::FileOutcome::UpToDate
                              : headless::FileOutcome::Converted;
        ++done_;
        clearLine();
        const int number = numbers_.value(path);
        const QByteArray output = outputs_.value(path);
        // Only running files are kept, and the latest, which the run's line names: a library
        // of many thousands passes through here.
        if (path == latest_) {
            latestFinished_ = true;
        } else {
            numbers_.remove(path);
            outputs_.remove(path);
        }
        const bool quietKind =
            kind == headless::FileOutcome::Converted || kind == headless::FileOutcome::UpToDate;
        if (!headless::ReportsFinished(kind, quiet_) || (terminal_ && quietKind))
            return;
        std::string line =
            headless::FinishedLine(step(path, number, output), kind, outcome.text.toStdString());
        if (kind == headless::FileOutcome::Converted && outcome.peak)
            line += headless::LoudnessSuffix(outcome.loudnessLufs, *outcome.peak);
        PrintError(line);
    }

    void clearLine() {
        if (terminal_ && shown_) {
            std::fputs("\r\x1b[K", stderr);
            shown_ = false;
        }
    }

private:
    headless::FileStep step(const QByteArray& path) {
        return step(path, numbers_.value(path), outputs_.value(path));
    }

    headless::FileStep step(const QByteArray& path, int number, const QByteArray& output) {
        names_[0] = FileNameOf(path);
        names_[1] = FileNameOf(output);
        return {number, std::max(count_, started_), names_[0], names_[1]};
    }

    headless::RunStanding standing() const {
        const double elapsed = static_cast<double>(clock_.elapsed()) / 1000.0;
        return {done_, std::max(count_, started_), share_, headless::SecondsLeft(share_, elapsed)};
    }

    // Asked each time, so a resized window is followed; a longer line would wrap and the
    // next update could not clear it.
    static int columns() {
        winsize size{};
        if (::ioctl(2, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
            return size.ws_col;
        return 80;
    }

    void show(const QByteArray& path, const std::string& caption) {
        if (!terminal_ || quiet_)
            return;
        std::fprintf(stderr, "\r\x1b[K%s",
                     headless::ProgressLine(step(path), caption, standing(), columns()).c_str());
        std::fflush(stderr);
        shown_ = true;
    }

    bool quiet_;
    int count_;
    bool terminal_;
    bool shown_ = false;
    int started_ = 0;
    int done_ = 0;
    double share_ = 0.0;
    QElapsedTimer clock_;
    QHash<QByteArray, int> numbers_;
    QHash<QByteArray, QByteArray> outputs_;
    QByteArray latest_;
    bool latestFinished_ = false;
    std::string names_[2];
};

// The rows of --report, in the order the files started; only finished files are written.
class ReportRows final {
public:
    void started(const QByteArray& path, const QByteArray& output) {
        waiting_[path].push_back(entries_.size());
        Entry& entry = entries_.emplace_back();
        entry.row.source = path.toStdString();
        entry.row.output = output.toStdString();
        entry.clock.start();
    }

    void finished(const QByteArray& path, const QByteArray& output, const FileOutcome& outcome) {
        // A file that failed before any converter started has no row yet.
        if (waiting_.value(path).isEmpty())
            started(path, output);
        const auto waiting = waiting_.find(path);
        Entry& entry = entries_[waiting->takeFirst()];
        if (waiting->isEmpty())
            waiting_.erase(waiting);
        headless::ReportRow& row = entry.row;
        row.seconds = static_cast<double>(entry.clock.nsecsElapsed()) / 1e9;
        row.status = statusOf(outcome);
        row.reason = outcome.text.toStdString();
        row.inputBytes = sizeOf(row.source);
        // A failed file's output name may hold an older file that is none of this run's.
        if (row.status != headless::ReportStatus::Failed)
            row.outputBytes = sizeOf(row.output);
        row.loudnessLufs = outcome.loudnessLufs;
        row.peak = outcome.peak;
        entry.done = true;
    }

    void renamed(const QByteArray& path) {
        for (Entry& entry : entries_)
            if (entry.done && entry.row.source == path.toStdString() &&
                entry.row.status != headless::ReportStatus::Failed)
                entry.row.reason = "numbered to keep it apart from another file" +
                                   (entry.row.reason.empty() ? "" : "\n" + entry.row.reason);
    }

    void pruned(const QByteArray& key, const QByteArray& output) {
        Entry& entry = entries_.emplace_back();
        entry.row.source = key.toStdString();
        entry.row.output = output.toStdString();
        entry.row.status = headless::ReportStatus::Pruned;
        entry.done = true;
    }

    static headless::ReportStatus statusOf(const FileOutcome& outcome) {
        switch (outcome.kind) {
        case FileOutcome::Kind::Converted:
            return headless::ReportStatus::Converted;
        case FileOutcome::Kind::ConvertedWithWarnings:
            return headless::ReportStatus::ConvertedWithWarnings;
        case FileOutcome::Kind::Failed:
            return headless::ReportStatus::Failed;
        case FileOutcome::Kind::UpToDate:
            // A synchronised run says where an output it only moved came from.
            return outcome.text.isEmpty() ? headless::ReportStatus::UpToDate
                                          : headless::ReportStatus::Renamed;
        }
        return headless::ReportStatus::Failed;
    }

    [[nodiscard]] std::vector<headless::ReportRow> rows() const {
        std::vector<headless::ReportRow> done;
        for (const Entry& entry : entries_)
            if (entry.done)
                done.push_back(entry.row);
        return done;
    }

private:
    struct Entry {
        headless::ReportRow row;
        QElapsedTimer clock;
        bool done = false;
    };

    static std::optional<std::uintmax_t> sizeOf(const std::string& path) {
        struct stat st = {};
        if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
        return static_cast<std::uintmax_t>(st.st_size);
    }

    std::vector<Entry> entries_;
    QHash<QByteArray, QList<std::size_t>> waiting_;
};

headless::RunSummary Summarise(const RunReport& report) {
    headless::RunSummary s;
    s.converted = report.converted;
    s.upToDate = report.upToDate;
    s.pruned = static_cast<int>(report.pruned.size());
    s.warnings = static_cast<int>(report.warnings.size());
    s.failed = static_cast<int>(report.failures.size());
    for (const auto& f : report.failures)
        s.failures.push_back({f.path.toStdString(), f.text.toStdString()});
    for (const auto& r : report.renamings)
        s.renamings.push_back({r.path.toStdString(), r.text.toStdString()});
    for (const auto& w : report.warnings)
        s.warningNotes.push_back({w.path.toStdString(), w.text.toStdString()});
    return s;
}

} // namespace

int RunHeadless(int argc, char** argv) {
    // The stop signals are caught before anything can start a converter.
    StopSignals stopSignals;
    QCoreApplication app(argc, argv);
    InstallTranslations(app, QCoreApplication::applicationDirPath());
    const int cores = std::max(1, QThread::idealThreadCount());
    const auto parsed = headless::ParseBatchArguments(argc, argv, cores);
    if (const auto* error = std::get_if<headless::UsageError>(&parsed)) {
        PrintError(error->message);
        return headless::kExitUsage;
    }
    const auto& args = std::get<headless::BatchArguments>(parsed);
    if (args.help) {
        std::fputs(headless::HelpText().c_str(), stdout);
        return headless::kExitConverted;
    }
    if (args.version) {
        std::printf("%s\n", headless::VersionText(PELKORA_VERSION_MAJOR, PELKORA_VERSION_MINOR,
                                                  PELKORA_VERSION_PATCH)
                                .c_str());
        return headless::kExitConverted;
    }

    if (!args.quiet)
        for (const std::string& note : args.notes)
            PrintError(note);

    const QString programFolder = QCoreApplication::applicationDirPath();
    const settings::SettingsPlace place = settings::FindSettingsPlace(programFolder);
    Choices choices;
    ErrorLines errors;
    ConversionChoices value = settings::ReadChoices(place, errors); // read only
    Apply(args, value, cores);
    // A bitrate asked for is used or refused; a saved one gives way to the format's nearest.
    if (args.bitrate) {
        if (const std::string problem = headless::BitrateProblem(value.formatIndex, *args.bitrate);
            !problem.empty()) {
            PrintError(problem);
            return headless::kExitUsage;
        }
    }
    choices.set(value);
    if (const std::string problem = headless::PrepareOutputFolder(value.outputFolder.toStdString());
        !problem.empty()) {
        PrintError(
            "pelkora: " +
            translation::Fill(args.output ? PK_TR("HeadlessRun", "--output %1 %2")
                                          : PK_TR("HeadlessRun", "the output folder %1 %2"),
                              {headless::ShownValue(value.outputFolder.toStdString()), problem}));
        return headless::kExitUsage;
    }
    // After the output folder is made: the report may go into it.
    if (args.report) {
        if (const std::string problem = headless::ReportPathProblem(*args.report);
            !problem.empty()) {
            PrintError("pelkora: --report " + headless::ShownValue(*args.report) + ": " + problem);
            return headless::kExitUsage;
        }
    }
    ReportRows reportRows;
    // A run that converted and cannot say so has not done what was asked.
    const auto withReport = [&](int status) {
        if (!args.report)
            return status;
        const auto written = headless::WriteReport(*args.report, reportRows.rows(),
                                                   *headless::ReportFormatOf(*args.report));
        if (written)
            return status;
        PrintError("pelkora: " + headless::SafeText(written.error));
        return status == headless::kExitConverted || status == headless::kExitWarnings
                   ? headless::kExitSomeFailed
                   : status;
    };
    // The record is read while the sources are searched: both take a while in a big library.
    QString recordError;
    std::optional<SyncSnapshot> snapshot;
    std::future<bool> recordRead;
    if (value.sync)
        recordRead = std::async(std::launch::async, [&, folder = value.outputFolder] {
            return SyncRecord::ReadSnapshot(folder, snapshot, recordError);
        });
    FileList list;
    int unreadFolders = 0;
    if (!CollectInputs(args.inputs, args.shard, list, unreadFolders))
        return headless::kExitUsage;
    // A record that cannot be used stops the run before anything is written.
    if (recordRead.valid() && !recordRead.get()) {
        PrintError("pelkora: " + headless::SafeText(recordError.toStdString()));
        return headless::kExitUsage;
    }

    if (list.count() == 0) {
        headless::RunSummary summary;
        summary.unreadFolders = unreadFolders;
        std::fputs(headless::SummaryText(summary, args.quiet).c_str(), stderr);
        return withReport(headless::ExitStatus(summary));
    }

    // Said once here; the converter would otherwise change or drop them file by file.
    if (!args.quiet)
        for (const std::string& note :
             headless::UnusedChoiceNotes(value.formatIndex, args.rate, args.bitrate))
            PrintError(note);
    BatchRun run(list, choices, programFolder);
    run.setStartDelay(0);
    if (snapshot)
        run.preloadSync(value.outputFolder, std::move(*snapshot));
    if (args.prune) {
        std::vector<QByteArray> folders;
        for (const std::string& input : args.inputs)
            if (struct stat st = {}; ::stat(input.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                folders.push_back(QByteArray::fromStdString(input));
        run.setPrune(std::move(folders));
    }
    Progress progress(args.quiet, list.count());
    QByteArray lastPath;
    QObject::connect(&run, &BatchRun::fileStarted,
                     [&](const QByteArray& path, const QByteArray& out) {
                         lastPath = path;
                         if (args.report)
                             reportRows.started(path, out);
                         progress.started(path, out);
                     });
    // One file at a time shows that file's share, several the run's, as the window does.
    const auto showsOneFile = [&] { return choices.value().jobs <= 1 && run.runningCount() <= 1; };
    const auto showShare = [&](const QByteArray& path, double fraction) {
        progress.progress(path, headless::PercentText(fraction * 100.0));
    };
    QObject::connect(&run, &BatchRun::fileProgress, [&](const QByteArray& path, double fraction) {
        if (showsOneFile())
            showShare(path, fraction);
    });
    QObject::connect(&run, &BatchRun::runProgress, [&](double fraction) {
        progress.runProgress(fraction);
        if (!showsOneFile())
            showShare(lastPath, fraction);
    });
    QObject::connect(
        &run, &BatchRun::fileFinished,
        [&](const QByteArray& path, const QByteArray& out, const FileOutcome& outcome) {
            if (args.report)
                reportRows.finished(path, out, outcome);
            progress.finished(path, outcome);
        });
    int status = headless::kExitConverted;
    QObject::connect(&run, &BatchRun::runFinished, [&](const RunReport& report) {
        progress.clearLine();
        for (const auto& renaming : report.renamings)
            reportRows.renamed(renaming.path);
        for (const auto& pruned : report.pruned) {
            reportRows.pruned(QFile::encodeName(pruned.text), pruned.path);
            if (!args.quiet)
                PrintError(translation::Fill(PK_TR("HeadlessRun", "pruned: %1"),
                                             {headless::SafeText(pruned.path.toStdString())}));
        }
        if (!args.quiet)
            for (const auto& note : report.pruneNotes)
                PrintError("pelkora: " + headless::SafeText(note.path.toStdString()) + ": " +
                           headless::SafeText(note.text.toStdString()));
        if (report.aborted())
            errors.show(report.abortText(), platform::MsgIcon::Critical, {});
        headless::RunSummary summary = Summarise(report);
        summary.unreadFolders = unreadFolders;
        std::fputs(headless::SummaryText(summary, args.quiet).c_str(), stderr);
        status = !report.recordError.isEmpty() ? headless::kExitUsage
                 : report.aborted()            ? headless::kExitSomeFailed
                                               : headless::ExitStatus(summary);
        app.exit(status);
    });
    QObject::connect(&stopSignals, &StopSignals::stopRequested, [&](int exitStatus) {
        run.stop();
        progress.clearLine();
        PrintError(headless::StopText(exitStatus));
        status = exitStatus;
        app.exit(status);
    });
    stopSignals.listen();
    run.Start();
    app.exec();
    // Also after a stop signal: the files finished so far.
    return withReport(status);
}
