#pragma once

#include "app/library/library_sync.h"
#include "app/run/album_gains.h"
#include "app/run/dos_outputs.h"
#include "app/run/run_report.h"
#include "core/engine/command_line.h"
#include "core/engine/output_plan.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <set>
#include <unordered_set>
#include <vector>

class Choices;
class FileList;

// Converts every entry of the file list, first to last, up to `jobs` converters at a time.
// Each entry leaves the list when its own conversion ends, so the list always shows what is
// still to do or in progress (with keepFailed, a failed entry stays, marked, to be tried again
// by the next run); entries added during the run join it, and a change of choices
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
    // With sync: the snapshot of `outputFolder`'s record, read before the run.
    void preloadSync(const QByteArray& outputFolder, SyncSnapshot snapshot) {
        sync_.preload(outputFolder, std::move(snapshot));
    }
    // The pause before the first file; a face without a window needs none.
    void setStartDelay(int milliseconds);
    // Stops every running converter (each removes its temporary file) and converts nothing
    // more; returns once they have ended. No runFinished follows.
    void stop();
    [[nodiscard]] bool isActive() const { return active_; }
    // Failed entries stay in the list with their reason, and the run passes over them.
    void setKeepFailed(bool keep) { keepFailed_ = keep; }
    // What the run has done so far.
    [[nodiscard]] const RunReport& report() const { return report_; }
    // Files of the run so far: those ended and those still in the list to convert.
    [[nodiscard]] int filesInRun() const;
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
    // The converter told the running file's length, in seconds.
    void fileLength(const QByteArray& path, double seconds);
    // The run's share done moved (after a file's, and when a file ends). It only grows, unless
    // files join the run.
    void runProgress(double fraction);
    void fileFinished(const QByteArray& path, const QByteArray& outputPath,
                      const FileOutcome& outcome);
    void runFinished(const RunReport& report);
    // stop() ended a run that was going.
    void stopped();

private:
    struct Job;

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
    // The entry leaves the list, or stays marked when it failed and failures are kept.
    void endEntry(quint64 entryId, const FileOutcome& outcome);
    // Ends an entry that needs no converter, with its outcome.
    void settle(Job& job, const FileOutcome& outcome, const std::string& outputPath);
    void prune();
    // Gives back a claim the job will not fulfil; the entry is as before the run.
    void releaseClaim(Job& job);
    void noteNewInputs();
    // With ReplayGain: the file's measurement joins its album, and albums it completes get
    // their values.
    void gatherLoudness(const Job& job, const QByteArray& syncKey, FileOutcome& outcome);
    void tagAlbums(const std::vector<AlbumGains::Album>& albums);
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
    std::unordered_set<std::string> usedOutputs_;
    // Every file the run has read or is still to read: no output may replace one.
    RunInputs inputs_;
    quint64 lastNotedEntry_ = 0;
    std::set<std::string> preparedFolders_;
    RunReport report_;
    LibrarySync sync_;
    AlbumGains albums_;
    bool keepFailed_ = false;
    // Entries that failed in this run and stay in the list.
    std::unordered_set<quint64> failedIds_;
    bool prune_ = false;
    std::vector<QByteArray> pruneFolders_;
};
