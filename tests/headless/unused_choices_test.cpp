#include "core/batch/unused_choices.h"
#include "core/engine/choice_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using headless::UnusedChoiceNotes;
using Notes = std::vector<std::string>;

int Format(std::string_view name) {
    return choices::IndexOf(choices::kFormats, name);
}
int Rate(std::string_view hz) {
    return choices::IndexOf(choices::kSampleRates, hz);
}
int Bitrate(std::string_view kbps) {
    return choices::IndexOf(choices::kBitrates, kbps);
}

// A rate the encoder does not take is fitted by the converter, one its command line never
// carries is dropped, and a bitrate of a format without one is dropped: each said once.
TEST(UnusedChoices, EachRateOrBitrateTheFormatCannotHonourIsNamedOnce) {
    const struct {
        std::string_view format;
        std::optional<std::string_view> rate, bitrate;
        Notes notes;
    } cases[] = {
        {"MP3",
         "12050",
         "192",
         {"pelkora: MP3 cannot use 12050 Hz; the converter uses the nearest it can"}},
        {"MP3", "8000", "32", {}},
        {"M4A",
         "12050",
         {},
         {"pelkora: M4A cannot use 12050 Hz; the converter uses the nearest it can"}},
        {"MPG",
         "8000",
         {},
         {"pelkora: MPG cannot use 8000 Hz; the converter uses the nearest it can"}},
        {"MPG", "16000", "320", {}},
        {"OPUS", "48000", "256", {}},
        {"OPUS", "44100", {}, {"pelkora: OPUS always uses 48000 Hz; --rate 44100 is not used"}},
        {"AMR", "8000", {}, {}},
        {"AMR",
         "22050",
         "64",
         {"pelkora: AMR always uses 8000 Hz; --rate 22050 is not used",
          "pelkora: AMR has a bitrate of its own; --bitrate 64 is not used"}},
        {"WMA", "32000", {}, {"pelkora: WMA has no choice of rate; --rate 32000 is not used"}},
        {"AC3", {}, "192", {"pelkora: AC3 has a bitrate of its own; --bitrate 192 is not used"}},
        {"FLAC", {}, "192", {"pelkora: FLAC has no bitrate; --bitrate 192 is not used"}},
        {"WAV", {}, "320", {"pelkora: WAV has no bitrate; --bitrate 320 is not used"}},
        {"ALAC", {}, "128", {"pelkora: ALAC has no bitrate; --bitrate 128 is not used"}},
        {"FLAC", {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format));
        const auto rate = c.rate ? std::optional<int>(Rate(*c.rate)) : std::nullopt;
        const auto bitrate = c.bitrate ? std::optional<int>(Bitrate(*c.bitrate)) : std::nullopt;
        EXPECT_EQ(UnusedChoiceNotes(Format(c.format), rate, bitrate), c.notes);
    }
}

} // namespace
