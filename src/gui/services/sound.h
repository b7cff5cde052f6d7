#pragma once

#include <QString>

#include <functional>

namespace platform {

// Plays a sound file once, to its end, and then calls `done` from the event loop. Where no
// audio device exists (or the file cannot be played) `done` follows at once.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void playToEnd(const QString& path, std::function<void()> done) = 0;
};

} // namespace platform
