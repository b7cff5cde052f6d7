#include "app/run/batch_run.h"

#include "app/files/file_list.h"
#include "app/run/dos_outputs.h"
#include "app/settings/choices.h"
#include "core/engine/orphan_parts.h"
#include "core/engine/progress_parser.h"
#include "core/files/gain_rewrite.h"
#include "core/naming/name_pattern.h"
#include "core/naming/tag_reader.h"

#include "conv_protocol/exit_status.h"
#include "conv_protocol/loudness.h"
#include "conv_protocol/messages.h"

#include <QFile>

#include <algorithm>

#include <sys/stat.h>

namespace {

constexpr int kStartDelayMs = 100;
// Files settled without a converter before the window gets a turn.
constexpr int kSettledPerTurn = 256;

QString FromBytes(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
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
    SyncClaim claim;       // with sync
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
    failedIds_.clear();
    shownFraction_ = 0.0;
    shownFiles_ = 0;
    usedOutputs_.clear();
    inputs_.clear();
    lastNotedEntry_ = 0;
    preparedFolders_.clear();
    report_ = {};
    sync_.reset();
    // An album is the files of one run: a run stopped earlier leaves nothing behind.
    albums_ = AlbumGains();
    Timer1_.start();
    return true;
}

void BatchRun::setStartDelay(int milliseconds) {
    Timer1_.setInterval(milliseconds);
}

void BatchRun::stop() {
    Timer1_.stop();
    const bool wasActive = active_;
    active_ = false;
    // Ask every converter first, then wait: each removes its temporary file as it ends.
    for (auto& job : jobs_) {
        job->dos->disconnect(this);
        job->dos->requestStop();
        releaseClaim(*job);
    }
    jobs_.clear();
    if (wasActive)
        emit stopped();
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
    for (int turn = 0; static_cast<int>(jobs_.size()) < jobs; ++turn) {
        const int row = nextWaitingRow();
        if (row < 0)
            break;
        // A long row of files that need nothing (an unchanged library) must not freeze the
        // window.
        if (turn == kSettledPerTurn) {
            QTimer::singleShot(0, this, &BatchRun::fillSlots);
            return;
        }
        if (!startEntry(row))
            return;
    }
    if (jobs_.empty())
        finishRun();
}

int BatchRun::nextWaitingRow() const {
    // The first entry that is not converting and has not failed in this run; the running ones are
    // known by their ids, wherever they are in the list.
    for (int row = 0; row < list_.count(); ++row) {
        const quint64 id = list_.entryId(row);
        if (failedIds_.count(id) > 0)
            continue;
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
    for (int i = list_.count() - 1; i >= 0 && list_.entryId(i) > lastNotedEntry_; --i) {
        inputs_.add(list_.path(i).toStdString());
        albums_.expect(list_.path(i).toStdString());
    }
    lastNotedEntry_ = std::max(lastNotedEntry_, newest);
}

bool BatchRun::startEntry(int index) {
    auto job = std::make_unique<Job>();
    job->entryId = list_.entryId(index);
    job->path = list_.path(index);
    list_.clearFailure(job->entryId); // tried again
    job->settings = choices_.value().conversionSettings();
    const bool keepTree = choices_.value().keepTree;
    // A folder chosen during the run is made before its first file (the sync record lives
    // there), and again before each conversion in case it was removed meanwhile.
    if (preparedFolders_.count(job->settings.outputFolder) == 0)
        prepareFolder(job->settings.outputFolder);

    const std::string input = job->path.toStdString();
    noteNewInputs();
    const std::string root = list_.root(index).toStdString();
    const auto taken = [this](const std::string& p) {
        return usedOutputs_.count(p) > 0 || inputs_.holds(p);
    };
    OutputPlan plan;
    if (choices_.value().sync) {
        const LibrarySync::Planner planner = [&](const auto& heldInRecord) {
            return PlanOutput(
                input, root, keepTree, job->settings,
                [&](const std::string& p) { return taken(p) || heldInRecord(p); },
                patternedName(input, root, job->settings));
        };
        const LibrarySync::FolderMaker makeFolder = [this](const std::string& folder) {
            prepareFolder(folder);
        };
        LibrarySync::Decision decision =
            sync_.decide({input, root, keepTree, job->settings, choices_.value().namePattern},
                         planner, makeFolder);
        switch (decision.kind) {
        case LibrarySync::Decision::Kind::Aborted:
            abortRun(decision.text);
            return false;
        case LibrarySync::Decision::Kind::Failed:
            settle(*job, {FileOutcome::Kind::Failed, decision.text}, {});
            return true;
        case LibrarySync::Decision::Kind::UpToDate:
            usedOutputs_.insert(decision.outputPath);
            settle(*job, {FileOutcome::Kind::UpToDate, decision.text}, decision.outputPath);
            return true;
        case LibrarySync::Decision::Kind::Convert:
            plan = std::move(decision.plan);
            job->claim = std::move(decision.claim);
            break;
        }
    } else {
        plan = PlanOutput(input, root, keepTree, job->settings, taken,
                          patternedName(input, root, job->settings));
    }
    prepareFolder(job->settings.outputFolder);
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
    if (update.totalSeconds > 0 && job.totalSeconds == 0)
        emit fileLength(job.path, update.totalSeconds);
    job.totalSeconds = update.totalSeconds;
    if (!update.moved)
        return;
    job.fraction = update.fraction;
    emit fileProgress(job.path, job.fraction);
    reportRunProgress();
}

int BatchRun::filesInRun() const {
    // A failed entry that stays is counted among the ended ones.
    return finished_ + list_.count() - static_cast<int>(failedIds_.size());
}

double BatchRun::runFraction() const {
    double done = finished_;
    for (const auto& job : jobs_)
        done += job->fraction;
    const int files = filesInRun();
    return files > 0 ? std::clamp(done / files, 0.0, 1.0) : 1.0;
}

void BatchRun::reportRunProgress() {
    const int files = filesInRun();
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
    FileOutcome outcome = outcomeOf(*job.dos);
    const QByteArray path = job.path;
    const QByteArray output = QByteArray::fromStdString(job.outputPath);
    const QByteArray syncKey = job.claim.key;
    sync_.finish(job.claim, outcome.kind != FileOutcome::Kind::Failed, job.outputPath,
                 job.settings.outputFolder);
    gatherLoudness(job, syncKey, outcome);
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
    endEntry(job.entryId, outcome);
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
    tagAlbums(albums_.completeAll());
    // After the conversions: a source that moved has its new key by now.
    if (prune_ && sync_.opened() && choices_.value().sync)
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
    endEntry(job.entryId, outcome);
    ++finished_;
    albums_.unmeasured(job.path.toStdString());
    // Announced like a conversion, so that a face counts and names it the same way.
    emit fileStarted(job.path, output);
    emit fileFinished(job.path, output, outcome);
}

void BatchRun::endEntry(quint64 entryId, const FileOutcome& outcome) {
    if (keepFailed_ && outcome.kind == FileOutcome::Kind::Failed) {
        failedIds_.insert(entryId);
        list_.markFailed(entryId, outcome.text);
        return;
    }
    list_.RemoveEntry(entryId);
}

void BatchRun::gatherLoudness(const Job& job, const QByteArray& syncKey, FileOutcome& outcome) {
    const std::string source = job.path.toStdString();
    std::optional<conv_protocol::Loudness> loudness;
    if (job.settings.replayGain && outcome.kind != FileOutcome::Kind::Failed) {
        const QList<QByteArray> lines = job.dos->Outputs().split('\n');
        for (const QByteArray& line : lines)
            if (auto parsed = conv_protocol::ParseLoudnessLine(
                    std::string_view(line.constData(), static_cast<std::size_t>(line.size()))))
                loudness = std::move(parsed);
    }
    if (!loudness) {
        albums_.unmeasured(source);
        return;
    }
    outcome.loudnessLufs = loudness->integratedLufs;
    outcome.peak = loudness->peak;
    const std::optional<TrackTags> tags = ReadTrackTags(source);
    albums_.measured(source, {job.outputPath, syncKey.toStdString()}, tags ? tags->album : "",
                     *loudness);
    tagAlbums(albums_.completedBy(source));
}

void BatchRun::tagAlbums(const std::vector<AlbumGains::Album>& albums) {
    for (const AlbumGains::Album& album : albums) {
        for (const AlbumGains::Track& track : album.tracks) {
            gain_tags::GainValues values;
            values.album = album.values;
            if (const auto error = RewriteGainTags(track.output, values)) {
                report_.warnings.push_back(
                    {QByteArray::fromStdString(track.output),
                     QStringLiteral("the album's gain tags could not be written: %1")
                         .arg(QString::fromStdString(*error))});
                continue;
            }
            sync_.restamp(QByteArray::fromStdString(track.syncKey), track.output);
        }
    }
}

void BatchRun::prune() {
    const PruneResult result = sync_.prune(pruneFolders_);
    const auto items = [](const std::vector<PruneResult::Item>& from) {
        std::vector<RunReport::Item> to;
        for (const auto& item : from)
            to.push_back({item.path, item.text});
        return to;
    };
    report_.pruned = items(result.pruned);
    report_.pruneNotes = items(result.notes);
    for (auto& failure : items(result.failures))
        report_.failures.push_back(std::move(failure));
}

void BatchRun::releaseClaim(Job& job) {
    sync_.release(job.claim);
}
