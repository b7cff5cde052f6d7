#pragma once

#include "app/library/sync_record.h"
#include "app/run/dos_outputs.h"
#include "core/engine/command_line.h"
#include "core/engine/output_plan.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

class Choices;
class FileList;

// What became of one file of a run.
struct FileOutcome {
    // UpToDate: a synchronised run found its output current, or only moved it to a new name.
    enum class Kind { Converted, ConvertedWithWarnings, Failed, UpToDate };
    Kind kind = Kind::Converted;
    QString text; // the failure's reason, the converter's warning lines, or the name moved from
};

// What a whole run did, for the face that shows its end.
struct RunReport {
    struct Item {
        QByteArray path;
        QString text;
    };
    int converted = 0; // those with warnings included
    int upToDate = 0;  // left as they were, or only moved to a new name
    std::vector<Item> failures;
    std::vector<Item> warnings;
    std::vector<Item> renamings;  // text: the output name given instead
    int orphansRemoved = 0;       // temporary files of killed converters cleared away
    std::vector<Item> pruned;     // outputs moved to the trash; text: their source's key
    std::vector<Item> pruneNotes; // recorded outputs left in place, and why
    QByteArray outputFolder;      // of the last file started: the folder shown at the end
    // The converter could not be started: the run ended there, the list as it was.
    StartError startError = StartError::None;
    // The output folder's sync record could not be used: the run ended there, nothing written.
    QString recordError;
    [[nodiscard]] bool aborted() const {
        return startError != StartError::None || !recordError.isEmpty();
    }
    // Why the run ended early, as a box or an error line shows it.
    [[nodiscard]] QString abortText() const;
};

// Converts every entry of the file list, first to last, up to `jobs` converters at a time.
// Each entry leaves the list when its own conversion ends, so the list always shows what is
// still to do or in progress; entries added during the run join it, and a change of choices
// applies to the conversions started after it. No output replaces a file that is an input of
// the run, converted already or still to come: such an output is numbered like a repeat. The run
// shows nothing itself: it reports shares done and outcomes through its signals, and the face
// that drives it decides what to show (bar, captions, folder, sound, boxes).
// With the sync choice, the output folder's record decides: a source converted before, with
// the same choices, unchanged since, is left alone (or its output only renamed when the names
// changed), and every output name is claimed in the record first, so that runs in several
// processes never write one name twice.
class BatchRun final : public QObject {
    Q_OBJECT
public:
    BatchRun(FileList& list, Choices& choices, QString programFolder, QObject* parent = nullptr);
    ~BatchRun() override;

    // The Start action: false for an empty list. Otherwise the first files start shortly
    // after, so that a window can paint its disabled look first.
    bool Start();
    // Stops every running converter (each removes its temporary file) and converts nothing
    // more; returns once they have ended. No runFinished follows.
    void stop();
    [[nodiscard]] bool isActive() const { return active_; }
    [[nodiscard]] int runningCount() const { return static_cast<int>(jobs_.size()); }
    // The share of the run done, 0 to 1: finished files and the running files' fractions over
    // the files in the run so far (1 before anything is in it).
    [[nodiscard]] double runFraction() const;
    // With sync: once every file is done, the outputs of recorded sources that the run did not
    // meet and that are not below any of `folders` go to the trash.
    void setPrune(std::vector<QByteArray> folders);

signals:
    void fileStarted(const QByteArray& path, const QByteArray& outputPath);
    // A running file's share done moved, 0 to 1.
    void fileProgress(const QByteArray& path, double fraction);
    // The run's share done moved (after a file's, and when a file ends). It only grows, unless
    // files join the run.
    void runProgress(double fraction);
    void fileFinished(const QByteArray& path, const QByteArray& outputPath,
                      const FileOutcome& outcome);
    void runFinished(const RunReport& report);

private:
    struct Job;
    enum class SyncStep { Convert, Settled, Aborted };

    void ConvertAll();
    void fillSlots();
    [[nodiscard]] int nextWaitingRow() const;
    bool startEntry(int index);
    void objDOS_ReceiveOutputs(Job& job, const QByteArray& line);
    void objDOS_CommandOver(Job& job);
    std::vector<std::unique_ptr<Job>>::iterator findJob(const Job& job);
    // The output's folders and name from the name pattern; nothing without one.
    [[nodiscard]] std::vector<std::string> patternedName(const std::string& input,
                                                         const std::string& root,
                                                         const ConversionSettings& settings) const;
    void reportRunProgress();
    void finishRun();
    void abortRun(StartError error);
    void abortRun(const QString& recordError);
    void prepareFolder(const std::string& folder);
    // Ends an entry that needs no converter, with its outcome.
    void settle(Job& job, const FileOutcome& outcome, const std::string& outputPath);
    // With sync on: what the output folder's record says of the job's source. A source to
    // convert gets `plan`, and its output name is claimed in the record.
    SyncStep syncStart(Job& job, const std::string& input, const std::string& root, bool keepTree,
                       OutputPlan& plan);
    void syncFinish(Job& job, const FileOutcome& outcome);
    void prune();
    // Gives back a claim the job will not fulfil; the entry is as before the run.
    void releaseClaim(Job& job);
    void noteNewInputs();
    [[nodiscard]] static FileOutcome outcomeOf(const DOSOutputs& dos);

    FileList& list_;
    Choices& choices_;
    QString programFolder_;
    QTimer Timer1_;
    bool active_ = false;
    bool started_ = false; // the start delay is over
    std::vector<std::unique_ptr<Job>> jobs_;
    int finished_ = 0;
    double shownFraction_ = 0.0;
    int shownFiles_ = 0;
    std::set<std::string> usedOutputs_;
    // Every file the run has read or is still to read: no output may replace one.
    RunInputs inputs_;
    quint64 lastNotedEntry_ = 0;
    std::set<std::string> preparedFolders_;
    RunReport report_;
    std::unique_ptr<SyncRecord> record_;
    std::set<QByteArray> syncKeys_; // sources of this run, by their key in the record
    bool prune_ = false;
    std::vector<QByteArray> pruneFolders_;
};
