#include "core/engine/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kIn = R"(C:\In\Song.mix.wav)";

ConversionSettings Settings(int format, bool cut) {
    ConversionSettings s;
    s.formatIndex = static_cast<std::int16_t>(format);
    s.bitrate = "192";
    s.sampleRate = "22050";
    s.channelIndex = 0;
    s.outputFolder = R"(C:\Out)";
    s.cutEnabled = cut;
    s.cutStart = 75;
    s.cutLength = 30;
    return s;
}

// Written out by hand, byte for byte, including the doubled blanks; the program folder's blank
// stays unquoted in front of the converter. With a cut, "-ss 75 -t 30 " comes first unless the
// row says otherwise.
const std::string kStart = R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" )";
const struct {
    int format;
    const char* noCut;
    const char* withCut = nullptr;
} kRows[] = {
    {0,
     R"(-y -vn -ab 192k -ar 22050 -ac 1 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.mp3" "C:\Out\Song.mp3")"},
    {1,
     R"(-y -vn -acodec wmav1 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.wma" "C:\Out\Song.wma")",
     R"(-ss 75 -t 30 -y -vn -acodec wmav1  -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.wma" "C:\Out\Song.wma")"},
    {2, R"(-y -vn -ac 2 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.ogg" "C:\Out\Song.ogg")",
     R"(-ss 75 -t 30 -y -vn -ac 2  -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.ogg" "C:\Out\Song.ogg")"},
    {3, R"(-y -vn -acodec pcm_s16le "C:\Out\Song.wav")"},
    {4, R"(-y -vn  -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.flac" "C:\Out\Song.flac")",
     R"(-ss 75 -t 30 -y -vn "C:\Out\Song.flac")"},
    {5, R"(-y -vn "C:\Out\Song.ac3")"},
    {6, R"(-y -vn "C:\Out\Song.aac")"},
    {7, R"(-y -vn -ar 8000 -ab 7.4k -ac 1 "C:\Out\Song.amr")"},
    {8, R"(-y -vn -ab 192k -ar 22050 -ac 1 "C:\Out\Song.mpg")"},
    // Opus has no -ar: it is always 48 kHz. ALAC keeps the source's rate and channels.
    {9,
     R"(-y -vn -acodec libopus -ab 192k -ac 1 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.opus" "C:\Out\Song.opus")"},
    {10,
     R"(-y -vn -acodec aac -ab 192k -ar 22050 -ac 1 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.m4a" "C:\Out\Song.m4a")"},
    {11,
     R"(-y -vn -acodec alac -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.m4a" "C:\Out\Song.m4a")"},
};

std::string Expected(const decltype(kRows[0])& row, bool cut) {
    return !cut ? row.noCut : row.withCut ? row.withCut : std::string("-ss 75 -t 30 ") + row.noCut;
}

TEST(BuildCommandLine, EveryFormatWithAndWithoutCutMatchesTheWindowsTextByteForByte) {
    for (const auto& row : kRows)
        for (const bool cut : {false, true}) {
            SCOPED_TRACE(testing::Message() << "format " << row.format << " cut " << cut);
            const auto built = BuildCommandLine(kIn, Settings(row.format, cut), R"(C:\Audio Tools)",
                                                PathStyle::windows());
            ASSERT_TRUE(built);
            EXPECT_EQ(built->text, kStart + Expected(row, cut));
        }
    auto s = Settings(5, true);
    s.cutStart = 0;
    s.cutLength = 0;
    s.outputFolder = R"(C:\Out\)";
    EXPECT_EQ(BuildCommandLine(kIn, s, R"(C:\Audio Tools)", PathStyle::windows())->text,
              kStart + R"(-ss 0 -t 0 -y -vn "C:\Out\Song.ac3")")
        << "a start of 0 is written, a trailing separator not doubled";
    for (int bad : {-1, 12, -32768}) {
        s.formatIndex = static_cast<std::int16_t>(bad);
        EXPECT_FALSE(BuildCommandLine(kIn, s, "/p")) << bad;
    }
}

// The loudness switch stands right behind -vn in every format, with and without a cut.
TEST(BuildCommandLine, ReplayGainGoesRightAfterVnInEveryFormat) {
    ASSERT_EQ(std::size(kRows), static_cast<std::size_t>(kOutputFormatCount));
    for (const auto& row : kRows)
        for (const bool cut : {false, true}) {
            SCOPED_TRACE(testing::Message() << "format " << row.format << " cut " << cut);
            auto s = Settings(row.format, cut);
            s.replayGain = true;
            const auto built = BuildCommandLine(kIn, s, R"(C:\Audio Tools)", PathStyle::windows());
            ASSERT_TRUE(built);
            std::string expected = Expected(row, cut);
            const std::size_t vn = expected.find("-y -vn");
            ASSERT_NE(vn, std::string::npos);
            expected.insert(vn + 6, " -replaygain 1");
            EXPECT_EQ(built->text, kStart + expected);
        }
    auto s = Settings(9, true);
    s.replayGain = true;
    s.outputFolder = "/out";
    EXPECT_EQ(
        BuildCommandLine("/in/a.wav", s, "/p")->arguments,
        (std::vector<std::string>{"-i", "/in/a.wav", "-ss", "75", "-t", "30", "-y", "-vn",
                                  "-replaygain", "1", "-acodec", "libopus", "-ab", "192k", "-ac",
                                  "1", "-map_meta_data", "/in/a.wav:/out/a.opus", "/out/a.opus"}));
    s.formatIndex = 11;
    s.cutEnabled = false;
    s.replayGain = false;
    EXPECT_EQ(BuildCommandLine("/in/a.wav", s, "/p")->arguments,
              (std::vector<std::string>{"-i", "/in/a.wav", "-y", "-vn", "-acodec", "alac",
                                        "-map_meta_data", "/in/a.wav:/out/a.m4a", "/out/a.m4a"}));
}

// Each name is one argument wherever it appears; a doubled blank in the text makes no argument.
TEST(BuildCommandLine, ArgumentVectorMirrorsThePiecesAndHostileNamesStaySingleArguments) {
    for (const std::string name :
         {"/music/say \"hi\".wav", "/music/-rf *.wav", "/music/new\nline.wav", "/x.y/Track 01",
          "/music/bad\xff\xfe.wav", "-i", "/music/  spaced  .wav"}) {
        auto s = Settings(0, true);
        s.outputFolder = "/out dir/";
        const auto built = BuildCommandLine(name, s, "/p");
        ASSERT_TRUE(built);
        EXPECT_EQ(built->program, "/p/data/conv");
        EXPECT_EQ(built->outputPath, "/out dir/" + GetBaseName(name) + ".mp3");
        EXPECT_EQ(built->arguments,
                  (std::vector<std::string>{"-i", name, "-ss", "75", "-t", "30", "-y", "-vn", "-ab",
                                            "192k", "-ar", "22050", "-ac", "1", "-map_meta_data",
                                            name + ":" + built->outputPath, built->outputPath}));
    }
    auto s = Settings(4, false);
    s.outputFolder = "/out";
    EXPECT_EQ(BuildCommandLine("/in/a.wav", s, "/p")->arguments,
              (std::vector<std::string>{"-i", "/in/a.wav", "-y", "-vn", "-map_meta_data",
                                        "/in/a.wav:/out/a.flac", "/out/a.flac"}));
    EXPECT_EQ(GetBaseName("/x/y.z/name"), "name") << "dots in folders do not count";
    EXPECT_EQ(GetBaseName("/x/a.b.wav"), "a");
    EXPECT_EQ(GetBaseName(R"(C:\a\.wav)", '\\'), "");
}

} // namespace
