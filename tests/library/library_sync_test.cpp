// What makes a synchronised run convert a source again: the words its choices are recorded in.
#include "app/library/library_sync.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <fstream>

namespace {

ConversionSettings Settings(int format, bool replayGain = false) {
    ConversionSettings s;
    s.formatIndex = static_cast<std::int16_t>(format);
    s.bitrate = "192";
    s.sampleRate = "22050";
    s.channelIndex = 0;
    s.replayGain = replayGain;
    return s;
}

// The records already made name the nine formats so; they must keep matching.
TEST(SyncFingerprint, TheNineKeepTheirWordsTheNewOnesNameTheirCodec) {
    const std::string choices = ";bitrate=192;rate=22050;channels=0";
    const struct {
        int format;
        bool replayGain;
        std::string text;
    } rows[] = {
        {0, false, "format=.mp3" + choices},
        {1, false, "format=.wma" + choices},
        {2, false, "format=.ogg" + choices},
        {3, false, "format=.wav" + choices},
        {4, false, "format=.flac" + choices},
        {5, false, "format=.ac3" + choices},
        {6, false, "format=.aac" + choices},
        {7, false, "format=.amr" + choices},
        {8, false, "format=.mpg" + choices},
        {9, false, "format=.opus;codec=opus" + choices},
        {10, false, "format=.m4a;codec=aac" + choices},
        {11, false, "format=.m4a;codec=alac" + choices},
        {0, true, "format=.mp3" + choices + ";replaygain=1"},
        {11, true, "format=.m4a;codec=alac" + choices + ";replaygain=1"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SyncFingerprint(Settings(row.format, row.replayGain)).toStdString(), row.text);
    auto cut = Settings(4, true);
    cut.cutEnabled = true;
    cut.cutStart = 5;
    cut.cutLength = 10;
    EXPECT_EQ(SyncFingerprint(cut).toStdString(),
              "format=.flac" + choices + ";cut=5+10;replaygain=1");
}

// Runs one after the other into one folder, the converter's part played by writing the output.
TEST(LibrarySync, ACodecOrTheLoudnessTagsChangedConvertAgain) {
    QTemporaryDir dir;
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    const std::string input = folder + "/song.wav";
    std::ofstream(input) << "RIFF";
    const std::string root;
    const QString pattern;
    LibrarySync sync;
    using Kind = LibrarySync::Decision::Kind;
    const struct {
        int format;
        bool replayGain;
        Kind expected;
    } runs[] = {
        {10, false, Kind::Convert},  {10, false, Kind::UpToDate}, {11, false, Kind::Convert},
        {11, false, Kind::UpToDate}, {11, true, Kind::Convert},   {11, true, Kind::UpToDate},
        {11, false, Kind::Convert},  {10, false, Kind::Convert},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(testing::Message() << "run " << (&run - runs));
        sync.reset();
        ConversionSettings settings = Settings(run.format, run.replayGain);
        settings.outputFolder = folder;
        const auto plan = [&](const auto&) { return OutputPlan{folder + "/song.m4a", {}, false}; };
        LibrarySync::Decision decision =
            sync.decide({input, root, false, settings, pattern}, plan, [](const std::string&) {});
        ASSERT_EQ(decision.kind, run.expected) << decision.text.toStdString();
        if (decision.kind != Kind::Convert)
            continue;
        std::ofstream(decision.outputPath) << "converted " << (&run - runs);
        sync.finish(decision.claim, true, decision.outputPath, folder);
    }
}

} // namespace
