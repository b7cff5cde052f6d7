// The batch mode of the real program in a private program folder, with no display.
#include "headless/cli_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace cli;

// Whether the first file (short.wav) is done and the second one's output is being written.
testing::AssertionResult SecondFileRuns(QProcess& run, const std::string& out) {
    std::string err;
    if (QTest::qWaitFor(
            [&] {
                err += run.readAllStandardError().toStdString();
                return Contains(err, "[1/2] short.wav") && Tree(out).size() >= 2;
            },
            kDeadlineMs))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the long file's output never appeared: " << err;
}

using HeadlessCli = ProgramCopy;

TEST_F(HeadlessCli, EachFormatGivesItsKindOfFileAndTheChoicesReachIt) {
    MakeTone(in + "/tone.wav", 3);
    // Only mp3 and mpg take rate and channels; the others keep the input's or fix their own.
    const std::vector<std::string> choices = {"--rate", "22050", "--channels", "mono", "--bitrate",
                                              "64",     "--cut", "0:01",       "1"};
    const struct {
        std::string format;
        bool chosen; // with `choices`
        std::string probed;
        double seconds;
    } cases[] = {{"mp3", false, "mp3 44100 2", 3},       {"mp3", true, "mp3 22050 1 64000", 1},
                 {"ogg", false, "vorbis 44100 2", 3},    {"flac", false, "flac 44100 1", 3},
                 {"wav", false, "pcm_s16le 44100 1", 3}, {"AMR", false, "amr_nb 8000 1", 3}};
    for (const auto& c : cases) {
        const std::string folder = out + "/" + std::to_string(&c - cases);
        SCOPED_TRACE(folder);
        std::vector<std::string> args = c.chosen ? choices : std::vector<std::string>{};
        args.insert(args.end(), {"--format", c.format, "--output", folder, in + "/tone.wav"});
        const Finished run = Batch(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(Contains(run.err, "1 converted")) << run.err;
        std::string extension = c.format;
        std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
        EXPECT_EQ(Tree(folder), Names{"tone." + extension});
        auto probed = Probe(folder + "/tone." + extension);
        EXPECT_EQ(probed["codec_name"] + " " + probed["sample_rate"] + " " + probed["channels"] +
                      (c.chosen ? " " + probed["bit_rate"] : ""),
                  c.probed);
        EXPECT_NEAR(std::atof(probed["duration"].c_str()), c.seconds, 0.15);
    }
}

TEST_F(HeadlessCli, FolderGivesItsOwnFilesFirstSkipsWhatIsNoFileAndCanKeepItsTree) {
    const std::string album = in + "/album";
    fs::create_directories(album + "/sub/deeper");
    fs::create_directories(in + "/elsewhere");
    MakeTone(album + "/song.wav", 1);
    MakeTone(album + "/b.wav", 1);
    MakeTone(album + "/sub/song.wav", 2);
    MakeTone(album + "/sub/deeper/c.wav", 1);
    MakeTone(in + "/elsewhere/x.wav", 1);
    ASSERT_EQ(::mkfifo((album + "/pipe.wav").c_str(), 0600), 0);
    fs::create_directory_symlink(in + "/elsewhere", album + "/linked");

    Finished run = Batch({"-j", "1", "--format", "wav", "--output", out, album});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(out), (Names{"b.wav", "c.wav", "song (2).wav", "song.wav"}))
        << "the pipe and the linked folder are left alone";
    EXPECT_NEAR(Seconds(out + "/song.wav"), 1.0, 0.1) << "the folder's own file came first";
    EXPECT_TRUE(Contains(run.err, "[3/4] song.wav \u2192 song (2).wav\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "Renamed to keep outputs apart:\n  " + album +
                                      "/sub/song.wav \u2192 " + out + "/song (2).wav\n"))
        << run.err;

    const std::string kept = root.filePath("kept").toStdString();
    run = Batch(
        {"--keep-tree", "--format", "flac", "--output", kept, album, in + "/elsewhere/x.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(kept), (Names{"b.flac", "song.flac", "sub/", "sub/deeper/", "sub/deeper/c.flac",
                                 "sub/song.flac", "x.flac"}));
    EXPECT_FALSE(Contains(run.err, "Renamed")) << run.err;
}

