#pragma once

#include "app/services/message_box.h"
#include "gui/services/shell.h"
#include "gui/services/sound.h"

#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <vector>

// Stand-ins for the platform services, passed in where the real ones would be.

class FakeMessageBoxes final : public platform::MessageBoxes {
public:
    struct Shown {
        QString text;
        platform::MsgIcon icon;
        QString title;
    };

    void show(const QString& text, platform::MsgIcon icon, const QString& title) override {
        shown.push_back({text, icon, title});
    }
    // Answers from `answers` in turn, No once they run out; `whileAsked` runs while the
    // question is open, as the event loop would go on under a real box.
    bool ask(const QString& text, const QString& title) override {
        asked.push_back({text, platform::MsgIcon::Question, title});
        if (whileAsked)
            whileAsked();
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return yes;
    }

    std::vector<Shown> shown;
    std::vector<Shown> asked;
    std::vector<bool> answers;
    std::function<void()> whileAsked;
};

class FakeShell final : public platform::Shell {
public:
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<QUrl> opened;
};

// Plays nothing; the end of the sound follows from the event loop.
class FakeSound final : public platform::Sound {
public:
    void playToEnd(const QString& path, std::function<void()> done) override {
        played.push_back(path);
        QTimer::singleShot(0, std::move(done));
    }
    std::vector<QString> played;
};
