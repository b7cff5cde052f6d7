#include "common/platform_fakes.h"
#include "gui/services/reporting_shell.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <vector>

namespace {

// A desktop with no program for anything (no xdg-open, say).
class RefusingShell final : public platform::Shell {
public:
    bool openUrl(const QUrl& url) override {
        asked.push_back(url);
        return false;
    }
    std::vector<QUrl> asked;
};

TEST(ReportingShell, WhatTheDesktopCouldNotOpenIsSaidInOneBox) {
    QTemporaryDir folder;
    const QString page = folder.filePath("tutorial.html");
    struct Case {
        QUrl url;
        QString text;
    };
    const std::vector<Case> cases = {
        {QUrl::fromLocalFile(folder.path()), "The folder could not be opened: " + folder.path()},
        {QUrl::fromLocalFile(page), "The page could not be opened: " + page},
        {QUrl("https://example.org/pelkora"),
         "The page could not be opened: https://example.org/pelkora"}};
    for (const Case& c : cases) {
        RefusingShell desktop;
        FakeMessageBoxes boxes;
        platform::ReportingShell shell(desktop, boxes);
        EXPECT_FALSE(shell.openUrl(c.url));
        ASSERT_EQ(desktop.asked.size(), 1u);
        EXPECT_EQ(desktop.asked[0], c.url);
        ASSERT_EQ(boxes.shown.size(), 1u) << c.url.toString().toStdString();
        EXPECT_EQ(boxes.shown[0].text, c.text);
        EXPECT_EQ(boxes.shown[0].icon, platform::MsgIcon::Exclamation);
        EXPECT_EQ(boxes.shown[0].title, "Pelkora");
    }
}

TEST(ReportingShell, WhatTheDesktopOpenedNeedsNoBox) {
    FakeShell desktop;
    FakeMessageBoxes boxes;
    platform::ReportingShell shell(desktop, boxes);
    EXPECT_TRUE(shell.openUrl(QUrl::fromLocalFile("/tmp")));
    EXPECT_EQ(desktop.opened.size(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
