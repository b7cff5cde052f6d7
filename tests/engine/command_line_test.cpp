#include "engine/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kIn = R"(C:\In\Song.mix.wav)";
// A program folder with a blank: it stays unquoted in front of the converter.
const std::string kProgram = R"(C:\Audio Tools)";

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

std::string Windows(int format, bool cut) {
    auto built = BuildCommandLine(kIn, Settings(format, cut), kProgram, PathStyle::windows());
    return built ? built->text : "<none>";
}

struct Row {
    int format;
    const char* noCut;
    const char* withCut;
};

// Written out by hand, byte for byte, including the doubled blanks.
const Row kRows[] = {
    {0,
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn -ab 192k -ar 22050 -ac 1 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.mp3" "C:\Out\Song.mp3")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn -ab 192k -ar 22050 -ac 1 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.mp3" "C:\Out\Song.mp3")"},
    {1,
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn -acodec wmav1 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.wma" "C:\Out\Song.wma")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn -acodec wmav1  -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.wma" "C:\Out\Song.wma")"},
    {2,
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn -ac 2 -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.ogg" "C:\Out\Song.ogg")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn -ac 2  -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.ogg" "C:\Out\Song.ogg")"},
    {3,
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn -acodec pcm_s16le "C:\Out\Song.wav")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn -acodec pcm_s16le "C:\Out\Song.wav")"},
    {4,
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn  -map_meta_data "C:\In\Song.mix.wav":"C:\Out\Song.flac" "C:\Out\Song.flac")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn "C:\Out\Song.flac")"},
    {5, R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn "C:\Out\Song.ac3")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn "C:\Out\Song.ac3")"},
    {6, R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn "C:\Out\Song.aac")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn "C:\Out\Song.aac")"},
    {7,
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn -ar 8000 -ab 7.4k -ac 1 "C:\Out\Song.amr")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn -ar 8000 -ab 7.4k -ac 1 "C:\Out\Song.amr")"},
    {8,
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -y -vn -ab 192k -ar 22050 -ac 1 "C:\Out\Song.mpg")",
     R"(C:\Audio Tools\data\conv.exe -i "C:\In\Song.mix.wav" -ss 75 -t 30 -y -vn -ab 192k -ar 22050 -ac 1 "C:\Out\Song.mpg")"},
};

TEST(BuildCommandLine, EveryFormatWithAndWithoutCutMatchesTheWindowsTextByteForByte) {
    for (const Row& row : kRows) {
        EXPECT_EQ(Windows(row.format, false), row.noCut) << "format " << row.format;
        EXPECT_EQ(Windows(row.format, true), row.withCut) << "format " << row.format;
    }
}

TEST(BuildCommandLine, OutputPathAndFolderSeparator) {
    auto s = Settings(3, false);
    auto built = BuildCommandLine(kIn, s, kProgram, PathStyle::windows());
    ASSERT_TRUE(built);
    EXPECT_EQ(built->outputPath, R"(C:\Out\Song.wav)");

    s.outputFolder = R"(C:\Out\)";
    built = BuildCommandLine(kIn, s, kProgram, PathStyle::windows());
    EXPECT_EQ(built->outputPath, R"(C:\Out\Song.wav)") << "no second separator";

    s.outputFolder = "/home/u/out/";
    built = BuildCommandLine("/music/a.b.c.flac", s, "/opt/pelkora");
    EXPECT_EQ(built->outputPath, "/home/u/out/a.wav");
    EXPECT_EQ(built->program, "/opt/pelkora/data/conv");
}

