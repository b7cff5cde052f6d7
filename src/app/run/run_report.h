#pragma once

#include "app/run/dos_outputs.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// What became of one file of a run.
struct FileOutcome {
    // UpToDate: a synchronised run found its output current, or only moved it to a new name.
    enum class Kind { Converted, ConvertedWithWarnings, Failed, UpToDate };
    FileOutcome(Kind k = Kind::Converted, QString t = {}) : kind(k), text(std::move(t)) {}
    Kind kind = Kind::Converted;
    QString text; // the failure's reason, the converter's warning lines, or the name moved from
    // With ReplayGain: the output's loudness (LUFS; none for silence) and sample peak.
    std::optional<double> loudnessLufs;
    std::optional<double> peak;
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
