#pragma once

#include "core/engine/choice_lists.h"
#include "core/engine/command_line.h"
#include "core/settings/settings_file.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// Everything the user chooses for a conversion, as one value. List choices are positions in
// the lists of choice_lists.h (-1: nothing selected), as the settings files store them.
struct ConversionChoices {
    int formatIndex = choices::kDefaultFormat;
    int bitrateIndex = choices::kDefaultBitrate;
    int rateIndex = choices::kDefaultRate;
    int channelIndex = choices::kDefaultChannels;
    QByteArray outputFolder; // file-system bytes
    // Finishing sound and cut, kept as options.ini stores them.
    settings::OptionsRecords options;
    // Our own settings (pelkora.ini).
    int jobs = 1;
    bool keepTree = false;
    // Output names from tags ("{artist}/{album}/{track} - {title}"); empty: the name up to the
    // first dot. Only a pattern that parses is ever set.
    QString namePattern;
    // Convert only what is new or changed since the output folder's record of earlier runs.
    bool sync = false;
    // The converter measures loudness and writes ReplayGain tags.
    bool replayGain = false;
    // The window opens the output folder at the end of a run.
    bool openFolderWhenDone = true;

    // FinishSound is the index into ON / OFF.
    [[nodiscard]] bool playsFinishSound() const { return options.FinishSound == 0; }
    // The bitrate the format offers nearest to the chosen one: a format with a list of its own
    // may not offer the stored choice.
    [[nodiscard]] int fittedBitrateIndex() const;
    // The choices a converter command line is built from.
    [[nodiscard]] ConversionSettings conversionSettings() const;

    bool operator==(const ConversionChoices&) const = default;
};

// The current choices, shared by the faces that show or change them; `changed` follows every
// change, so a window can bind its controls to it. A bitrate the format does not offer gives
// way to the nearest one it does, as a list showing only the format's bitrates would choose.
class Choices final : public QObject {
    Q_OBJECT
public:
    explicit Choices(QObject* parent = nullptr) : QObject(parent) {}

    [[nodiscard]] const ConversionChoices& value() const { return value_; }
    void set(const ConversionChoices& value);

    void setFormatIndex(int index);
    void setBitrateIndex(int index);
    void setRateIndex(int index);
    void setChannelIndex(int index);
    void setOutputFolder(const QByteArray& folder);
    void setOptions(const settings::OptionsRecords& options);
    void setJobs(int jobs);
    void setKeepTree(bool keep);
    void setNamePattern(const QString& pattern);
    void setSync(bool sync);
    void setReplayGain(bool on);
    void setOpenFolderWhenDone(bool on);

signals:
    void changed();

private:
    template <typename Field, typename Value> void change(Field field, const Value& value);

    ConversionChoices value_;
};
