#include "conv_test_support.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace convtest {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

ScratchDir::ScratchDir() : path_((fs::temp_directory_path() / "conv-test-XXXXXX").string()) {
    if (!mkdtemp(path_.data()))
        std::abort();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
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

Child::Child(std::vector<std::string> argv)
    : outputFile_((fs::temp_directory_path() / "conv-out-XXXXXX").string()) {
    const int outFd = mkstemp(outputFile_.data());
    std::vector<char*> pointers;
    for (auto& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (posix_spawn(&pid_, pointers[0], &actions, nullptr, pointers.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(outFd);
}

Child::~Child() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(outputFile_.c_str());
}

RunResult Child::wait(int deadlineSeconds) {
    const RunResult result = Reap(pid_, outputFile_, deadlineSeconds);
    pid_ = -1;
    return result;
}

RunResult Reap(int pid, const std::string& outputFile, int deadlineSeconds) {
    RunResult result;
    int status = 0;
    struct rusage usage = {};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(deadlineSeconds);
    pid_t got = 0;
    while (pid > 0 && (got = wait4(pid, &status, WNOHANG, &usage)) == 0) {
        if (!result.timedOut && std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (got > 0 && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (got > 0 && WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.peakKb = usage.ru_maxrss;
    result.output = ReadFile(outputFile);
    return result;
}

void Child::freeze() {
    int status = 0;
    if (pid_ > 0 && kill(pid_, SIGSTOP) == 0)
        waitpid(pid_, &status, WUNTRACED);
}

RunResult RunConv(const std::vector<std::string>& args, long long fileSizeLimit,
                  int deadlineSeconds) {
    std::vector<std::string> all = {kConv};
    if (fileSizeLimit >= 0)
        all = {"/usr/bin/prlimit", "--fsize=" + std::to_string(fileSizeLimit), kConv};
    all.insert(all.end(), args.begin(), args.end());
    return Child(all).wait(deadlineSeconds);
}

bool Ffmpeg(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"/usr/bin/ffmpeg", "-nostdin", "-hide_banner",
                                    "-loglevel",       "error",    "-y"};
    all.insert(all.end(), args.begin(), args.end());
    return Child(all).wait().exitCode == 0;
}

const ScratchDir& Shared() {
    static const ScratchDir dir;
    return dir;
}

std::string Made(const std::string& name, const std::string& source,
                 const std::vector<std::string>& args) {
    const std::string path = Shared().file(name);
    std::vector<std::string> all = {"-f", "lavfi", "-i", source};
    all.insert(all.end(), args.begin(), args.end());
    if (std::find(args.begin(), args.end(), "-ac") == args.end())
        all.insert(all.end(), {"-ac", "2"});
    all.push_back(path);
    if (!fs::exists(path) && !Ffmpeg(all))
        ADD_FAILURE() << "ffmpeg could not make " << name;
    return path;
}

std::string PartWithOutput(const ScratchDir& folder, int deadlineSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(deadlineSeconds);
    do {
        for (const std::string& name : folder.entries()) {
            struct stat info = {};
            if (name.ends_with(".part") && stat(folder.file(name).c_str(), &info) == 0 &&
                info.st_size > 0)
                return folder.file(name);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < deadline);
    return "";
}

MediaInfo Probe(const std::string& path) {
    MediaInfo info;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, ("file:" + path).c_str(), nullptr, nullptr) < 0)
        return info;
    const auto take = [&](const AVDictionary* tags) {
        const AVDictionaryEntry* e = nullptr;
        while ((e = av_dict_get(tags, "", e, AV_DICT_IGNORE_SUFFIX))) {
            info.tags.emplace(Lower(e->key), e->value);
        }
    };
    const auto tag = [](const AVStream* s, const char* key) -> std::string {
        const AVDictionaryEntry* e = av_dict_get(s->metadata, key, nullptr, 0);
        return e ? e->value : "";
    };
    const AVCodec* codec = nullptr;
    const int index = avformat_find_stream_info(format, nullptr) < 0
                          ? -1
                          : av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    AVCodecContext* decoder = index >= 0 ? avcodec_alloc_context3(codec) : nullptr;
    if (decoder) {
        const AVStream* stream = format->streams[index];
        avcodec_parameters_to_context(decoder, stream->codecpar);
        decoder->pkt_timebase = stream->time_base;
        info.ok = avcodec_open2(decoder, codec, nullptr) >= 0;
        info.codec = avcodec_get_name(stream->codecpar->codec_id);
        info.sampleRate = stream->codecpar->sample_rate;
        info.channels = stream->codecpar->ch_layout.nb_channels;
    }
    take(format->metadata);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* s = format->streams[i];
        const AVPacket& p = s->attached_pic;
        if (s->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            take(s->metadata);
        else if (s->disposition & AV_DISPOSITION_ATTACHED_PIC)
            info.pictures.push_back(std::string(avcodec_get_name(s->codecpar->codec_id)) + " " +
                                    tag(s, "comment") + "|" + tag(s, "title") + "|" +
                                    std::string(reinterpret_cast<const char*>(p.data),
                                                static_cast<std::size_t>(p.size)));
        else if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            ++info.otherVideo;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&] {
        while (avcodec_receive_frame(decoder, frame) >= 0) {
            info.decodedSamples += frame->nb_samples;
            info.decodedSeconds += static_cast<double>(frame->nb_samples) / frame->sample_rate;
            if (frame->format == AV_SAMPLE_FMT_S16) {
                const auto* begin = reinterpret_cast<const std::int16_t*>(frame->data[0]);
                info.samples.insert(info.samples.end(), begin,
                                    begin + frame->nb_samples * frame->ch_layout.nb_channels);
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
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

FfprobeTags ReadTagsWithFfprobe(const std::string& path) {
    const RunResult r = Child({"/usr/bin/ffprobe", "-v", "error", "-show_entries",
                               "format_tags:stream_tags", "-of", "default=nw=1", "file:" + path})
                            .wait();
    FfprobeTags read;
    std::istringstream lines(r.output);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (line.starts_with("TAG:") && equals != std::string::npos)
            read.tags.emplace(Lower(line.substr(4, equals - 4)), line.substr(equals + 1));
        else
            read.complaints += line + "\n";
    }
    read.clean = r.exitCode == 0 && read.complaints.empty();
    return read;
}

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string Le32(std::size_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

std::string FlacWithBlocks(const std::string& flac,
                           const std::vector<std::pair<int, std::string>>& blocks) {
    std::vector<std::pair<int, std::string>> kept;
    std::size_t at = 4;
    for (bool last = false; !last;) {
        const auto byte = [&](std::size_t i) -> std::size_t {
            return static_cast<unsigned char>(flac.at(at + i));
        };
        const std::size_t size = byte(1) << 16 | byte(2) << 8 | byte(3);
        const int kind = static_cast<int>(byte(0) & 0x7F);
        last = (byte(0) & 0x80) != 0;
        if (std::none_of(blocks.begin(), blocks.end(), [&](auto& b) { return b.first == kind; }))
            kept.emplace_back(kind, flac.substr(at + 4, size));
        at += 4 + size;
    }
    kept.insert(kept.end(), blocks.begin(), blocks.end());
    std::string out = "fLaC";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        out += static_cast<char>(kept[i].first | (i + 1 == kept.size() ? 0x80 : 0));
        out += Be32(static_cast<std::uint32_t>(kept[i].second.size())).substr(1) + kept[i].second;
    }
    return out + flac.substr(at);
}

std::string FlacPicture(const std::string& mime, const std::string& caption, std::uint32_t side,
                        std::uint32_t depth, const std::string& image) {
    return Be32(3) + Be32(static_cast<std::uint32_t>(mime.size())) + mime +
           Be32(static_cast<std::uint32_t>(caption.size())) + caption + Be32(side) + Be32(side) +
           Be32(depth) + Be32(0) + Be32(static_cast<std::uint32_t>(image.size())) + image;
}

namespace {

std::string Synchsafe(std::uint32_t v) {
    return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
            static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

} // namespace

std::string Id3Frame(const std::string& id, const std::string& body, std::uint16_t flags) {
    return id + Synchsafe(static_cast<std::uint32_t>(body.size())) + static_cast<char>(flags >> 8) +
           static_cast<char>(flags & 0xFF) + body;
}

std::string Id3Tag(const std::string& frames, std::uint32_t declared) {
    return std::string("ID3\x04\x00\x00", 6) + Synchsafe(declared) + frames;
}

std::string Id3Tag(const std::string& frames) {
    return Id3Tag(frames, static_cast<std::uint32_t>(frames.size()));
}

} // namespace convtest
