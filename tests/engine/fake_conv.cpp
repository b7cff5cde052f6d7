// Stands in for data/conv in batch tests: prints a duration header and two progress lines,
// writes the output file (the last argument) with the arguments it got, and exits 0.
// The input's name steers it: "slow" takes 300 ms, "damaged" ends with a warning (status 3),
// "broken" fails with the converter's error line (status 1). Like the real one, it refuses an
// output that is its own input; asked for -replaygain 1, it reports a loudness.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <sys/stat.h>

int main(int argc, char** argv) {
    std::string input;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "-i")
            input = argv[i + 1];
    const auto named = [&](const char* part) { return input.find(part) != std::string::npos; };
    if (input.empty())
        return 2;
    std::fputs("  Duration: 00:00:10.00, start: 0.000000, bitrate: 1411 kb/s\n"
               "size=       1kB time=5.00 bitrate= 1.0kbits/s\r",
               stderr);
    std::fflush(stderr);
    if (named("slow"))
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (named("broken")) {
        std::fprintf(stderr, "conv: %s: Invalid data found when processing input\n", input.c_str());
        return 1;
    }
    std::fputs("size=       2kB time=10.00 bitrate= 1.0kbits/s\n", stderr);
    struct stat in = {}, existing = {};
    if (::stat(input.c_str(), &in) == 0 && ::stat(argv[argc - 1], &existing) == 0 &&
        in.st_dev == existing.st_dev && in.st_ino == existing.st_ino) {
        std::fprintf(stderr, "conv: %s: the output would replace the input file itself\n",
                     argv[argc - 1]);
        return 1;
    }
    FILE* out = std::fopen(argv[argc - 1], "wb");
    if (!out)
        return 3;
    for (int i = 1; i < argc; ++i)
        std::fprintf(out, "%s\n", argv[i]);
    std::fclose(out);
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "-replaygain" && std::string(argv[i + 1]) == "1")
            std::fputs("loudness: -20.00 LUFS, peak 0.500000, blocks 500x10\n", stderr);
    if (named("damaged"))
        std::fprintf(stderr,
                     "conv: %s: warning: input ends at 0:05 of 0:10 (damaged or cut short)\n",
                     input.c_str());
    return named("damaged") ? 3 : 0;
}
