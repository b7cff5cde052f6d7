// The real program run in a private copy of its folder, with no display, and what it leaves.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QProcess>
#include <QTemporaryDir>

#include <sys/types.h>

namespace cli {

using Names = std::vector<std::string>;

// Long enough for a loaded machine and a sanitizer build; reaching it fails the test.
inline constexpr int kDeadlineMs = 120'000;

bool Contains(const std::string& text, const std::string& part);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Sorted names below a folder, sub-folders as "sub/" followed by their entries ("sub/x").
Names Tree(const std::string& folder);

struct Finished {
    int exitCode = -1; // also when ended by a signal
    std::string out, err;
};

// Waits for the end; one that does not come fails the test and the process is killed.
Finished Finish(QProcess& process);
Finished Run(const QString& program, const QStringList& arguments);

// A mono sine tone from the ffmpeg program: OUTPUT's extension picks the format.
void MakeTone(const std::string& output, double seconds, int sampleRate = 44100,
              int frequency = 440);

// What ffprobe says of the first audio stream, by field: codec_name, sample_rate ...
std::map<std::string, std::string> Probe(const std::string& path);
double Seconds(const std::string& path);

// Settings files, locks and default outputs land in the test's own copy of the program.
class ProgramCopy : public ::testing::Test {
protected:
    ProgramCopy();
    // A failed test leaves no converter running.
    ~ProgramCopy() override;

    // pelkora --batch ARGS with no display, and HOME and the configuration folder in `home`;
    // `inChild` runs in the child just before it becomes pelkora.
    std::unique_ptr<QProcess> start(const std::vector<std::string>& args,
                                    std::function<void()> inChild = {}) const;
    Finished Batch(const std::vector<std::string>& args) const { return Finish(*start(args)); }
    // What the program is started with: no display, the test's own home.
    QProcessEnvironment environment() const;
    std::vector<pid_t> converterProcesses() const;

    QTemporaryDir root;
    std::string program = root.filePath("program").toStdString(),
                converter = program + "/data/conv", home = root.filePath("home").toStdString(),
                in = root.filePath("in").toStdString(), out = root.filePath("out").toStdString();
};

} // namespace cli