// The pattern places each output by its own tags, with the fallbacks for what is missing.
TEST_F(HeadlessCli, NamesFromTagsMakeTheFoldersAndKeepOutputsApart) {
    const auto tagged = [&](const std::string& name, std::vector<std::string> tags) {
        const std::string plain = in + "/plain-" + name + ".wav";
        MakeTone(plain, 1);
        QStringList args{"-nostdin", "-loglevel", "error",
                         "-y",       "-i",        QString::fromStdString(plain)};
        for (const std::string& tag : tags)
            args << "-metadata" << QString::fromStdString(tag);
        args << QString::fromStdString(in + "/" + name);
        const Finished made = cli::Run("ffmpeg", args);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        fs::remove(plain);
        return in + "/" + name;
    };
    const std::vector<std::string> full{"artist=The Testers", "album=First Light", "track=2/9",
                                        "title=Morning Song"};
    const std::string a = tagged("a.flac", full);
    const std::string b = tagged("b.flac", full);
    const std::string c = tagged("c.mp3", {"album_artist=AC/DC", "title=Thunder"});
    const std::string d = tagged("01. Intro.flac", {});
    Finished run = Batch({"-j", "2", "--format", "mp3", "--output", out, "--name",
                          "{artist}/{album}/{track} - {title}", a, b, c, d});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(
        Tree(out),
        (Names{"AC-DC/", "AC-DC/Unknown Album/", "AC-DC/Unknown Album/Thunder.mp3", "The Testers/",
               "The Testers/First Light/", "The Testers/First Light/02 - Morning Song (2).mp3",
               "The Testers/First Light/02 - Morning Song.mp3", "Unknown Artist/",
               "Unknown Artist/Unknown Album/", "Unknown Artist/Unknown Album/01.mp3"}));
    EXPECT_TRUE(Contains(run.err, "Renamed to keep outputs apart:\n  " + b)) << run.err;
    EXPECT_EQ(Probe(out + "/The Testers/First Light/02 - Morning Song.mp3")["codec_name"], "mp3");
}

// Outputs go beside their inputs, and one input carries another's output name (the base name
// ends at the first dot), or is itself of the chosen format.
TEST_F(HeadlessCli, NoOutputReplacesAnInputOfTheRun) {
    const struct {
        const char* format;
        const char *taken, *other; // `taken` is named first on the command line
        Names after;
    } cases[] = {
        {"mp3", "a.mp3", "a.b.mp3", {"a (2).mp3", "a (3).mp3", "a.b.mp3", "a.mp3"}},
        {"wav", "song.wav", "song.flac", {"song (2).wav", "song (3).wav", "song.flac", "song.wav"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const std::string folder = in + "/" + c.format;
        fs::create_directories(folder);
        MakeTone(folder + "/" + c.taken, 1);
        MakeTone(folder + "/" + c.other, 2);
        const std::string original = ReadFile(folder + "/" + c.taken);
        for (const bool takenFirst : {false, true}) {
            const std::string first = folder + "/" + (takenFirst ? c.taken : c.other);
            const std::string second = folder + "/" + (takenFirst ? c.other : c.taken);
            const Finished run =
                Batch({"-j", "1", "--format", c.format, "--output", folder, first, second});
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_TRUE(ReadFile(folder + "/" + c.taken) == original) << "the input was replaced";
            EXPECT_EQ(Tree(folder), c.after);
            EXPECT_TRUE(Contains(run.err, "2 converted\n")) << run.err;
            for (const std::string& output : {c.after[0], c.after[1]})
                fs::remove(folder + "/" + output);
        }
    }
}

// Past the window's limit of sub-folders; too many jobs are lowered with a note.
TEST_F(HeadlessCli, EverySubFolderOfAFolderIsSearched) {
    const std::string wide = in + "/wide";
    MakeTone(in + "/tone.wav", 0.1);
    Names expected;
    for (int i = 0; i < 205; ++i) {
        const std::string name = "t" + std::to_string(i);
        fs::create_directories(wide + "/" + name);
        fs::copy_file(in + "/tone.wav", wide + "/" + name + "/" + name + ".wav");
        expected.push_back(name + ".flac");
    }
    std::sort(expected.begin(), expected.end());
    const Finished run = Batch({"--jobs", "100000", "--format", "flac", "--output", out, wide});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "pelkora: --jobs 100000 lowered to ")) << run.err;
    EXPECT_TRUE(Contains(run.err, "205 converted\n")) << run.err;
    EXPECT_EQ(Tree(out), expected);
}

