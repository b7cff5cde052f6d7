#include "app/run/batch_run.h"

#include "app/files/file_list.h"
#include "app/run/dos_outputs.h"
#include "app/settings/choices.h"
#include "core/engine/orphan_parts.h"
#include "core/engine/progress_parser.h"
#include "core/naming/name_pattern.h"
#include "core/naming/tag_reader.h"

#include "conv_protocol/exit_status.h"
#include "conv_protocol/messages.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kStartDelayMs = 100;

QString FromBytes(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QString ErrnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

qint64 Nanoseconds(const timespec& time) {
    return static_cast<qint64>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// A source's key in the record: its path below the folder it was added with, so that the
// library mounted elsewhere gives the same keys; a file added on its own is its name.
QByteArray SyncKey(const std::string& input, const std::string& root) {
    std::string_view rest(input);
    if (!root.empty() && rest.starts_with(root) && rest.size() > root.size() &&
        (root.back() == '/' || rest[root.size()] == '/')) {
        rest.remove_prefix(root.size());
        while (rest.starts_with('/'))
            rest.remove_prefix(1);
        if (!rest.empty())
            return QByteArray(rest.data(), static_cast<qsizetype>(rest.size()));
    }
    const std::size_t slash = input.find_last_of('/');
    return QByteArray::fromStdString(slash == std::string::npos ? input : input.substr(slash + 1));
}

// The choices that shape the audio, in words that outlast reordered lists.
QByteArray Fingerprint(const ConversionSettings& s) {
    std::string text = "format=" + std::string(FormatExtension(s.formatIndex)) +
                       ";bitrate=" + s.bitrate + ";rate=" + s.sampleRate +
                       ";channels=" + std::to_string(s.channelIndex);
    if (s.cutEnabled)
        text += ";cut=" + std::to_string(s.cutStart) + "+" + std::to_string(s.cutLength);
    return QByteArray::fromStdString(text);
}

QByteArray Naming(const QString& pattern, bool keepTree) {
    return pattern.toUtf8() + (keepTree ? "\ntree" : "\nflat");
}

std::string FolderWithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// Whether the output is still the file the record describes: one made or changed since is
// not left alone.
bool OutputIntact(const std::string& path, const SyncEntry& entry) {
    struct stat st = {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           st.st_size == entry.outputSize && Nanoseconds(st.st_mtim) == entry.outputMtimeNs;
}

// Removes the folders of `path` below `top` that are empty now, innermost first.
void RemoveEmptyFolders(std::string path, const std::string& top) {
    for (std::size_t slash = path.rfind('/'); slash != std::string::npos && slash >= top.size();
         slash = path.rfind('/')) {
        path.resize(slash);
        if (path.size() < top.size() || ::rmdir(path.c_str()) != 0)
            return;
    }
}

// Moves without replacing whatever may have come to lie at `to`.
bool MoveNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a link fails on an existing name just the same.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

// Whether a source of `key` may still be below one of the folders: only a name that is
// certainly missing everywhere counts as gone.
bool SourceMayExist(const QByteArray& key, const std::vector<QByteArray>& folders) {
    for (const QByteArray& folder : folders) {
        const std::string path = FolderWithSlash(folder.toStdString()) + key.toStdString();
        struct stat st = {};
        if (::lstat(path.c_str(), &st) == 0 || errno != ENOENT)
            return true;
    }
    return false;
}

} // namespace

QString RunReport::abortText() const {
    return recordError.isEmpty() ? StartErrorText(startError) : recordError;
}

struct BatchRun::Job {
    quint64 entryId = 0;
    QByteArray path;
    std::string outputPath;
    ConversionSettings settings;
    std::unique_ptr<DOSOutputs> dos;
    std::int32_t totalSeconds = 0;
    double fraction = 0.0; // of this file, 0 to 1
    // With sync: the entry recorded once the output is in place, and the one before the claim.
    QByteArray syncKey;
    SyncEntry synced;
    std::optional<SyncEntry> previous;
    timespec sourceMtime = {};
};

BatchRun::BatchRun(FileList& list, Choices& choices, QString programFolder, QObject* parent)
    : QObject(parent), list_(list), choices_(choices), programFolder_(std::move(programFolder)) {
    Timer1_.setSingleShot(true);
    Timer1_.setInterval(kStartDelayMs);
    connect(&Timer1_, &QTimer::timeout, this, &BatchRun::ConvertAll);
    // Entries added during the run may start at once when a converter is free.
    connect(&list_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (active_ && started_)
            fillSlots();
    });
}

BatchRun::~BatchRun() = default;

bool BatchRun::Start() {
    if (active_)
        return true;
    if (list_.count() == 0)
        return false;
    active_ = true;
    started_ = false;
    finished_ = 0;
    shownFraction_ = 0.0;
    shownFiles_ = 0;
    usedOutputs_.clear();
    inputs_.clear();
    lastNotedEntry_ = 0;
    preparedFolders_.clear();
    report_ = {};
    record_.reset();
    syncKeys_.clear();
    Timer1_.start();
    return true;
}

void BatchRun::stop() {
    Timer1_.stop();
    active_ = false;
    // Ask every converter first, then wait: each removes its temporary file as it ends.
    for (auto& job : jobs_) {
        job->dos->disconnect(this);
        job->dos->requestStop();
        releaseClaim(*job);
    }
    jobs_.clear();
}

void BatchRun::ConvertAll() {
    started_ = true;
    prepareFolder(choices_.value().conversionSettings().outputFolder);
    fillSlots();
}

void BatchRun::prepareFolder(const std::string& folder) {
    if (folder.empty())
        return;
    // Only this level is made, as the folder box names it; an existing folder is fine.
    ::mkdir(folder.c_str(), 0777);
    if (preparedFolders_.insert(folder).second)
        report_.orphansRemoved += orphan_parts::RemoveOrphanedParts(folder);
}

void BatchRun::fillSlots() {
    if (!active_ || !started_)
        return;
    const int jobs = std::max(1, choices_.value().jobs);
    while (static_cast<int>(jobs_.size()) < jobs) {
        const int row = nextWaitingRow();
        if (row < 0)
            break;
        if (!startEntry(row))
            return;
    }
    if (jobs_.empty())
        finishRun();
}

int BatchRun::nextWaitingRow() const {
    // The first entry that is not converting; the running ones are known by their ids, wherever
    // they are in the list.
    for (int row = 0; row < list_.count(); ++row) {
        const quint64 id = list_.entryId(row);
        const bool running = std::any_of(jobs_.begin(), jobs_.end(),
                                         [id](const auto& job) { return job->entryId == id; });
        if (!running)
            return row;
    }
    return -1;
}

void BatchRun::noteNewInputs() {
    // Entries only ever join at the end, with ids that grow.
    const quint64 newest = list_.entryId(list_.count() - 1);
    for (int i = list_.count() - 1; i >= 0 && list_.entryId(i) > lastNotedEntry_; --i)
        inputs_.add(list_.path(i).toStdString());
    lastNotedEntry_ = std::max(lastNotedEntry_, newest);
}

bool BatchRun::startEntry(int index) {
    auto job = std::make_unique<Job>();
    job->entryId = list_.entryId(index);
    job->path = list_.path(index);
    job->settings = choices_.value().conversionSettings();
    const bool keepTree = choices_.value().keepTree;
    // A folder chosen during the run is made before its first file.
    prepareFolder(job->settings.outputFolder);

    const std::string input = job->path.toStdString();
    noteNewInputs();
    const std::string root = list_.root(index).toStdString();
    OutputPlan plan;
    if (choices_.value().sync) {
        const SyncStep step = syncStart(*job, input, root, keepTree, plan);
        if (step != SyncStep::Convert)
            return step == SyncStep::Settled;
    } else {
        plan = PlanOutput(
            input, root, keepTree, job->settings,
            [this](const std::string& p) { return usedOutputs_.count(p) > 0 || inputs_.holds(p); },
            patternedName(input, root, job->settings));
    }
    for (const std::string& folder : plan.subFolders)
        prepareFolder(folder);
    const auto built = BuildCommandLineTo(input, plan.path, job->settings,
                                          QFile::encodeName(programFolder_).toStdString());
    if (!built) {
        releaseClaim(*job);
        settle(*job, {FileOutcome::Kind::Failed, QStringLiteral("no output format is chosen")}, {});
        return true;
    }
    job->outputPath = plan.path;
    usedOutputs_.insert(plan.path);
    if (plan.renamed)
        report_.renamings.push_back({job->path, FromBytes(plan.path)});
    report_.outputFolder = QByteArray::fromStdString(job->settings.outputFolder);

    job->dos = std::make_unique<DOSOutputs>();
    Job& j = *job;
    j.dos->setCommand(FromBytes(built->text), built->program, built->arguments);
    connect(j.dos.get(), &DOSOutputs::ReceiveOutputs, this,
            [this, &j](const QByteArray& line) { objDOS_ReceiveOutputs(j, line); });
    connect(j.dos.get(), &DOSOutputs::CommandOver, this, [this, &j] { objDOS_CommandOver(j); });
    jobs_.push_back(std::move(job));
    if (const StartError error = j.dos->Start(); error != StartError::None) {
        // Every other file would fail the same way.
        releaseClaim(j);
        abortRun(error);
        return false;
    }
    emit fileStarted(j.path, QByteArray::fromStdString(j.outputPath));
    return true;
}

std::vector<std::string> BatchRun::patternedName(const std::string& input, const std::string& root,
                                                 const ConversionSettings& settings) const {
    const QString text = choices_.value().namePattern;
    if (text.isEmpty())
        return {};
    const auto pattern = NamePattern::Parse(text.toStdString());
    if (!pattern)
        return {};
    return pattern->Render(DescribeSource(input, root), NamedOutputReserve(settings));
}

void BatchRun::objDOS_ReceiveOutputs(Job& job, const QByteArray& line) {
    const auto update =
        ParseProgressChunk(std::string_view(line.constData(), line.size()), job.totalSeconds,
                           job.settings.cutEnabled, job.settings.cutLength, job.settings.cutStart);
    job.totalSeconds = update.totalSeconds;
    if (!update.moved)
        return;
    job.fraction = update.fraction;
    emit fileProgress(job.path, job.fraction);
    reportRunProgress();
}

double BatchRun::runFraction() const {
    double done = finished_;
    for (const auto& job : jobs_)
        done += job->fraction;
    const int files = finished_ + list_.count();
    return files > 0 ? std::clamp(done / files, 0.0, 1.0) : 1.0;
}

void BatchRun::reportRunProgress() {
    const int files = finished_ + list_.count();
    double fraction = runFraction();
    // Files joining the run may lower the share; anything else only moves it on.
    if (files == shownFiles_)
        fraction = std::max(fraction, shownFraction_);
    shownFraction_ = fraction;
    shownFiles_ = files;
    emit runProgress(fraction);
}

FileOutcome BatchRun::outcomeOf(const DOSOutputs& dos) {
    // Progress lines end in a carriage return: the converter's own lines may follow one.
    const QList<QByteArray> lines = QByteArray(dos.Outputs()).replace('\r', '\n').split('\n');
    const auto message = [](const QByteArray& line) {
        return conv_protocol::ParseMessage(std::string_view(line.constData(), line.size()));
    };
    if (dos.lastExitedNormally() &&
        dos.lastExitCode() == conv_protocol::kExitConvertedWithWarnings) {
        QStringList warnings;
        for (const QByteArray& raw : lines) {
            const QByteArray line = raw.trimmed();
            if (const auto read = message(line); read && read->warning)
                warnings << QString::fromLocal8Bit(line);
        }
        return {FileOutcome::Kind::ConvertedWithWarnings, warnings.join(QLatin1Char('\n'))};
    }
    if (dos.lastExitedNormally() && dos.lastExitCode() == conv_protocol::kExitConverted)
        return {FileOutcome::Kind::Converted, {}};
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QByteArray line = it->trimmed();
        // Warnings come only with their own status: the last message is why it failed.
        if (message(line))
            return {FileOutcome::Kind::Failed, QString::fromLocal8Bit(line)};
    }
    if (!dos.lastExitedNormally())
        return {FileOutcome::Kind::Failed, QStringLiteral("the converter stopped unexpectedly")};
    return {FileOutcome::Kind::Failed,
            QStringLiteral("the converter ended with status %1").arg(dos.lastExitCode())};
}

