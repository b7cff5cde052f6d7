// What the real program finds wrong before it converts anything.
#include "headless/cli_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace cli;

using StartChecks = ProgramCopy;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Without a display Qt would abort (status 134); a platform chosen by the environment or by
// Qt's own option still opens the window, which the unknown option then ends.
TEST_F(StartChecks, TheWindowWithoutADisplayPointsToTheBatchMode) {
    const struct {
        QString platform; // QT_QPA_PLATFORM, none when empty
        QStringList arguments;
        std::string message;
    } cases[] = {
        {{},
         {},
         "pelkora: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
         "not set); use pelkora --batch to convert without one\n"},
        {{},
         {"a.wav"},
         "pelkora: no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
         "are not set); use pelkora --batch to convert without one\n"},
        {"offscreen",
         {"--bogus"},
         "pelkora: unknown option --bogus (options apply to --batch only; see pelkora --batch "
         "--help)\n"},
        {{},
         {"-platform", "offscreen", "--bogus"},
         "pelkora: unknown option --bogus (options apply to --batch only; see pelkora --batch "
         "--help)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        QProcess window;
        QProcessEnvironment env = environment();
        if (!c.platform.isEmpty())
            env.insert("QT_QPA_PLATFORM", c.platform);
        window.setProcessEnvironment(env);
        window.start(QString::fromStdString(program + "/pelkora"), c.arguments);
        const Finished run = Finish(window);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
}

// An output folder that cannot take files is bad usage, said once, before any converter runs;
// one that does not exist yet is made.
TEST_F(StartChecks, AnOutputThatIsNoUsableFolderIsRefusedBeforeAnythingIsConverted) {
    MakeTone(in + "/a.wav", 1);
    MakeTone(in + "/b.wav", 1);
    const std::string file = root.filePath("taken").toStdString();
    WriteFile(file, "x");
    const std::string locked = root.filePath("locked").toStdString();
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        std::string output, message;
    };
    std::vector<Case> cases = {
        {file, "pelkora: --output " + file + " is not a folder\n"},
        {file + "/sub", "pelkora: --output " + file + "/sub cannot be made: Not a directory\n"},
    };
    // Root may write anywhere.
    if (::geteuid() != 0)
        cases.push_back({locked, "pelkora: --output " + locked +
                                     " is not a writable folder: Permission denied\n"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        const Finished run = Batch({"--format", "wav", "--output", c.output, in});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(ReadFile(file), "x");
    EXPECT_EQ(Tree(locked), Names{});
    fs::permissions(locked, fs::perms::owner_all);

    const Finished made = Batch({"--format", "wav", "--output", out + "/new/deeper", in});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(Tree(out), (Names{"new/", "new/deeper/", "new/deeper/a.wav", "new/deeper/b.wav"}));
}

// Each file still converts; the choice the format cannot honour is named once for the run.
TEST_F(StartChecks, ARateOrBitrateTheFormatCannotHonourIsSaidOnceForTheRun) {
    MakeTone(in + "/a.wav", 1);
    MakeTone(in + "/b.wav", 1);
    const struct {
        std::vector<std::string> args;
        std::string note; // empty: no note of the program's own
    } cases[] = {
        {{"--format", "mp3", "--rate", "12050"},
         "pelkora: MP3 cannot use 12050 Hz; the converter uses the nearest it can\n"},
        {{"--format", "flac", "--bitrate", "192"},
         "pelkora: FLAC has no bitrate; --bitrate 192 is not used\n"},
        {{"--format", "mp3", "--rate", "22050", "--bitrate", "64"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        fs::remove_all(out);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--output", out, in});
        const Finished run = Batch(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Tree(out).size(), 2u);
        if (c.note.empty()) {
            EXPECT_EQ(Count(run.err, "pelkora: "), 0u) << run.err;
        } else {
            EXPECT_EQ(Count(run.err, c.note), 1u) << run.err;
            EXPECT_EQ(run.err.find("pelkora: "), 0u) << "before the run: " << run.err;
        }
        const Finished quiet = [&] {
            std::vector<std::string> quietArgs = args;
            quietArgs.insert(quietArgs.begin(), "--quiet");
            fs::remove_all(out);
            return Batch(quietArgs);
        }();
        EXPECT_EQ(quiet.exitCode, 0);
        EXPECT_EQ(quiet.err, "") << "--quiet prints only failures";
    }
}

} // namespace