// A file that fails fails alone (status 1); one that converts in part warns (status 3).
TEST_F(HeadlessCli, EachFileHasItsOutcomeTheSummaryItsReasonAndTheRunItsStatus) {
    MakeTone(in + "/good.wav", 1);
    MakeTone(in + "/short.wav", 4);
    WriteFile(in + "/x.wav", "this is not audio\n");
    Finished run = Batch({"-j1", "--format", "flac", "--output", out, in + "/good.wav",
                          in + "/x.wav", in + "/short.wav"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(Tree(out), (Names{"good.flac", "short.flac"})) << "nothing half-written is left";
    EXPECT_EQ(ReadFile(in + "/x.wav"), "this is not audio\n");
    EXPECT_TRUE(Contains(run.err, "[2/3] x.wav \u2192 x.flac: failed: ")) << run.err;
    EXPECT_TRUE(Contains(run.err, "2 converted, 1 failed\n  " + in + "/x.wav: conv: ")) << run.err;

    // Cut short: the header claims ten seconds of sound; the file holds four.
    std::string bytes = ReadFile(in + "/short.wav");
    const std::size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    const std::uint32_t claimed = 10 * 44100 * 2;
    bytes.replace(data + 4, 4, reinterpret_cast<const char*>(&claimed), 4);
    WriteFile(in + "/short.wav", bytes);
    fs::remove_all(out);
    run = Batch({"-j1", "--format", "flac", "--output", out, in + "/good.wav", in + "/short.wav"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(Tree(out), (Names{"good.flac", "short.flac"})) << "what could be read is kept";
    EXPECT_TRUE(Contains(run.err, "2 converted, 1 with warnings\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "(damaged or cut short)")) << run.err;
}

TEST_F(HeadlessCli, BadUsageConvertsNothing) {
    MakeTone(in + "/tone.wav", 1);
    const std::string tone = in + "/tone.wav";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--bogus", tone}, "pelkora: unknown option --bogus"},
        {{"--format", "mp3"}, "pelkora: no files or folders to convert"},
        {{tone, in + "/missing.wav"}, in + "/missing.wav"},
        {{"--cut", "10", tone}, "pelkora: --cut needs START and LENGTH (as 75 30); " + tone},
        {{"--name", "{artst} - {title}", tone}, "unknown field {artst}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"--output", out});
        const Finished run = Batch(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Tree(out), Names{});
        EXPECT_EQ(Tree(in), Names{"tone.wav"});
    }
}

// A row of --report; -1 for bytes left empty (CSV) or null (JSON).
struct ReportRow {
    std::string source, output, status, reason;
    double seconds = -1;
    qint64 inputBytes = -1, outputBytes = -1;
};

std::vector<ReportRow> JsonReport(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isArray());
    std::vector<ReportRow> rows;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject o = value.toObject();
        EXPECT_EQ(o.size(), 9);
        // Without ReplayGain nothing is measured.
        EXPECT_TRUE(o["loudness_lufs"].isNull() && o["peak"].isNull());
        const auto bytes = [](const QJsonValue& v) { return v.isNull() ? -1 : v.toInteger(-2); };
        rows.push_back({o["source"].toString().toStdString(), o["output"].toString().toStdString(),
                        o["status"].toString().toStdString(), o["reason"].toString().toStdString(),
                        o["seconds"].toDouble(-1), bytes(o["input_bytes"]),
                        bytes(o["output_bytes"])});
    }
    return rows;
}

// Split at every comma: the test's names and these reasons hold none.
std::vector<ReportRow> CsvReport(const std::string& path) {
    const std::string text = ReadFile(path);
    const std::string header =
        "source,output,status,reason,seconds,input_bytes,output_bytes,loudness_lufs,peak\r\n";
    EXPECT_EQ(text.substr(0, header.size()), header);
    std::vector<ReportRow> rows;
    for (std::size_t at = header.size(); at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "the last line has its end";
        std::vector<std::string> f;
        std::istringstream line(text.substr(at, end - at));
        for (std::string field; std::getline(line, field, ',');)
            f.push_back(field);
        f.resize(9);
        EXPECT_EQ(f[7] + f[8], ""); // nothing measured without ReplayGain
        const auto bytes = [](const std::string& t) { return t.empty() ? -1 : std::stoll(t); };
        rows.push_back({f[0], f[1], f[2], f[3], std::stod("0" + f[4]), bytes(f[5]), bytes(f[6])});
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return rows;
}

qint64 Size(const std::string& path) {
    return static_cast<qint64>(fs::file_size(path));
}

// The same run reported in each format: a file converted, one that fails, one cut short, and
// one whose output is numbered to keep it apart.
TEST_F(HeadlessCli, TheReportHasARowPerFileWithItsOutcomeReasonTimeAndSizes) {
    MakeTone(in + "/good.wav", 1);
    MakeTone(in + "/short.wav", 4);
    WriteFile(in + "/x.wav", "this is not audio\n");
    std::string bytes = ReadFile(in + "/short.wav");
    const std::size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    const std::uint32_t claimed = 10 * 44100 * 2;
    bytes.replace(data + 4, 4, reinterpret_cast<const char*>(&claimed), 4);
    WriteFile(in + "/short.wav", bytes);
    fs::create_directories(in + "/sub");
    fs::copy_file(in + "/good.wav", in + "/sub/good.wav");

    const struct {
        std::string source, output, status, reasonPart; // an empty part: no reason at all
        bool printed;                                   // the reason is the one on stderr
    } expected[] = {
        {"good.wav", "good.flac", "converted", "", true},
        {"x.wav", "x.flac", "failed", "x.wav: not a media file", true},
        {"short.wav", "short.flac", "converted-with-warnings",
         "warning: input ends at 0:04 of 0:10", true},
        {"sub/good.wav", "good (2).flac", "converted", "numbered", false},
    };
    for (const std::string report : {"run.json", "Run.CSV"}) {
        SCOPED_TRACE(report);
        fs::remove_all(out);
        const std::string path = root.filePath(QString::fromStdString(report)).toStdString();
        const Finished run =
            Batch({"-j1", "--format", "flac", "--output", out, "--report", path, in + "/good.wav",
                   in + "/x.wav", in + "/short.wav", in + "/sub/good.wav"});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        const std::vector<ReportRow> rows =
            report.ends_with(".json") ? JsonReport(path) : CsvReport(path);
        ASSERT_EQ(rows.size(), std::size(expected)) << ReadFile(path);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& want = expected[i];
            const ReportRow& row = rows[i];
            SCOPED_TRACE(want.source);
            const std::string source = in + "/" + want.source;
            const std::string output = out + "/" + want.output;
            EXPECT_EQ(row.source, source);
            EXPECT_EQ(row.output, output);
            EXPECT_EQ(row.status, want.status);
            EXPECT_EQ(row.reason.empty(), want.reasonPart.empty()) << row.reason;
            EXPECT_TRUE(Contains(row.reason, want.reasonPart)) << row.reason;
            EXPECT_TRUE(!want.printed || Contains(run.err, row.reason)) << run.err;
            EXPECT_GT(row.seconds, 0.0);
            EXPECT_LT(row.seconds, kDeadlineMs / 1000.0);
            EXPECT_EQ(row.inputBytes, Size(source));
            EXPECT_EQ(row.outputBytes, want.status != "failed" ? Size(output) : -1);
        }
    }
    EXPECT_EQ(Tree(in), (Names{"good.wav", "short.wav", "sub/", "sub/good.wav", "x.wav"}));
}

TEST_F(HeadlessCli, AReportThatCannotBeWrittenIsBadUsageAndNothingIsConverted) {
    MakeTone(in + "/tone.wav", 1);
    const std::string folder = root.filePath("reports").toStdString();
    fs::create_directories(folder + "/taken.json");
    fs::create_directories(folder + "/locked");
    fs::permissions(folder + "/locked", fs::perms::owner_read | fs::perms::owner_exec);
    // Permissions do not hold root back; /proc takes no new file from anyone.
    const std::string locked = ::geteuid() == 0 ? "/proc/run.csv" : folder + "/locked/run.csv";
    const struct {
        std::string path, problem;
    } cases[] = {
        {folder + "/missing/run.csv", "no such folder"},
        {in + "/tone.wav/run.csv", "no such folder"},
        {folder + "/taken.json", "it is a folder"},
        {locked, "its folder is not writable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Finished run =
            Batch({"--format", "flac", "--output", out, "--report", c.path, in + "/tone.wav"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(Contains(run.err, "pelkora: --report " + c.path + ": " + c.problem)) << run.err;
        EXPECT_EQ(Tree(out), Names{});
        EXPECT_EQ(Tree(folder), (Names{"locked/", "taken.json/"}));
        EXPECT_EQ(Tree(in), Names{"tone.wav"});
    }
}

void OwnGroup() {
    ::setpgid(0, 0);
}

// Whether the process has a handler of its own for the signal.
bool Catches(qint64 pid, int signal) {
    std::istringstream status(ReadFile("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0;
    return false;
}

// A long second file is being converted when the signal comes. Killed, the program cannot stop
// its converters itself: they stop on their own.
TEST_F(HeadlessCli, AStopSignalEndsTheRunAndLeavesOnlyFinishedOutputs) {
    MakeTone(in + "/short.wav", 1);
    MakeTone(in + "/long.flac", 30 * 60, 8000);
    const struct {
        int signal;
        bool wholeGroup; // as Ctrl+C in a terminal
        int status;
        const char* said;
    } cases[] = {{SIGINT, true, 130, "pelkora: interrupted"},
                 {SIGTERM, false, 143, "pelkora: terminated"},
                 {SIGHUP, false, 129, "pelkora: hung up"},
                 {SIGQUIT, false, 131, "pelkora: quit"},
                 {SIGKILL, false, -1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(strsignal(c.signal));
        fs::remove_all(out);
        auto run = start(
            {"-j", "1", "--format", "mp3", "--output", out, in + "/short.wav", in + "/long.flac"},
            c.wholeGroup ? OwnGroup : std::function<void()>());
        ASSERT_TRUE(SecondFileRuns(*run, out));
        ASSERT_EQ(::kill(c.wholeGroup ? -run->processId() : run->processId(), c.signal), 0);

        const Finished done = Finish(*run);
        EXPECT_EQ(done.exitCode, c.status) << done.err;
        EXPECT_TRUE(Contains(done.err, c.said)) << done.err;
        EXPECT_TRUE(QTest::qWaitFor([&] { return converterProcesses().empty(); }, kDeadlineMs))
            << "a converter outlived the program";
        EXPECT_EQ(Tree(out), Names{"short.mp3"}) << "nothing unfinished is left";
        EXPECT_NEAR(Seconds(out + "/short.mp3"), 1.0, 0.1);
        EXPECT_EQ(Tree(in), (Names{"long.flac", "short.wav"}));
    }
}

// The long second file is being converted when the signal comes: only the first has a row.
TEST_F(HeadlessCli, AStopSignalWritesTheReportOfTheFilesFinishedSoFar) {
    MakeTone(in + "/short.wav", 1);
    MakeTone(in + "/long.flac", 30 * 60, 8000);
    const std::string report = root.filePath("run.json").toStdString();
    auto run = start({"-j", "1", "--format", "mp3", "--output", out, "--report", report,
                      in + "/short.wav", in + "/long.flac"});
    ASSERT_TRUE(SecondFileRuns(*run, out));
    EXPECT_FALSE(fs::exists(report)) << "written at the end, not before";
    ASSERT_EQ(::kill(run->processId(), SIGTERM), 0);
    const Finished done = Finish(*run);
    EXPECT_EQ(done.exitCode, 143) << done.err;
    const std::vector<ReportRow> rows = JsonReport(report);
    ASSERT_EQ(rows.size(), 1u) << ReadFile(report);
    EXPECT_EQ(rows[0].source, in + "/short.wav");
    EXPECT_EQ(rows[0].status, "converted");
    EXPECT_EQ(rows[0].outputBytes, Size(out + "/short.mp3"));
    Names top;
    for (const auto& entry : fs::directory_iterator(root.path().toStdString()))
        top.push_back(entry.path().filename().string());
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (Names{"home", "in", "out", "program", "run.json"})) << "nothing temporary left";
}

// Under nohup the hang-up reaches the program and its converters, and all of them ignore it.
TEST_F(HeadlessCli, AHangUpIgnoredAtStartLetsTheRunFinish) {
    MakeTone(in + "/long.flac", 30 * 60, 8000);
    // Mono at the input's own rate: long enough to be running at the signal, little work.
    auto run = start({"--format", "mp3", "--rate", "8000", "--channels", "mono", "--output", out,
                      in + "/long.flac"},
                     [] {
                         ::setpgid(0, 0);
                         ::signal(SIGHUP, SIG_IGN);
                     });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Tree(out).empty(); }, kDeadlineMs))
        << "the temporary file never appeared";
    ASSERT_EQ(::kill(-run->processId(), SIGHUP), 0);
    const Finished done = Finish(*run);
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(Tree(out), Names{"long.mp3"});
    EXPECT_NEAR(Seconds(out + "/long.mp3"), 30 * 60, 1);
}

// Its start blocked (here on writing to a standard error no one reads), the program still ends
// at a stop signal, with the status of that signal.
TEST_F(HeadlessCli, AStopSignalEndsAProgramWhoseStartBlocks) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal));
        int full[2];
        ASSERT_EQ(::pipe2(full, O_NONBLOCK | O_CLOEXEC), 0);
        std::string fill(4096, 'x');
        while (::write(full[1], fill.data(), fill.size()) > 0) {
        }
        ::fcntl(full[1], F_SETFL, 0);
        const int errorEnd = full[1];
        // An unknown option is reported on standard error before anything else is done.
        auto run = start({"--unknown-option", "--output", out},
                         [errorEnd] { ::dup2(errorEnd, STDERR_FILENO); });
        ASSERT_TRUE(run->waitForStarted(kDeadlineMs));
        // Once its handlers are in place it is blocked for good, or soon will be: its error
        // line cannot get through.
        ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(run->processId(), signal); }, kDeadlineMs))
            << "never caught the signal";
        ASSERT_EQ(::kill(run->processId(), signal), 0);
        const Finished done = Finish(*run);
        ::close(full[0]);
        ::close(full[1]);
        EXPECT_EQ(done.exitCode, 128 + signal);
        EXPECT_EQ(Tree(out), Names{});
    }
}