void BatchRun::objDOS_CommandOver(Job& job) {
    if (findJob(job) == jobs_.end())
        return;
    // Everything about the file is taken from its own job before its entry goes.
    const FileOutcome outcome = outcomeOf(*job.dos);
    const QByteArray path = job.path;
    const QByteArray output = QByteArray::fromStdString(job.outputPath);
    if (!job.syncKey.isEmpty())
        syncFinish(job, outcome);
    switch (outcome.kind) {
    case FileOutcome::Kind::Converted:
        ++report_.converted;
        break;
    case FileOutcome::Kind::ConvertedWithWarnings:
        ++report_.converted;
        report_.warnings.push_back({path, outcome.text});
        break;
    case FileOutcome::Kind::Failed:
        report_.failures.push_back({path, outcome.text});
        // Nothing was put in place: a later file of the same name may have the plain name,
        // unless that name is an input's, which every plan checks again.
        usedOutputs_.erase(job.outputPath);
        break;
    case FileOutcome::Kind::UpToDate:
        ++report_.upToDate;
        break;
    }
    // Removing the entry may show rows dropped meanwhile, and those may start at once: the job
    // stays listed as running until its entry is gone, and is looked up again afterwards, as
    // starting may have moved the jobs or ended the run.
    list_.RemoveEntry(job.entryId);
    const auto found = findJob(job);
    if (found == jobs_.end())
        return;
    ++finished_;
    // The runner is inside its own signal: let it return before it goes.
    (*found)->dos.release()->deleteLater();
    jobs_.erase(found);
    emit fileFinished(path, output, outcome);
    reportRunProgress();
    // Let the window catch up (drops, repaints) before the next file starts.
    QTimer::singleShot(0, this, &BatchRun::fillSlots);
}