TEST(BuildCommandLine, BaseNameCases) {
    auto out = [](const std::string& in) {
        return BuildCommandLine(in, Settings(0, false), kProgram, PathStyle::windows())->outputPath;
    };
    EXPECT_EQ(out(R"(C:\Music\live.set.wav)"), R"(C:\Out\live.mp3)");
    EXPECT_EQ(out(R"(C:\Music\Track 01)"), R"(C:\Out\Track 01.mp3)");
    EXPECT_EQ(out(R"(C:\Music\.wav)"), R"(C:\Out\.mp3)");
    EXPECT_EQ(out("noseparator.ogg"), R"(C:\Out\noseparator.mp3)");

    EXPECT_EQ(GetFileName("", '\\'), "");
    EXPECT_EQ(GetBaseName("", '\\'), "");
    EXPECT_EQ(GetFileName(R"(C:\a\b.c)", '\\'), "b.c");
    EXPECT_EQ(GetFileName(R"(C:\a\)", '\\'), "");
    EXPECT_EQ(GetBaseName("/x/y.z/name", '/'), "name") << "dots in folders do not count";
}

TEST(BuildCommandLine, CutStartZeroIsWrittenAndDisabledCutWritesNothing) {
    auto s = Settings(5, true);
    s.cutStart = 0;
    s.cutLength = 0;
    EXPECT_NE(BuildCommandLine(kIn, s, kProgram, PathStyle::windows())->text.find(" -ss 0 -t 0 "),
              std::string::npos);
    s.cutEnabled = false;
    s.cutStart = 99;
    const auto text = BuildCommandLine(kIn, s, kProgram, PathStyle::windows())->text;
    EXPECT_EQ(text.find("-ss"), std::string::npos);
    EXPECT_EQ(text.find("-t "), std::string::npos);
}

TEST(BuildCommandLine, IndexOutsideTheListGivesNoCommand) {
    for (int bad : {-1, 9, 100, -32768}) {
        auto s = Settings(0, false);
        s.formatIndex = static_cast<std::int16_t>(bad);
        EXPECT_FALSE(BuildCommandLine(kIn, s, kProgram)) << bad;
    }
}

TEST(BuildCommandLine, ArgumentVectorMirrorsThePiecesNotTheText) {
    auto s = Settings(0, true);
    s.outputFolder = "/out";
    const auto built = BuildCommandLine("/in/a.wav", s, "/p");
    const std::vector<std::string> expected = {"-i",
                                               "/in/a.wav",
                                               "-ss",
                                               "75",
                                               "-t",
                                               "30",
                                               "-y",
                                               "-vn",
                                               "-ab",
                                               "192k",
                                               "-ar",
                                               "22050",
                                               "-ac",
                                               "1",
                                               "-map_meta_data",
                                               "/in/a.wav:/out/a.mp3",
                                               "/out/a.mp3"};
    EXPECT_EQ(built->arguments, expected);

    s.formatIndex = 4;
    s.cutEnabled = false;
    EXPECT_EQ(BuildCommandLine("/in/a.wav", s, "/p")->arguments,
              (std::vector<std::string>{"-i", "/in/a.wav", "-y", "-vn", "-map_meta_data",
                                        "/in/a.wav:/out/a.flac", "/out/a.flac"}))
        << "a doubled blank makes no empty argument";
}

TEST(BuildCommandLine, HostileNamesStaySingleExactArguments) {
    const std::vector<std::string> names = {"/music/say \"hi\".wav",
                                            "/music/-rf *.wav",
                                            "/music/a:b:c.wav",
                                            "/music/new\nline.wav",
                                            "/music/caf\xc3\xa9.wav",
                                            "/music/bad\xff\xfe.wav",
                                            "-i",
                                            "/music/  spaced  .wav"};
    for (const auto& name : names) {
        auto s = Settings(0, false);
        s.outputFolder = "/out dir";
        const auto built = BuildCommandLine(name, s, "/p");
        ASSERT_TRUE(built);
        const auto& a = built->arguments;
        ASSERT_EQ(a.size(), 13u) << name;
        EXPECT_EQ(a[1], name);
        EXPECT_EQ(a[11], name + ":" + built->outputPath);
        EXPECT_EQ(a[12], built->outputPath);
        EXPECT_EQ(built->outputPath, "/out dir/" + GetBaseName(name) + ".mp3");
    }
}

} // namespace