TEST_F(HeadlessCli, SettingsFilesAreReadAndNeverWrittenWithoutThemTheDefaultsApply) {
    MakeTone(in + "/tone.wav", 3);
    Finished run = Batch({in + "/tone.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(program),
              (Names{"data/", "data/conv", "output/", "output/tone.mp3", "pelkora"}));
    EXPECT_EQ(Probe(program + "/output/tone.mp3")["sample_rate"], "44100");
    fs::remove_all(program + "/output");

    // OGG into `out`; a cut of one second from the first.
    const std::string setupText = "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"" + out + "\"\r\n\"2\"\r\n";
    const std::string optionsText = "0\r\n1\r\n1\r\n1\r\n";
    WriteFile(program + "/setup.ini", setupText);
    WriteFile(program + "/options.ini", optionsText);
    const Names before = Tree(program);
    run = Batch({in + "/tone.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Tree(out), Names{"tone.ogg"});
    EXPECT_NEAR(Seconds(out + "/tone.ogg"), 1.0, 0.15) << "the cut of options.ini";
    run = Batch({"--format", "flac", "--cut", "0", "0", in + "/tone.wav"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NEAR(Seconds(out + "/tone.flac"), 3.0, 0.15) << "the command line wins";

    run = Batch({"-h"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(Contains(run.out, "--jobs") && run.err.empty()) << run.out;
    run = Batch({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "pelkora " PELKORA_VERSION_TEXT "\n");

    EXPECT_EQ(Tree(program), before);
    EXPECT_EQ(ReadFile(program + "/setup.ini"), setupText);
    EXPECT_EQ(ReadFile(program + "/options.ini"), optionsText);
    EXPECT_EQ(Tree(home), Names{});
}

} // namespace