std::vector<std::unique_ptr<BatchRun::Job>>::iterator BatchRun::findJob(const Job& job) {
    return std::find_if(jobs_.begin(), jobs_.end(), [&](const auto& j) { return j.get() == &job; });
}

void BatchRun::setPrune(std::vector<QByteArray> folders) {
    prune_ = true;
    pruneFolders_ = std::move(folders);
}

void BatchRun::finishRun() {
    if (!active_)
        return;
    active_ = false;
    // After the conversions: a source that moved has its new key by now.
    if (prune_ && record_ && choices_.value().sync)
        prune();
    emit runFinished(report_);
}

void BatchRun::abortRun(StartError error) {
    stop();
    report_.startError = error;
    emit runFinished(report_);
}

void BatchRun::abortRun(const QString& recordError) {
    stop();
    report_.recordError = recordError;
    emit runFinished(report_);
}

void BatchRun::settle(Job& job, const FileOutcome& outcome, const std::string& outputPath) {
    const QByteArray output = QByteArray::fromStdString(outputPath);
    if (outcome.kind == FileOutcome::Kind::UpToDate) {
        ++report_.upToDate;
        report_.outputFolder = QByteArray::fromStdString(job.settings.outputFolder);
    } else {
        report_.failures.push_back({job.path, outcome.text});
    }
    list_.RemoveEntry(job.entryId);
    ++finished_;
    // Announced like a conversion, so that a face counts and names it the same way.
    emit fileStarted(job.path, output);
    emit fileFinished(job.path, output, outcome);
}

