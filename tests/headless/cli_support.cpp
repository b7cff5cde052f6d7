#include "headless/cli_support.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace cli {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE((std::ofstream(path, std::ios::binary) << bytes).good()) << path;
}

Names Tree(const std::string& folder) {
    Names names;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        names.push_back(fs::relative(it->path(), folder).string() +
                        (it->is_directory() && !it->is_symlink() ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

Finished Finish(QProcess& process) {
    EXPECT_TRUE(process.waitForFinished(kDeadlineMs)) << "still running, or never started";
    process.kill();
    process.waitForFinished(kDeadlineMs);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

Finished Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return Finish(process);
}

void MakeTone(const std::string& output, double seconds, int sampleRate, int frequency) {
    const Finished done =
        Run("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                       QStringLiteral("sine=frequency=%1:sample_rate=%2:duration=%3")
                           .arg(frequency)
                           .arg(sampleRate)
                           .arg(seconds),
                       "-ac", "1", QString::fromStdString(output)});
    ASSERT_EQ(done.exitCode, 0) << "ffmpeg could not make " << output << ": " << done.err;
}

std::map<std::string, std::string> Probe(const std::string& path) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(
        Run("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                        "stream=codec_name,sample_rate,channels,bit_rate:format=duration", "-of",
                        "default=noprint_wrappers=1", QString::fromStdString(path)})
            .out);
    for (std::string line; std::getline(lines, line);)
        fields[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    return fields;
}

double Seconds(const std::string& path) {
    return std::atof(Probe(path)["duration"].c_str());
}

ProgramCopy::ProgramCopy() {
    for (const std::string& folder : {program + "/data", home, in})
        fs::create_directories(folder);
    fs::copy_file(PELKORA_PROGRAM_DIR "/pelkora", program + "/pelkora");
    fs::copy_file(PELKORA_PROGRAM_DIR "/data/conv", converter);
}

ProgramCopy::~ProgramCopy() {
    for (const pid_t pid : converterProcesses())
        ::kill(pid, SIGKILL);
}

QProcessEnvironment ProgramCopy::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_MUSIC_DIR"})
        env.remove(name);
    env.insert("HOME", QString::fromStdString(home));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home + "/.config"));
    env.insert("XDG_DATA_HOME", QString::fromStdString(home + "/.local/share"));
    env.insert("LC_ALL", "C.UTF-8");
    return env;
}

std::unique_ptr<QProcess> ProgramCopy::start(const std::vector<std::string>& args,
                                             std::function<void()> inChild) const {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    if (inChild)
        process->setChildProcessModifier(inChild);
    QStringList arguments{"--batch"};
    for (const std::string& a : args)
        arguments << QString::fromStdString(a);
    process->start(QString::fromStdString(program + "/pelkora"), arguments);
    return process;
}

std::vector<pid_t> ProgramCopy::converterProcesses() const {
    std::vector<pid_t> pids;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        std::error_code linkError;
        if (fs::read_symlink(entry.path() / "exe", linkError) == converter && !linkError)
            pids.push_back(static_cast<pid_t>(std::atoi(entry.path().filename().c_str())));
    }
    return pids;
}

} // namespace cli
