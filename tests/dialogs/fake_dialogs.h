#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <vector>

#include <QColor>
#include <QFont>
#include <QString>

#include "dialogs/dialog_backend.h"

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Answers dialogs from scripted replies and records how each was opened; a dialog without
// a scripted reply, or with a null text as reply, is cancelled. Installs itself for its
// lifetime.
class FakeDialogs final : public dialogs::Backend {
public:
    struct FolderCall {
        QWidget* owner;
        QString title;
        QString startFolder;
    };

    FakeDialogs() { dialogs::setBackend(this); }
    ~FakeDialogs() override { dialogs::setBackend(nullptr); }
    FakeDialogs(const FakeDialogs&) = delete;
    FakeDialogs& operator=(const FakeDialogs&) = delete;

    std::deque<QString> fileReplies;
    std::deque<QString> folderReplies;
    std::optional<QColor> colorReply;
    std::optional<QFont> fontReply;
    bool printerReply = false;

    std::vector<dialogs::FileRequest> fileRequests;
    std::vector<QWidget*> fileOwners;
    std::vector<FolderCall> folderCalls;
    QColor colorInitial;
    bool colorFullOpen = false;
    QFont fontInitial;
    int colorCalls = 0;
    int fontCalls = 0;
    int printerCalls = 0;
    int propertiesCalls = 0;
    QWidget* lastOwner = nullptr;

    std::optional<QString> chooseFile(QWidget* owner, const dialogs::FileRequest& r) override {
        fileRequests.push_back(r);
        fileOwners.push_back(owner);
        return next(fileReplies);
    }
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title,
                                        const QString& start) override {
        folderCalls.push_back({owner, title, start});
        return next(folderReplies);
    }
    std::optional<QColor> chooseColor(QWidget* owner, const QColor& initial,
                                      bool fullOpen) override {
        ++colorCalls;
        lastOwner = owner;
        colorInitial = initial;
        colorFullOpen = fullOpen;
        return colorReply;
    }
    std::optional<QFont> chooseFont(QWidget* owner, const QFont& initial) override {
        ++fontCalls;
        lastOwner = owner;
        fontInitial = initial;
        return fontReply;
    }
    bool choosePrinter(QWidget* owner) override {
        ++printerCalls;
        lastOwner = owner;
        return printerReply;
    }
    void showPrinterProperties(QWidget* owner) override {
        ++propertiesCalls;
        lastOwner = owner;
    }

private:
    static std::optional<QString> next(std::deque<QString>& replies) {
        if (replies.empty())
            return std::nullopt;
        const QString reply = replies.front();
        replies.pop_front();
        if (reply.isNull())
            return std::nullopt;
        return reply;
    }
};