BatchRun::SyncStep BatchRun::syncStart(Job& job, const std::string& input, const std::string& root,
                                       bool keepTree, OutputPlan& plan) {
    const std::string& outputFolder = job.settings.outputFolder;
    if (!record_ || record_->folder() != QByteArray::fromStdString(outputFolder)) {
        record_.reset();
        QString error;
        record_ = SyncRecord::Open(QByteArray::fromStdString(outputFolder), &error);
        if (!record_) {
            abortRun(error);
            return SyncStep::Aborted;
        }
    }
    SyncRecord& record = *record_;
    const auto fail = [&](const QString& why) {
        settle(job, {FileOutcome::Kind::Failed, why}, {});
        return SyncStep::Settled;
    };
    const QByteArray key = SyncKey(input, root);
    // Two sources of one key would take turns replacing each other's output.
    if (!syncKeys_.insert(key).second)
        return fail(QStringLiteral("another file of this run has the same path below its "
                                   "folder (%1); it is converted once")
                        .arg(QFile::decodeName(key)));
    struct stat source = {};
    if (::stat(input.c_str(), &source) != 0)
        return fail(QStringLiteral("cannot be read: %1").arg(ErrnoText()));

    const std::string folder = FolderWithSlash(outputFolder);
    const auto relative = [&](const std::string& path) {
        return QByteArray::fromStdString(path.substr(std::min(folder.size(), path.size())));
    };
    const auto absolute = [&](const QByteArray& output) { return folder + output.toStdString(); };
    if (!record.begin())
        return fail(QStringLiteral("the sync record: %1").arg(record.lastError()));
    const std::optional<SyncEntry> existing = record.find(key);
    if (existing && SyncRecord::OwnerAlive(*existing)) {
        record.rollback();
        return fail(QStringLiteral("another run is converting it (process %1 on %2)")
                        .arg(existing->ownerPid)
                        .arg(existing->ownerHost));
    }
    SyncEntry wanted;
    wanted.key = key;
    wanted.sourceSize = source.st_size;
    wanted.sourceMtimeNs = Nanoseconds(source.st_mtim);
    wanted.fingerprint = Fingerprint(job.settings);
    wanted.naming = Naming(choices_.value().namePattern, keepTree);
    wanted.done = true;
    const bool current = existing && existing->done && existing->sourceSize == wanted.sourceSize &&
                         existing->sourceMtimeNs == wanted.sourceMtimeNs &&
                         existing->fingerprint == wanted.fingerprint &&
                         OutputIntact(absolute(existing->output), *existing);
    if (current && existing->naming == wanted.naming) {
        record.rollback();
        usedOutputs_.insert(absolute(existing->output));
        settle(job, {FileOutcome::Kind::UpToDate, {}}, absolute(existing->output));
        return SyncStep::Settled;
    }
    plan = PlanOutput(
        input, root, keepTree, job.settings,
        [&](const std::string& p) {
            return usedOutputs_.count(p) > 0 || inputs_.holds(p) ||
                   record.outputHeldByOther(relative(p), key);
        },
        patternedName(input, root, job.settings));
    if (current) {
        // Only the names changed: the output moves, inside the output folder.
        SyncEntry moved = *existing;
        moved.naming = wanted.naming;
        moved.output = relative(plan.path);
        const std::string from = absolute(existing->output);
        if (!record.put(moved)) {
            record.rollback();
            return fail(QStringLiteral("the sync record: %1").arg(record.lastError()));
        }
        if (plan.path != from) {
            for (const std::string& sub : plan.subFolders)
                prepareFolder(sub);
            if (!MoveNoReplace(from, plan.path)) {
                const QString why = ErrnoText();
                record.rollback();
                return fail(
                    QStringLiteral("cannot be moved to %1: %2").arg(FromBytes(plan.path), why));
            }
        }
        if (!record.commit()) {
            ::rename(plan.path.c_str(), from.c_str());
            return fail(QStringLiteral("the sync record: %1").arg(record.lastError()));
        }
        if (plan.path != from)
            RemoveEmptyFolders(from, folder);
        usedOutputs_.insert(plan.path);
        settle(
            job,
            {FileOutcome::Kind::UpToDate,
             plan.path != from ? QStringLiteral("moved from %1").arg(FromBytes(from)) : QString()},
            plan.path);
        return SyncStep::Settled;
    }
    // Claimed before the converter starts: no other process plans this name meanwhile.
    SyncEntry claim = SyncRecord::ClaimedBySelf(existing.value_or(wanted));
    claim.key = key;
    claim.output = relative(plan.path);
    if (!record.put(claim) || !record.commit()) {
        record.rollback();
        return fail(QStringLiteral("the sync record: %1").arg(record.lastError()));
    }
    job.syncKey = key;
    job.synced = wanted;
    job.synced.output = claim.output;
    if (existing && existing->done)
        job.previous = existing;
    job.sourceMtime = source.st_mtim;
    return SyncStep::Convert;
}

