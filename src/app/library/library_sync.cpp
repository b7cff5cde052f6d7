#include "app/library/library_sync.h"

#include "core/files/source_key.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString FromBytes(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QString ErrnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

qint64 Nanoseconds(const timespec& time) {
    return static_cast<qint64>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
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
// not left alone. `folder` is a descriptor of the output folder for a relative path.
bool OutputIntact(const std::string& path, const SyncEntry& entry, int folder = AT_FDCWD) {
    struct stat st = {};
    return ::fstatat(folder, path.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
           st.st_size == entry.outputSize && Nanoseconds(st.st_mtim) == entry.outputMtimeNs;
}

// The choices a fingerprint is made of, to tell when it must be made again.
bool SameAudioChoices(const ConversionSettings& a, const ConversionSettings& b) {
    return a.formatIndex == b.formatIndex && a.bitrate == b.bitrate &&
           a.sampleRate == b.sampleRate && a.channelIndex == b.channelIndex &&
           a.cutEnabled == b.cutEnabled && a.cutStart == b.cutStart && a.cutLength == b.cutLength &&
           a.replayGain == b.replayGain;
}

// Whether the entry was made from this very source with these choices.
bool SameSource(const SyncEntry& known, const SyncEntry& wanted) {
    return known.done && known.sourceSize == wanted.sourceSize &&
           known.sourceMtimeNs == wanted.sourceMtimeNs && known.fingerprint == wanted.fingerprint;
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

LibrarySync::Decision Ended(LibrarySync::Decision::Kind kind, const QString& why) {
    LibrarySync::Decision decision;
    decision.kind = kind;
    decision.text = why;
    return decision;
}

LibrarySync::Decision Failed(const QString& why) {
    return Ended(LibrarySync::Decision::Kind::Failed, why);
}

LibrarySync::Decision UpToDate(const std::string& output, const QString& movedFrom = {}) {
    LibrarySync::Decision decision;
    decision.kind = LibrarySync::Decision::Kind::UpToDate;
    decision.outputPath = output;
    decision.text = movedFrom;
    return decision;
}

} // namespace

QByteArray SyncFingerprint(const ConversionSettings& s) {
    // The formats that came later name their codec: M4A and ALAC share an extension. The
    // others keep the words of the records already made.
    std::string codec;
    switch (static_cast<OutputFormat>(s.formatIndex)) {
    case OutputFormat::OPUS:
        codec = ";codec=opus";
        break;
    case OutputFormat::M4A:
        codec = ";codec=aac";
        break;
    case OutputFormat::ALAC:
        codec = ";codec=alac";
        break;
    default:
        break;
    }
    std::string text = "format=" + std::string(FormatExtension(s.formatIndex)) + codec +
                       ";bitrate=" + s.bitrate + ";rate=" + s.sampleRate +
                       ";channels=" + std::to_string(s.channelIndex);
    if (s.cutEnabled)
        text += ";cut=" + std::to_string(s.cutStart) + "+" + std::to_string(s.cutLength);
    if (s.replayGain)
        text += ";replaygain=1";
    return QByteArray::fromStdString(text);
}

LibrarySync::LibrarySync() = default;

LibrarySync::~LibrarySync() {
    closeFolder();
}

void LibrarySync::closeFolder() {
    if (folderFd_ >= 0)
        ::close(folderFd_);
    folderFd_ = -1;
}

void LibrarySync::reset() {
    record_.reset();
    closeFolder();
    snapshot_ = {};
    keys_.clear();
}

const QByteArray& LibrarySync::fingerprint(const ConversionSettings& settings) {
    if (!fingerprinted_ || !SameAudioChoices(settings, fingerprinted_->first))
        fingerprinted_.emplace(settings, SyncFingerprint(settings));
    return fingerprinted_->second;
}

void LibrarySync::preload(const QByteArray& outputFolder, SyncSnapshot snapshot) {
    preloadedFolder_ = outputFolder;
    preloaded_ = std::move(snapshot);
}

bool LibrarySync::openFor(const std::string& outputFolder, QString& error) {
    const QByteArray folder = QByteArray::fromStdString(outputFolder);
    if (record_ && record_->folder() == folder)
        return true;
    record_.reset();
    closeFolder();
    snapshot_ = {};
    record_ = SyncRecord::Open(folder, &error);
    if (!record_)
        return false;
    // Outputs are looked at below it, without walking its whole path each time.
    folderFd_ = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    // Without a snapshot every source is asked of the record itself.
    if (preloaded_ && preloadedFolder_ == folder)
        snapshot_ = std::move(*preloaded_);
    else if (auto read = record_->snapshot())
        snapshot_ = std::move(*read);
    preloaded_.reset();
    return true;
}

LibrarySync::Decision LibrarySync::decide(const Source& source, const Planner& planOutput,
                                          const FolderMaker& makeFolder) {
    QString error;
    if (!openFor(source.settings.outputFolder, error))
        return Ended(Decision::Kind::Aborted, error);
    SyncRecord& record = *record_;
    const QByteArray key = QByteArray::fromStdString(SourceKey(source.input, source.root));
    // Two sources of one key would take turns replacing each other's output.
    if (keys_.contains(key))
        return Failed(QStringLiteral("another file of this run has the same path below its "
                                     "folder (%1); it is converted once")
                          .arg(QFile::decodeName(key)));
    keys_.insert(key);
    struct stat st = {};
    if (::stat(source.input.c_str(), &st) != 0)
        return Failed(QStringLiteral("cannot be read: %1").arg(ErrnoText()));

    const std::string folder = FolderWithSlash(source.settings.outputFolder);
    const auto relative = [&](const std::string& path) {
        return QByteArray::fromStdString(path.substr(std::min(folder.size(), path.size())));
    };
    const auto absolute = [&](const QByteArray& output) { return folder + output.toStdString(); };
    SyncEntry wanted;
    wanted.key = key;
    wanted.sourceSize = st.st_size;
    wanted.sourceMtimeNs = Nanoseconds(st.st_mtim);
    wanted.fingerprint = fingerprint(source.settings);
    wanted.naming = Naming(source.namePattern, source.keepTree);
    wanted.done = true;
    // Most sources of a repeated run need nothing: no transaction for those.
    const SyncEntry* known = snapshot_.find(key);
    if (known && SameSource(*known, wanted) && known->naming == wanted.naming &&
        (folderFd_ >= 0 ? OutputIntact(known->output.toStdString(), *known, folderFd_)
                        : OutputIntact(absolute(known->output), *known)))
        return UpToDate(absolute(known->output));

    if (!record.begin())
        return Failed(QStringLiteral("the sync record: %1").arg(record.lastError()));
    const std::optional<SyncEntry> existing = record.find(key);
    if (existing && SyncRecord::OwnerAlive(*existing)) {
        record.rollback();
        return Failed(QStringLiteral("another run is converting it (process %1 on %2)")
                          .arg(existing->ownerPid)
                          .arg(existing->ownerHost));
    }
    const bool current = existing && SameSource(*existing, wanted) &&
                         OutputIntact(absolute(existing->output), *existing);
    if (current && existing->naming == wanted.naming) {
        record.rollback();
        return UpToDate(absolute(existing->output));
    }
    const OutputPlan plan = planOutput(
        [&](const std::string& path) { return record.outputHeldByOther(relative(path), key); });
    if (current) {
        SyncEntry moved = *existing;
        moved.naming = wanted.naming;
        moved.output = relative(plan.path);
        return move(*existing, moved, plan, folder, makeFolder);
    }
    // Claimed before the converter starts: no other process plans this name meanwhile.
    SyncEntry claimed = SyncRecord::ClaimedBySelf(existing.value_or(wanted));
    claimed.key = key;
    claimed.output = relative(plan.path);
    if (!record.put(claimed) || !record.commit()) {
        record.rollback();
        return Failed(QStringLiteral("the sync record: %1").arg(record.lastError()));
    }
    Decision decision;
    decision.kind = Decision::Kind::Convert;
    decision.outputPath = plan.path;
    decision.plan = plan;
    SyncClaim& claim = decision.claim;
    claim.key = key;
    claim.entry = wanted;
    claim.entry.output = claimed.output;
    if (existing && existing->done)
        claim.previous = existing;
    claim.sourceMtime = st.st_mtim;
    return decision;
}

LibrarySync::Decision LibrarySync::move(const SyncEntry& existing, SyncEntry moved,
                                        const OutputPlan& plan, const std::string& folder,
                                        const FolderMaker& makeFolder) {
    // Only the names changed: the output moves, inside the output folder. The record is
    // written first and kept only when the move is done.
    SyncRecord& record = *record_;
    const std::string from = folder + existing.output.toStdString();
    if (!record.put(moved)) {
        record.rollback();
        return Failed(QStringLiteral("the sync record: %1").arg(record.lastError()));
    }
    if (plan.path != from) {
        for (const std::string& sub : plan.subFolders)
            makeFolder(sub);
        if (!MoveNoReplace(from, plan.path)) {
            const QString why = ErrnoText();
            record.rollback();
            return Failed(
                QStringLiteral("cannot be moved to %1: %2").arg(FromBytes(plan.path), why));
        }
    }
    if (!record.commit()) {
        ::rename(plan.path.c_str(), from.c_str());
        return Failed(QStringLiteral("the sync record: %1").arg(record.lastError()));
    }
    if (plan.path == from)
        return UpToDate(plan.path);
    RemoveEmptyFolders(from, folder);
    return UpToDate(plan.path, QStringLiteral("moved from %1").arg(FromBytes(from)));
}

void LibrarySync::finish(SyncClaim& claim, bool converted, const std::string& outputPath,
                         const std::string& outputFolder) {
    if (!claim.held())
        return;
    if (!converted || !record_)
        return release(claim);
    // The output carries its source's time, as a copy would.
    const timespec times[2] = {{0, UTIME_OMIT}, claim.sourceMtime};
    ::utimensat(AT_FDCWD, outputPath.c_str(), times, AT_SYMLINK_NOFOLLOW);
    struct stat st = {};
    if (::lstat(outputPath.c_str(), &st) != 0)
        return release(claim);
    SyncEntry entry = claim.entry;
    entry.outputSize = st.st_size;
    entry.outputMtimeNs = Nanoseconds(st.st_mtim);
    SyncRecord& record = *record_;
    claim.key.clear();
    // Not recorded, the output is only converted again on the next run.
    if (!record.begin())
        return;
    if (!record.put(entry)) {
        record.rollback();
        return;
    }
    // The output of earlier choices goes, unless it was changed since or is someone else's now.
    const std::optional<SyncEntry>& old = claim.previous;
    const std::string folder = FolderWithSlash(outputFolder);
    const std::string oldPath = old ? folder + old->output.toStdString() : std::string();
    const bool dropOld = old && old->output != entry.output &&
                         !record.outputHeldByOther(old->output, entry.key) &&
                         OutputIntact(oldPath, *old);
    if (record.commit() && dropOld && ::unlink(oldPath.c_str()) == 0)
        RemoveEmptyFolders(oldPath, folder);
}

void LibrarySync::restamp(const QByteArray& key, const std::string& outputPath) {
    struct stat st = {};
    if (!record_ || key.isEmpty() || ::lstat(outputPath.c_str(), &st) != 0)
        return;
    SyncRecord& record = *record_;
    if (!record.begin())
        return;
    std::optional<SyncEntry> entry = record.find(key);
    if (!entry || !entry->done) {
        record.rollback();
        return;
    }
    entry->outputSize = st.st_size;
    entry->outputMtimeNs = Nanoseconds(st.st_mtim);
    if (!record.put(*entry)) {
        record.rollback();
        return;
    }
    record.commit();
}

void LibrarySync::release(SyncClaim& claim) {
    if (!claim.held() || !record_)
        return;
    SyncRecord& record = *record_;
    const QByteArray key = claim.key;
    claim.key.clear();
    if (!record.begin())
        return; // a claim of a process that is gone is taken over later
    // The earlier output is still there: a failed conversion replaces nothing.
    if (!claim.previous || !record.put(*claim.previous))
        record.remove(key);
    record.commit();
}

PruneResult LibrarySync::prune(const std::vector<QByteArray>& folders) {
    PruneResult result;
    if (!record_)
        return result;
    SyncRecord& record = *record_;
    const std::string folder = FolderWithSlash(record.folder().toStdString());
    const auto recordFailed = [&] {
        result.failures.push_back(
            {record.folder(), QStringLiteral("the sync record: %1").arg(record.lastError())});
        return result;
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
        if (!entry.done || keys_.contains(entry.key) || SourceMayExist(entry.key, folders))
            continue;
        const std::string path = folder + entry.output.toStdString();
        struct stat st = {};
        const bool gone = ::lstat(path.c_str(), &st) != 0 && errno == ENOENT;
        if (!gone && !OutputIntact(path, entry)) {
            // Changed since it was made: the user's own now.
            result.notes.push_back({QByteArray::fromStdString(path),
                                    QStringLiteral("changed since it was made; left in place")});
        } else if (!gone && (!trashUsable || !QFile::moveToTrash(FromBytes(path)))) {
            result.failures.push_back(
                {QByteArray::fromStdString(path), QStringLiteral("cannot be moved to the trash")});
            continue;
        } else if (!gone) {
            result.pruned.push_back(
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
    return result;
}
