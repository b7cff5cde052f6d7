#pragma once

#include <deque>
#include <ostream>
#include <vector>

#include "gui/dialogs/dialog_backend.h"

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Answers file and folder dialogs from `replies` in turn (a null text, or none left, is a
// cancel) and records how they were opened.
class FakeDialogs final : public dialogs::Backend {
public:
    std::deque<QString> replies;
    std::vector<dialogs::FileRequest> files;
    QWidget* owner = nullptr;

    std::optional<QString> chooseFile(QWidget* o, const dialogs::FileRequest& r) override {
        files.push_back(r);
        return next(o);
    }
    // One reply gives every file: their names one a line.
    std::optional<QStringList> chooseFiles(QWidget* o, const dialogs::FileRequest& r) override {
        files.push_back(r);
        const auto reply = next(o);
        if (!reply)
            return std::nullopt;
        return reply->split(u'\n');
    }
    std::optional<QString> chooseFolder(QWidget* o, const QString&, const QString&) override {
        return next(o);
    }
    // The program opens no colour, font or printer dialog.
    std::optional<QColor> chooseColor(QWidget*, const QColor&, bool) override { return {}; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    bool choosePrinter(QWidget*) override { return false; }
    void showPrinterProperties(QWidget*) override {}

private:
    std::optional<QString> next(QWidget* o) {
        owner = o;
        QString reply;
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        }
        return reply.isNull() ? std::nullopt : std::optional<QString>(reply);
    }
};