void BatchRun::syncFinish(Job& job, const FileOutcome& outcome) {
    if (outcome.kind == FileOutcome::Kind::Failed || !record_)
        return releaseClaim(job);
    const std::string path = job.outputPath;
    // The output carries its source's time, as a copy would.
    const timespec times[2] = {{0, UTIME_OMIT}, job.sourceMtime};
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
    struct stat st = {};
    if (::lstat(path.c_str(), &st) != 0)
        return releaseClaim(job);
    SyncEntry entry = job.synced;
    entry.outputSize = st.st_size;
    entry.outputMtimeNs = Nanoseconds(st.st_mtim);
    SyncRecord& record = *record_;
    // Not recorded, the output is only converted again on the next run.
    if (!record.begin())
        return;
    if (!record.put(entry)) {
        record.rollback();
        return;
    }
    // The output of earlier choices goes, unless it was changed since or is someone else's now.
    const std::optional<SyncEntry>& old = job.previous;
    const std::string folder = FolderWithSlash(job.settings.outputFolder);
    const std::string oldPath = old ? folder + old->output.toStdString() : std::string();
    const bool dropOld = old && old->output != entry.output &&
                         !record.outputHeldByOther(old->output, entry.key) &&
                         OutputIntact(oldPath, *old);
    if (record.commit() && dropOld && ::unlink(oldPath.c_str()) == 0)
        RemoveEmptyFolders(oldPath, folder);
    job.syncKey.clear();
}

