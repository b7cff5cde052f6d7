#pragma once

#include "core/files/own_files.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// What the record knows of one source. Paths are file-system bytes: keys relative to the folder
// the source was added with, outputs relative to the output folder.
struct SyncEntry {
    QByteArray key;
    qint64 sourceSize = 0;
    qint64 sourceMtimeNs = 0;
    QByteArray fingerprint; // the choices that shape the audio
    QByteArray naming;      // the name pattern and whether the tree is kept
    QByteArray output;
    qint64 outputSize = 0;
    qint64 outputMtimeNs = 0;
    bool done = false; // otherwise claimed by its owner, who is converting it
    QString ownerHost;
    QString ownerBoot;
    qint64 ownerPid = 0;
    qint64 claimedAtNs = 0; // wall-clock time of the claim; 0 when not known

    bool operator==(const SyncEntry&) const = default;
};

// The finished sources of a record as read at one moment, so that a run sees that a source
// needs nothing without a transaction for each. Choices shared by many entries are kept once.
class SyncSnapshot final {
public:
    void reserve(qint64 entries) { entries_.reserve(static_cast<qsizetype>(entries)); }
    void add(SyncEntry entry);
    // Valid until the next add().
    [[nodiscard]] const SyncEntry* find(const QByteArray& key) const;
    [[nodiscard]] qsizetype size() const { return entries_.size(); }

private:
    static void share(QByteArray& text, QByteArray& last);

    QHash<QByteArray, SyncEntry> entries_;
    QByteArray lastFingerprint_;
    QByteArray lastNaming_;
};

// The record of a synchronised output folder: a SQLite file in that folder that several
// processes on one machine may use at once. Every change is made inside begin()/commit(),
// which holds the write lock, so checking a name and claiming it is one step for all of them.
class SyncRecord final {
public:
    static constexpr const char* kFileName = kSyncRecordName.data();

    // The record of `outputFolder`, made when there is none; nothing, with `error` set, when it
    // cannot be opened or written, or the file there is no record.
    [[nodiscard]] static std::unique_ptr<SyncRecord> Open(const QByteArray& outputFolder,
                                                          QString* error);
    // Opens the record as Open() does and reads its snapshot, on a connection of the calling
    // thread's own. False, with `error` set, when it cannot be opened; `snapshot` stays empty
    // when it cannot be read.
    static bool ReadSnapshot(const QByteArray& outputFolder, std::optional<SyncSnapshot>& snapshot,
                             QString& error);
    ~SyncRecord();
    SyncRecord(const SyncRecord&) = delete;
    SyncRecord& operator=(const SyncRecord&) = delete;

    [[nodiscard]] const QByteArray& folder() const { return folder_; }
    [[nodiscard]] QString lastError() const { return lastError_; }

    bool begin();
    bool commit();
    void rollback();

    [[nodiscard]] std::optional<SyncEntry> find(const QByteArray& key);
    // Every entry; nothing, with lastError() set, when the record cannot be read.
    [[nodiscard]] std::optional<std::vector<SyncEntry>> entries();
    // The finished entries; nothing, with lastError() set, when the record cannot be read.
    [[nodiscard]] std::optional<SyncSnapshot> snapshot();
    // Whether an entry other than `key`'s holds the output name.
    [[nodiscard]] bool outputHeldByOther(const QByteArray& output, const QByteArray& key);
    // Adds or replaces `entry.key`'s entry; fails when another entry holds its output.
    bool put(const SyncEntry& entry);
    bool remove(const QByteArray& key);

    // A claim made by this process, in a form put() stores.
    [[nodiscard]] static SyncEntry ClaimedBySelf(SyncEntry entry);
    // Whether a claim's owner may still be converting. This process's own claims count as left
    // over (its running conversions never ask). Another machine's cannot be asked: its claim
    // counts as alive for six hours after it was made, far longer than one file takes.
    [[nodiscard]] static bool OwnerAlive(const SyncEntry& entry);

private:
    SyncRecord(QString connection, QByteArray folder);
    bool exec(const QString& statement);

    QString connection_;
    QByteArray folder_;
    QString lastError_;
};
