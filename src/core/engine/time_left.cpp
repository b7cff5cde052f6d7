#include "core/engine/time_left.h"

#include <algorithm>

void TimeLeft::add(const std::string& key, std::optional<double> seconds, std::uint64_t bytes) {
    File& file = files_[key];
    file = File{};
    if (seconds && *seconds > 0)
        file.seconds = seconds;
    file.bytes = bytes;
}

void TimeLeft::setLength(const std::string& key, double seconds) {
    const auto found = files_.find(key);
    if (found != files_.end() && seconds > 0)
        found->second.seconds = seconds;
}

void TimeLeft::setProgress(const std::string& key, double fraction) {
    const auto found = files_.find(key);
    if (found != files_.end() && !found->second.ended)
        found->second.fraction = std::clamp(fraction, 0.0, 1.0);
}

void TimeLeft::finish(const std::string& key, bool converted) {
    const auto found = files_.find(key);
    if (found == files_.end())
        return;
    if (converted)
        found->second.fraction = 1.0;
    found->second.ended = true;
    anyEnded_ = true;
}

void TimeLeft::remove(const std::string& key) {
    files_.erase(key);
}

std::optional<double> TimeLeft::lengthOf(const File& file, double secondsPerByte) const {
    if (file.seconds)
        return file.seconds;
    if (secondsPerByte > 0 && file.bytes > 0)
        return secondsPerByte * static_cast<double>(file.bytes);
    return std::nullopt;
}

std::optional<double> TimeLeft::secondsLeft(double now) const {
    const double elapsed = now - startedAt_;
    if (elapsed <= 0 || (!anyEnded_ && elapsed < kWarmUpSeconds))
        return std::nullopt;
    double knownSeconds = 0;
    double knownBytes = 0;
    for (const auto& [key, file] : files_)
        if (file.seconds && file.bytes > 0) {
            knownSeconds += *file.seconds;
            knownBytes += static_cast<double>(file.bytes);
        }
    const double secondsPerByte = knownBytes > 0 ? knownSeconds / knownBytes : 0.0;
    double done = 0;
    double left = 0;
    for (const auto& [key, file] : files_) {
        const std::optional<double> length = lengthOf(file, secondsPerByte);
        // A file of unknown length and size cannot be weighed: it counts for nothing.
        if (!length)
            continue;
        done += file.fraction * *length;
        if (!file.ended)
            left += (1.0 - file.fraction) * *length;
    }
    if (done <= 0)
        return std::nullopt;
    return left * elapsed / done;
}
