#include "core/batch/unused_choices.h"
#include "core/text/translate.h"

#include "core/engine/choice_lists.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace headless {
namespace {

enum Format { kMp3, kWma, kOgg, kWav, kFlac, kAc3, kAac, kAmr, kMpg, kOpus, kM4a, kAlac };

// The rates the converter's encoder for each format that is given a rate accepts, from the
// window's list (MPEG audio layer II has no 8000 Hz; nothing takes 12050).
bool TakesRate(int format, std::string_view rate) {
    if (rate == "12050")
        return false;
    return !(format == kMpg && rate == "8000");
}

bool CarriesRate(int format) {
    return format == kMp3 || format == kMpg || format == kM4a;
}

bool CarriesBitrate(int format) {
    return format == kMp3 || format == kMpg || format == kOpus || format == kM4a;
}

std::string RateNote(int format, const std::string& name, std::string_view rate) {
    if (CarriesRate(format))
        return TakesRate(format, rate)
                   ? std::string()
                   : "pelkora: " + translation::Fill(PK_TR("UnusedChoices",
                                                           "%1 cannot use %2 Hz; the converter "
                                                           "uses the nearest it can"),
                                                     {name, rate});
    // These two have a rate of their own, which no choice changes.
    const std::string_view fixed = format == kOpus ? "48000" : format == kAmr ? "8000" : "";
    if (!fixed.empty())
        return rate == fixed ? std::string()
                             : "pelkora: " + translation::Fill(PK_TR("UnusedChoices",
                                                                     "%1 always uses %2 Hz; "
                                                                     "--rate %3 is not used"),
                                                               {name, fixed, rate});
    return "pelkora: " + translation::Fill(PK_TR("UnusedChoices",
                                                 "%1 has no choice of rate; --rate %2 is not used"),
                                           {name, rate});
}

std::string BitrateNote(int format, const std::string& name, std::string_view bitrate) {
    if (CarriesBitrate(format))
        return {};
    const bool lossless = format == kWav || format == kFlac || format == kAlac;
    return "pelkora: " +
           translation::Fill(
               lossless ? PK_TR("UnusedChoices", "%1 has no bitrate; --bitrate %2 is not used")
                        : PK_TR("UnusedChoices", "%1 has a bitrate of its own; "
                                                 "--bitrate %2 is not used"),
               {name, bitrate});
}

} // namespace

std::vector<std::string> UnusedChoiceNotes(int formatIndex, std::optional<int> rateIndex,
                                           std::optional<int> bitrateIndex) {
    const std::string name(choices::At(choices::kFormats, formatIndex));
    std::vector<std::string> notes;
    if (name.empty())
        return notes;
    if (const std::string_view rate = choices::At(choices::kSampleRates, rateIndex.value_or(-1));
        !rate.empty())
        notes.push_back(RateNote(formatIndex, name, rate));
    if (const std::string_view bitrate = choices::At(choices::kBitrates, bitrateIndex.value_or(-1));
        !bitrate.empty())
        notes.push_back(BitrateNote(formatIndex, name, bitrate));
    std::erase(notes, std::string());
    return notes;
}

} // namespace headless
