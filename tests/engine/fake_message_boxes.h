#pragma once

#include "platform/message_box.h"

#include <QStringList>

// Records message boxes instead of showing them; installed for the lifetime of the object.
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