void BatchRun::prune() {
    SyncRecord& record = *record_;
    const std::string folder = FolderWithSlash(record.folder().toStdString());
    const auto recordFailed = [&] {
        report_.failures.push_back(
            {record.folder(), QStringLiteral("the sync record: %1").arg(record.lastError())});
    };
    if (!record.begin())
        return recordFailed();
    const auto entries = record.entries();
    if (!entries) {
        record.rollback();
        return recordFailed();
    }
    // Without the data folder the trash would be made relative to the working folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const bool trashUsable = !data.isEmpty() && QDir().mkpath(data);
    std::vector<std::string> trashed;
    for (const SyncEntry& entry : *entries) {
        // A claim may be another run's conversion in progress.
        if (!entry.done || syncKeys_.count(entry.key) > 0 ||
            SourceMayExist(entry.key, pruneFolders_))
            continue;
        const std::string path = folder + entry.output.toStdString();
        struct stat st = {};
        const bool gone = ::lstat(path.c_str(), &st) != 0 && errno == ENOENT;
        if (!gone && !OutputIntact(path, entry)) {
            // Changed since it was made: the user's own now.
            report_.pruneNotes.push_back(
                {QByteArray::fromStdString(path),
                 QStringLiteral("changed since it was made; left in place")});
        } else if (!gone && (!trashUsable || !QFile::moveToTrash(FromBytes(path)))) {
            report_.failures.push_back(
                {QByteArray::fromStdString(path), QStringLiteral("cannot be moved to the trash")});
            continue;
        } else if (!gone) {
            report_.pruned.push_back(
                {QByteArray::fromStdString(path), QFile::decodeName(entry.key)});
            trashed.push_back(path);
        }
        if (!record.remove(entry.key)) {
            record.rollback();
            return recordFailed();
        }
    }
    if (!record.commit())
        return recordFailed();
    for (const std::string& path : trashed)
        RemoveEmptyFolders(path, folder);
}

void BatchRun::releaseClaim(Job& job) {
    if (job.syncKey.isEmpty() || !record_)
        return;
    SyncRecord& record = *record_;
    const QByteArray key = job.syncKey;
    job.syncKey.clear();
    if (!record.begin())
        return; // a claim of a process that is gone is taken over later
    // The earlier output is still there: a failed conversion replaces nothing.
    if (!job.previous || !record.put(*job.previous))
        record.remove(key);
    record.commit();
}
