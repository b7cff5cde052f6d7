#pragma once

#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/sound.h"

#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <vector>

// Stand-ins for the platform services; each installs itself for its lifetime.

class FakeMessageBoxes final : public platform::MessageBoxes {
public:
    struct Shown {
        QString text;
        platform::MsgIcon icon;
        QString title;
    };

    FakeMessageBoxes() { platform::setMessageBoxes(this); }
    ~FakeMessageBoxes() override { platform::setMessageBoxes(nullptr); }

    void show(const QString& text, platform::MsgIcon icon, const QString& title) override {
        shown.push_back({text, icon, title});
    }

    std::vector<Shown> shown;
};

class FakeShell final : public platform::Shell {
public:
    FakeShell() { platform::setShell(this); }
    ~FakeShell() override { platform::setShell(nullptr); }
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<QUrl> opened;
};

// Plays nothing; the end of the sound follows from the event loop.
class FakeSound final : public platform::Sound {
public:
    FakeSound() { platform::setSound(this); }
    ~FakeSound() override { platform::setSound(nullptr); }
    void playToEnd(const QString& path, std::function<void()> done) override {
        played.push_back(path);
        QTimer::singleShot(0, std::move(done));
    }
    std::vector<QString> played;
};
