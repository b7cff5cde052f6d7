#include "app/settings/choices.h"

int ConversionChoices::fittedBitrateIndex() const {
    return choices::NearestBitrate(formatIndex, bitrateIndex);
}

ConversionSettings ConversionChoices::conversionSettings() const {
    ConversionSettings s;
    s.formatIndex = static_cast<std::int16_t>(formatIndex);
    s.bitrate = std::string(choices::At(choices::kBitrates, fittedBitrateIndex()));
    s.sampleRate = std::string(choices::At(choices::kSampleRates, rateIndex));
    s.channelIndex = static_cast<std::int16_t>(channelIndex);
    s.outputFolder = outputFolder.toStdString();
    // Any non-zero record turns the cut on.
    s.cutEnabled = options.CutEnabled != 0;
    s.cutStart = options.CutStart;
    s.cutLength = options.CutLength;
    s.replayGain = replayGain;
    return s;
}

void Choices::set(const ConversionChoices& value) {
    ConversionChoices fitted = value;
    fitted.bitrateIndex = value.fittedBitrateIndex();
    if (fitted == value_)
        return;
    value_ = fitted;
    emit changed();
}

template <typename Field, typename Value> void Choices::change(Field field, const Value& value) {
    if (value_.*field == value)
        return;
    value_.*field = value;
    emit changed();
}

void Choices::setFormatIndex(int index) {
    ConversionChoices fitted = value_;
    fitted.formatIndex = index;
    set(fitted);
}

void Choices::setBitrateIndex(int index) {
    ConversionChoices fitted = value_;
    fitted.bitrateIndex = index;
    set(fitted);
}

void Choices::setRateIndex(int index) {
    change(&ConversionChoices::rateIndex, index);
}

void Choices::setChannelIndex(int index) {
    change(&ConversionChoices::channelIndex, index);
}

void Choices::setOutputFolder(const QByteArray& folder) {
    change(&ConversionChoices::outputFolder, folder);
}

void Choices::setOptions(const settings::OptionsRecords& options) {
    change(&ConversionChoices::options, options);
}

void Choices::setJobs(int jobs) {
    change(&ConversionChoices::jobs, jobs);
}

void Choices::setKeepTree(bool keep) {
    change(&ConversionChoices::keepTree, keep);
}

void Choices::setNamePattern(const QString& pattern) {
    change(&ConversionChoices::namePattern, pattern);
}

void Choices::setSync(bool sync) {
    change(&ConversionChoices::sync, sync);
}

void Choices::setReplayGain(bool on) {
    change(&ConversionChoices::replayGain, on);
}

void Choices::setOpenFolderWhenDone(bool on) {
    change(&ConversionChoices::openFolderWhenDone, on);
}
