// tag_probe [--repeat N] FILE...: the tags of each file as the name patterns see them, one
// field a line; with --repeat, each file is read N times and the mean time of a read is shown.
#include "core/naming/tag_reader.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    int first = 1;
    long repeat = 1;
    if (argc > 2 && std::string(argv[1]) == "--repeat") {
        repeat = std::strtol(argv[2], nullptr, 10);
        first = 3;
    }
    if (first >= argc || repeat < 1) {
        std::fprintf(stderr, "usage: tag_probe [--repeat N] FILE...\n");
        return 2;
    }
    for (int i = first; i < argc; ++i) {
        const auto start = std::chrono::steady_clock::now();
        std::optional<TrackTags> tags;
        for (long n = 0; n < repeat; ++n)
            tags = ReadTrackTags(argv[i]);
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        std::printf("%s\n", argv[i]);
        if (repeat > 1)
            std::printf("  %.4f ms a read\n", spent.count() / static_cast<double>(repeat));
        if (!tags) {
            std::printf("  no tags\n");
            continue;
        }
        const std::pair<const char*, const std::string*> fields[] = {
            {"artist", &tags->artist}, {"albumartist", &tags->albumArtist},
            {"album", &tags->album},   {"title", &tags->title},
            {"track", &tags->track},   {"disc", &tags->disc},
            {"date", &tags->date},     {"genre", &tags->genre}};
        for (const auto& [name, value] : fields)
            std::printf("  %s: %s\n", name, value->c_str());
    }
    return 0;
}
