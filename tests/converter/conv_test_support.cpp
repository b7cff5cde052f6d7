#include "conv_test_support.h"

#include <algorithm>
#include <chrono>
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
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
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
    outputFile_ = pattern;

    // Everything is prepared before fork, so the child only calls exec.
    std::vector<std::string> argStore = {program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto named = [&](const std::string& extra) {
            return extra.substr(0, extra.find('=')) == entry.substr(0, entry.find('='));
        };
        if (std::none_of(options.extraEnv.begin(), options.extraEnv.end(), named))
            envStore.push_back(entry);
    }
    envStore.insert(envStore.end(), options.extraEnv.begin(), options.extraEnv.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStore)
        argv.push_back(a.data());
    for (auto& e : envStore)
        envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                       static_cast<rlim_t>(options.fileSizeLimit)};

    pid_ = fork();
    if (pid_ == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(outFd, STDERR_FILENO);
        dup2(devNull, STDIN_FILENO);
        if (options.fileSizeLimit >= 0)
            setrlimit(RLIMIT_FSIZE, &limit);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(devNull);
    close(outFd);
}

Child::~Child() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(outputFile_.c_str());
}

RunResult Child::wait() {
    RunResult result;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(timeoutSeconds_ * 1000));
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) != pid_) {
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

RunResult RunConv(const std::vector<std::string>& args, const RunOptions& options) {
    return Child(ConvPath(), args, options).wait();
}

bool Ffmpeg(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    all.insert(all.end(), args.begin(), args.end());
    return Child("/usr/bin/ffmpeg", all).wait().exitCode == 0;
}

MediaInfo Probe(const std::string& path, bool keepSamples) {
    MediaInfo info;
    AVFormatContext* format = nullptr;
    AVCodecContext* decoder = nullptr;
    const AVCodec* codec = nullptr;
    int index = -1;
    if (avformat_open_input(&format, ("file:" + path).c_str(), nullptr, nullptr) >= 0 &&
        avformat_find_stream_info(format, nullptr) >= 0 &&
        (index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0)) >= 0) {
        const AVStream* stream = format->streams[index];
        decoder = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoder, stream->codecpar);
        decoder->pkt_timebase = stream->time_base;
        info.ok = avcodec_open2(decoder, codec, nullptr) >= 0;
        info.codec = avcodec_get_name(stream->codecpar->codec_id);
        info.sampleRate = stream->codecpar->sample_rate;
        info.channels = stream->codecpar->ch_layout.nb_channels;
        info.bitRate = stream->codecpar->bit_rate;
        for (const AVDictionary* dict : {format->metadata, stream->metadata}) {
            const AVDictionaryEntry* e = nullptr;
            while ((e = av_dict_get(dict, "", e, AV_DICT_IGNORE_SUFFIX))) {
                std::string key = e->key;
                std::transform(key.begin(), key.end(), key.begin(), ::tolower);
                info.tags.emplace(key, e->value);
            }
        }
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&] {
        while (avcodec_receive_frame(decoder, frame) >= 0) {
            info.decodedSamples += frame->nb_samples;
            if (keepSamples) {
                const std::size_t start = info.samples.size();
                info.samples.resize(start + static_cast<std::size_t>(frame->nb_samples *
                                                                     frame->ch_layout.nb_channels));
                SwrContext* swr = nullptr;
                swr_alloc_set_opts2(&swr, &frame->ch_layout, AV_SAMPLE_FMT_S16, frame->sample_rate,
                                    &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                                    frame->sample_rate, 0, nullptr);
                uint8_t* out[] = {reinterpret_cast<uint8_t*>(info.samples.data() + start)};
                if (swr_init(swr) >= 0)
                    swr_convert(swr, out, frame->nb_samples,
                                const_cast<const uint8_t**>(frame->extended_data),
                                frame->nb_samples);
                swr_free(&swr);
            }
            av_frame_unref(frame);
        }
    };
    while (info.ok && av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == index && avcodec_send_packet(decoder, packet) >= 0)
            drain();
        av_packet_unref(packet);
    }
    if (info.ok && avcodec_send_packet(decoder, nullptr) >= 0)
        drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return info;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace convtest
