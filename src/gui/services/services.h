#pragma once

namespace dialogs {
class Backend;
}

namespace platform {

class MessageBoxes;
class Shell;
class Sound;

// The desktop services a face uses, handed to whatever needs one. The owner keeps them alive
// for as long as anything may use them.
struct Services {
    MessageBoxes& boxes;
    Shell& shell;
    Sound& sound;
    dialogs::Backend& dialogs;
};

} // namespace platform
