#include "conv_test_support.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace convtest {

namespace fs = std::filesystem;

std::string ConvPath() {
    return PELKORA_PROGRAM_DIR "/data/conv";
}

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "conv-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    // Folders a test made read-only must become writable again to be removed.
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
        if (entry.is_directory(ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string RunResult::lastLine() const {
    std::string text = output;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const auto cut = text.find_last_of("\n\r");
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

Child::Child(const std::string& program, const std::vector<std::string>& args,
             const RunOptions& options)
    : timeoutSeconds_(options.timeoutSeconds) {
    std::string pattern = (fs::temp_directory_path() / "conv-out-XXXXXX").string();
    const int outFd = mkstemp(pattern.data());
    if (outFd < 0)
        std::abort();
    outputFile_ = pattern;

    std::vector<std::string> argStore;
    argStore.push_back(program);
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // The environment is built before fork, so the child only calls exec.
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto name = entry.substr(0, entry.find('='));
        const bool replaced = std::any_of(
            options.extraEnv.begin(), options.extraEnv.end(),
            [&](const std::string& extra) { return extra.substr(0, extra.find('=')) == name; });
        if (!replaced)
            envStore.push_back(entry);
    }
    envStore.insert(envStore.end(), options.extraEnv.begin(), options.extraEnv.end());
    std::vector<char*> envp;
    for (auto& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_ = fork();
    if (pid_ == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(outFd, STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        if (options.fileSizeLimit >= 0) {
            rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                         static_cast<rlim_t>(options.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outFd);
}

Child::~Child() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (!outputFile_.empty())
        unlink(outputFile_.c_str());
}

RunResult Child::wait() {
    RunResult result;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(timeoutSeconds_ * 1000));
    int status = 0;
    while (true) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.output = ReadFile(outputFile_);
    return result;
}

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const RunOptions& options) {
    Child child(program, args, options);
    return child.wait();
}

RunResult RunConv(const std::vector<std::string>& args, const RunOptions& options) {
    return Run(ConvPath(), args, options);
}

bool Ffmpeg(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    all.insert(all.end(), args.begin(), args.end());
    const RunResult result = Run("/usr/bin/ffmpeg", all);
    return result.exitCode == 0;
}

namespace {

struct Opened {
    AVFormatContext* format = nullptr;
    AVCodecContext* decoder = nullptr;
    AVStream* stream = nullptr;

    explicit Opened(const std::string& path) {
        if (avformat_open_input(&format, ("file:" + path).c_str(), nullptr, nullptr) < 0)
            return;
        if (avformat_find_stream_info(format, nullptr) < 0)
            return;
        const AVCodec* codec = nullptr;
        const int index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
        if (index < 0 || !codec)
            return;
        stream = format->streams[index];
        decoder = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoder, stream->codecpar);
        decoder->pkt_timebase = stream->time_base;
        if (avcodec_open2(decoder, codec, nullptr) < 0)
            avcodec_free_context(&decoder);
    }
    ~Opened() {
        avcodec_free_context(&decoder);
        avformat_close_input(&format);
    }
    Opened(const Opened&) = delete;
    Opened& operator=(const Opened&) = delete;

    // Calls `use` for every decoded frame.
    template <typename F> void decodeAll(F use) {
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        auto drain = [&] {
            while (avcodec_receive_frame(decoder, frame) >= 0) {
                use(frame);
                av_frame_unref(frame);
            }
        };
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream->index && avcodec_send_packet(decoder, packet) >= 0)
                drain();
            av_packet_unref(packet);
        }
        avcodec_send_packet(decoder, nullptr);
        drain();
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
};

void AddTags(std::map<std::string, std::string>& tags, const AVDictionary* dict) {
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(dict, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        std::string key = entry->key;
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        tags.emplace(key, entry->value);
    }
}

} // namespace

MediaInfo Probe(const std::string& path) {
    MediaInfo info;
    Opened opened(path);
    if (!opened.decoder)
        return info;
    info.container = opened.format->iformat->name;
    info.codec = avcodec_get_name(opened.stream->codecpar->codec_id);
    info.sampleRate = opened.stream->codecpar->sample_rate;
    info.channels = opened.stream->codecpar->ch_layout.nb_channels;
    info.bitRate = opened.stream->codecpar->bit_rate;
    AddTags(info.tags, opened.format->metadata);
    AddTags(info.tags, opened.stream->metadata);
    opened.decodeAll([&](const AVFrame* frame) { info.decodedSamples += frame->nb_samples; });
    info.ok = true;
    return info;
}

std::vector<std::int16_t> DecodeS16(const std::string& path) {
    std::vector<std::int16_t> samples;
    Opened opened(path);
    if (!opened.decoder)
        return samples;
    opened.decodeAll([&](AVFrame* frame) {
        SwrContext* swr = nullptr;
        swr_alloc_set_opts2(&swr, &frame->ch_layout, AV_SAMPLE_FMT_S16, frame->sample_rate,
                            &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                            frame->sample_rate, 0, nullptr);
        swr_init(swr);
        const std::size_t start = samples.size();
        const int channels = frame->ch_layout.nb_channels;
        samples.resize(start + static_cast<std::size_t>(frame->nb_samples * channels));
        uint8_t* out[] = {reinterpret_cast<uint8_t*>(samples.data() + start)};
        swr_convert(swr, out, frame->nb_samples, const_cast<const uint8_t**>(frame->extended_data),
                    frame->nb_samples);
        swr_free(&swr);
    });
    return samples;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace convtest
