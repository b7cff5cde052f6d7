// ReplayGain through the batch mode: track values from the converter, album values once an
// album's last track is done, checked against ffmpeg's own EBU R128 scanner.
#include "cli_support.h"

#include <QDir>

#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

using namespace cli;

namespace {

// A stereo 997 Hz tone of about `lufs` LUFS, with an album tag ("" for none).
void MakeLevel(const std::string& output, double lufs, const std::string& album,
               double seconds = 6.0) {
    const QString channel = QStringLiteral("%1*sin(2*PI*997*t)").arg(std::pow(10.0, lufs / 20.0));
    QStringList args = {
        "-nostdin", "-loglevel",
        "error",    "-y",
        "-f",       "lavfi",
        "-i",       QStringLiteral("aevalsrc=%1|%1:s=44100:d=%2").arg(channel).arg(seconds)};
    if (!album.empty())
        args << "-metadata" << QString::fromStdString("album=" + album);
    args << QString::fromStdString(output);
    const Finished done = Run("ffmpeg", args);
    ASSERT_EQ(done.exitCode, 0) << done.err;
}

// The gain tags of a file as ffprobe reads them, by lower-case name.
std::map<std::string, std::string> GainTags(const std::string& path) {
    const Finished probe =
        Run("ffprobe", {"-v", "error", "-show_entries", "format_tags:stream_tags", "-of",
                        "default=nw=1", QString::fromStdString(path)});
    std::map<std::string, std::string> tags;
    std::istringstream lines(probe.out);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (!line.starts_with("TAG:") || equals == std::string::npos)
            continue;
        std::string key = line.substr(4, equals - 4);
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (key.starts_with("replaygain_") || key.starts_with("r128_"))
            tags[key] = line.substr(equals + 1);
    }
    return tags;
}

// Integrated loudness of the files played one after another, by ffmpeg's EBU R128 filter.
double ScannedLufs(const std::vector<std::string>& files) {
    QStringList args = {"-nostdin", "-hide_banner", "-nostats"};
    QString inputs;
    for (std::size_t i = 0; i < files.size(); ++i) {
        args << "-i" << QString::fromStdString(files[i]);
        inputs += QStringLiteral("[%1:a]").arg(i);
    }
    args << "-filter_complex"
         << inputs + QStringLiteral("concat=n=%1:v=0:a=1,ebur128").arg(files.size()) << "-f"
         << "null"
         << "-";
    const Finished scan = Run("ffmpeg", args);
    const auto summary = scan.err.rfind("Summary:");
    std::smatch found;
    const std::string text = summary == std::string::npos ? "" : scan.err.substr(summary);
    if (!std::regex_search(text, found, std::regex(R"(I:\s+(-?[0-9.]+) LUFS)"))) {
        ADD_FAILURE() << scan.err;
        return 0.0;
    }
    return std::stod(found[1]);
}

double Number(const std::map<std::string, std::string>& tags, const std::string& key) {
    const auto found = tags.find(key);
    if (found == tags.end()) {
        ADD_FAILURE() << "no " << key;
        return 0.0;
    }
    return std::stod(found->second);
}

class ReplayGainCli : public ProgramCopy {
protected:
    void SetUp() override {
        QDir().mkpath(QString::fromStdString(in + "/album"));
        MakeLevel(in + "/album/1.wav", -30, "Calm and Loud");
        MakeLevel(in + "/album/2.wav", -20, "Calm and Loud");
        MakeLevel(in + "/album/3.wav", -8, "Calm and Loud");
        MakeLevel(in + "/album/single.wav", -14, "A Single");
        MakeLevel(in + "/album/untagged.wav", -25, "");
    }
};

} // namespace

