#include "tree_memory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dirent.h>
#include <unistd.h>

namespace {

constexpr auto kInterval = std::chrono::milliseconds(5);

long ResidentKb(const std::string& pid) {
    std::FILE* f = std::fopen(("/proc/" + pid + "/statm").c_str(), "r");
    if (!f)
        return 0;
    long size = 0, resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return read == 2 ? resident * (::sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// The parent of a process, from the field after the command name (which may hold blanks).
long ParentOf(const char* pid) {
    std::FILE* f = std::fopen((std::string("/proc/") + pid + "/stat").c_str(), "r");
    if (!f)
        return -1;
    char buffer[512];
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
    std::fclose(f);
    buffer[n] = '\0';
    const char* close = std::strrchr(buffer, ')');
    long parent = -1;
    char state = 0;
    if (!close || std::sscanf(close + 1, " %c %ld", &state, &parent) != 2 || state == 'Z')
        return -1;
    return parent;
}

} // namespace

TreeMemory::~TreeMemory() {
    if (thread_.joinable())
        stop();
}

void TreeMemory::start() {
    peak_ = {};
    running_ = true;
    thread_ = std::thread([this] {
        while (running_) {
            sample();
            std::this_thread::sleep_for(kInterval);
        }
    });
}

TreeMemory::Peak TreeMemory::stop() {
    running_ = false;
    thread_.join();
    return peak_;
}

void TreeMemory::sample() {
    const long self = ::getpid();
    long children = 0;
    int count = 0;
    if (DIR* proc = ::opendir("/proc")) {
        while (const dirent* entry = ::readdir(proc)) {
            if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
                continue;
            if (ParentOf(entry->d_name) != self)
                continue;
            children += ResidentKb(entry->d_name);
            ++count;
        }
        ::closedir(proc);
    }
    const long total = ResidentKb("self") + children;
    peak_.totalKb = std::max(peak_.totalKb, total);
    peak_.childrenKb = std::max(peak_.childrenKb, children);
    peak_.mostChildren = std::max(peak_.mostChildren, count);
}
