#pragma once

#include "app/library/sync_record.h"
#include "core/engine/command_line.h"
#include "core/engine/output_plan.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The choices that shape the audio, in words that outlast reordered lists: a record made with
// other words converts its source again.
[[nodiscard]] QByteArray SyncFingerprint(const ConversionSettings& settings);

// A source a run converts, as claimed in the record until its output is in place.
struct SyncClaim {
    QByteArray key;
    SyncEntry entry;                   // recorded once the output is in place
    std::optional<SyncEntry> previous; // the finished entry the claim replaced
    timespec sourceMtime = {};
    [[nodiscard]] bool held() const { return !key.isEmpty(); }
};

// What pruning did: outputs moved to the trash (text: their source's key), outputs left in
// place and why, and outputs or records that could not be dealt with.
struct PruneResult {
    struct Item {
        QByteArray path;
        QString text;
    };
    std::vector<Item> pruned;
    std::vector<Item> notes;
    std::vector<Item> failures;
};

// What a synchronised run does with each source, decided from the output folder's record: a
// source converted before, with the same choices, unchanged since, is left alone (or its output
// only moved when the names changed); any other is claimed, with its output name, before it is
// converted, so that runs in several processes never write one name twice.
class LibrarySync final {
public:
    struct Source {
        const std::string& input;
        const std::string& root;
        bool keepTree = false;
        const ConversionSettings& settings;
        const QString& namePattern;
    };

    struct Decision {
        enum class Kind { Convert, UpToDate, Failed, Aborted };
        Kind kind = Kind::Failed;
        std::string outputPath; // Convert: where to write; UpToDate: the output as it is now
        OutputPlan plan;        // Convert
        QString text;           // Failed, Aborted: why; UpToDate: the name the output moved from
        SyncClaim claim;        // Convert
    };

    // Plans an output name; `heldInRecord` tells the names other sources hold.
    using Planner =
        std::function<OutputPlan(const std::function<bool(const std::string&)>& heldInRecord)>;
    using FolderMaker = std::function<void(const std::string&)>;

    LibrarySync();
    ~LibrarySync();
    LibrarySync(const LibrarySync&) = delete;
    LibrarySync& operator=(const LibrarySync&) = delete;

    // Forgets the record and the sources of the last run.
    void reset();
    // The snapshot of `outputFolder`'s record, read just now: the next run into that folder
    // takes it instead of reading the record again.
    void preload(const QByteArray& outputFolder, SyncSnapshot snapshot);
    [[nodiscard]] Decision decide(const Source& source, const Planner& planOutput,
                                  const FolderMaker& makeFolder);
    // The converter ended; a successful output is recorded with its source's time, and the
    // output of earlier choices goes.
    void finish(SyncClaim& claim, bool converted, const std::string& outputPath,
                const std::string& outputFolder);
    // Gives back a claim that will not be fulfilled; the source is as before the run.
    void release(SyncClaim& claim);
    // The recorded output of `key` was rewritten in place (its tags): the record takes its
    // new size and time, so the next run does not take it for a changed output.
    void restamp(const QByteArray& key, const std::string& outputPath);
    // The outputs of recorded sources the run did not meet, and that are not below any of
    // `folders`, go to the trash.
    [[nodiscard]] PruneResult prune(const std::vector<QByteArray>& folders);
    [[nodiscard]] bool opened() const { return record_ != nullptr; }

private:
    bool openFor(const std::string& outputFolder, QString& error);
    void closeFolder();
    const QByteArray& fingerprint(const ConversionSettings& settings);
    Decision move(const SyncEntry& existing, SyncEntry moved, const OutputPlan& plan,
                  const std::string& folder, const FolderMaker& makeFolder);

    std::unique_ptr<SyncRecord> record_;
    // The record as it was when opened: most sources of a repeated run are settled from it.
    SyncSnapshot snapshot_;
    QByteArray preloadedFolder_;
    std::optional<SyncSnapshot> preloaded_;
    int folderFd_ = -1;     // the record's folder
    QSet<QByteArray> keys_; // sources of this run
    std::optional<std::pair<ConversionSettings, QByteArray>> fingerprinted_;
};