TEST_F(ReplayGainCli, AnAlbumGetsOneGainFromAllItsTracksAndEachTrackItsOwn) {
    const std::string report = home + "/run.csv";
    const Finished run = Batch(
        {"--format", "mp3", "--replaygain", "--report", report, "--output", out, in + "/album"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> album = {out + "/1.mp3", out + "/2.mp3", out + "/3.mp3"};
    double loudestPeak = 0.0;
    for (const std::string& file : album) {
        SCOPED_TRACE(file);
        const auto tags = GainTags(file);
        EXPECT_NEAR(Number(tags, "replaygain_track_gain"), -18.0 - ScannedLufs({file}), 0.2);
        EXPECT_EQ(tags.at("replaygain_album_gain"), GainTags(album[0]).at("replaygain_album_gain"));
        loudestPeak = std::max(loudestPeak, Number(tags, "replaygain_track_peak"));
    }
    // Gated together, the quiet tracks hardly count: the album is not the tracks' mean.
    // The report and the run's own line of each file tell what was measured.
    const std::string rows = ReadFile(report);
    EXPECT_TRUE(std::regex_search(
        rows,
        std::regex(R"(3\.mp3,converted,,[0-9.]+,[0-9]+,[0-9]+,-8\.[0-9]{2},0\.[0-9]{6}\r\n)")))
        << rows;
    EXPECT_TRUE(std::regex_search(
        run.err, std::regex(R"(3\.wav .+ 3\.mp3 \(-8\.[0-9]{2} LUFS, peak 0\.[0-9]{6}\))")))
        << run.err;
    const auto first = GainTags(album[0]);
    EXPECT_NEAR(Number(first, "replaygain_album_gain"), -18.0 - ScannedLufs(album), 0.2);
    EXPECT_NEAR(Number(first, "replaygain_album_peak"), loudestPeak, 1e-6);
    EXPECT_NEAR(loudestPeak, std::pow(10.0, -8.0 / 20.0), 0.05); // MP3 moves peaks a little

    // An album of one is its track; a track without an album tag has no album values.
    const auto single = GainTags(out + "/single.mp3");
    EXPECT_NEAR(Number(single, "replaygain_album_gain"), Number(single, "replaygain_track_gain"),
                0.06);
    const auto untagged = GainTags(out + "/untagged.mp3");
    EXPECT_EQ(untagged.count("replaygain_album_gain"), 0u);
    EXPECT_EQ(untagged.count("replaygain_track_gain"), 1u);
}

TEST_F(ReplayGainCli, OpusCarriesR128GainsOfTheSameMeasure) {
    const std::vector<std::string> args = {"--format", "opus", "--replaygain", "--sync",
                                           "--output", out,    in + "/album"};
    const Finished run = Batch(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> album = {out + "/1.opus", out + "/2.opus", out + "/3.opus"};
    for (const std::string& file : album) {
        SCOPED_TRACE(file);
        const auto tags = GainTags(file);
        // Q7.8 relative to -23 LUFS; no ReplayGain tags in Opus.
        EXPECT_NEAR(Number(tags, "r128_track_gain") / 256.0, -23.0 - ScannedLufs({file}), 0.2);
        EXPECT_NEAR(Number(tags, "r128_album_gain") / 256.0, -23.0 - ScannedLufs(album), 0.2);
        EXPECT_EQ(tags.count("replaygain_track_gain"), 0u);
    }
    // The album's tags went in after the record was written, and changed the files' size: the
    // record was told, so nothing is converted again.
    const Finished again = Batch(args);
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_TRUE(Contains(again.err, "0 converted, 5 up to date\n")) << again.err;
}

// Stopped inside the album, the tracks done have their own gains but no album values: those
// would leave out the track that never came.
TEST_F(ReplayGainCli, ARunStoppedInsideTheAlbumWritesNoAlbumValues) {
    std::filesystem::remove(in + "/album/3.wav");
    MakeLevel(in + "/album/3.wav", -8, "Calm and Loud", 600.0);
    // Named one by one, the files convert in this order.
    const auto process = start({"--format", "mp3", "--replaygain", "--jobs", "1", "--output", out,
                                in + "/album/1.wav", in + "/album/2.wav", in + "/album/3.wav"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
    while (!(std::filesystem::exists(out + "/2.mp3") && !converterProcesses().empty()) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(std::filesystem::exists(out + "/2.mp3"));
    ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
    Finish(*process);
    ASSERT_FALSE(std::filesystem::exists(out + "/3.mp3")) << "the run ended before the stop";
    for (const char* name : {"/1.mp3", "/2.mp3"}) {
        SCOPED_TRACE(name);
        const auto tags = GainTags(out + name);
        EXPECT_EQ(tags.count("replaygain_track_gain"), 1u);
        EXPECT_EQ(tags.count("replaygain_album_gain"), 0u);
        EXPECT_EQ(tags.count("replaygain_album_peak"), 0u);
    }
}
