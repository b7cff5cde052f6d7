// A small program the runner tests start instead of the converter.
//   test_child silent             exits 0 without output
//   test_child bytes N            writes N bytes of a known pattern to stdout, stderr mixed in
//   test_child args FILE ...      writes every following argument to FILE, each ended by NUL
//   test_child exit CODE          prints one line and exits with CODE
//   test_child slow               prints "first", waits 300 ms, prints "last"
//   test_child linger FILE        prints "bye" and exits while a grandchild keeps the output
//                                 open until FILE.release exists (at most 20 s), then makes
//                                 FILE.gone and exits
//   test_child term FILE          prints "ready" and sleeps; on SIGTERM makes FILE and exits 0
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

void Touch(const char* path) {
    const int fd = ::open(path, O_WRONLY | O_CREAT, 0600);
    if (fd >= 0)
        ::close(fd);
}

const char* termFile = nullptr;

void OnTerm(int) {
    Touch(termFile);
    _exit(0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 64;
    const std::string mode = argv[1];
    if (mode == "silent")
        return 0;
    if (mode == "bytes" && argc >= 3) {
        const long total = std::atol(argv[2]);
        std::string block;
        for (long i = 0; i < total; ++i)
            block.push_back(static_cast<char>('a' + i % 26));
        // Half through stdout, a marker through stderr, the rest through stdout.
        const long half = total / 2;
        std::fwrite(block.data(), 1, static_cast<size_t>(half), stdout);
        std::fflush(stdout);
        std::fwrite(block.data() + half, 1, static_cast<size_t>(total - half), stderr);
        std::fflush(stderr);
        return 0;
    }
    if (mode == "args" && argc >= 3) {
        FILE* f = std::fopen(argv[2], "wb");
        if (!f)
            return 65;
        for (int i = 3; i < argc; ++i)
            std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, f);
        std::fclose(f);
        return 0;
    }
    if (mode == "exit" && argc >= 3) {
        std::puts("conv: input.wav: the file is not a media file");
        return std::atoi(argv[2]);
    }
    if (mode == "slow") {
        std::fputs("first", stdout);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::fputs("last", stdout);
        return 0;
    }
    if (mode == "linger" && argc >= 3) {
        const std::string file = argv[2];
        std::fputs("bye", stdout);
        std::fflush(stdout);
        if (fork() == 0) {
            for (int i = 0; i < 2000 && !Exists(file + ".release"); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Touch((file + ".gone").c_str());
            _exit(0);
        }
        return 0;
    }
    if (mode == "term" && argc >= 3) {
        termFile = argv[2];
        std::signal(SIGTERM, OnTerm);
        std::fputs("ready", stdout);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::seconds(30));
        return 0;
    }
    return 64;
}
