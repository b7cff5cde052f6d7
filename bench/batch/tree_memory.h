#pragma once

#include <atomic>
#include <thread>

// Samples, from a thread of its own, the resident memory of this process and of its direct
// children (the converters a run starts), and keeps the peak of their sum. Shared library pages
// count once per process, as RSS counts them.
class TreeMemory final {
public:
    struct Peak {
        long totalKb = 0;     // this process and its children at the same moment
        long childrenKb = 0;  // the children alone, at their own peak
        int mostChildren = 0; // children alive at the same moment
    };

    TreeMemory() = default;
    ~TreeMemory();
    TreeMemory(const TreeMemory&) = delete;
    TreeMemory& operator=(const TreeMemory&) = delete;

    void start();
    Peak stop();

private:
    void sample();

    std::thread thread_;
    std::atomic<bool> running_{false};
    Peak peak_;
};
