#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>
#include <string_view>

// What the program says about itself, in one place: the addresses behind Help, the home-page
// link and the feedback link, and the lines of the About box.
namespace product {

// Reserved example domains: nothing is published under them yet.
inline constexpr std::string_view kHomePage = "https://pelkora.example.org/";
inline constexpr std::string_view kSupportMail = "support@pelkora.example.org";

// The tutorial ships beside the program, relative to its folder, so Help works offline.
inline constexpr std::string_view kTutorialPage = "help/tutorial.html";

inline constexpr std::string_view kAboutOwner =
    QT_TRANSLATE_NOOP("About", "Pelkora, the batch audio converter, by the Pelkora team");
inline constexpr std::string_view kAboutRights =
    QT_TRANSLATE_NOOP("About", "Copyright (C) 2026 the Pelkora team. All rights reserved.");

// The address the feedback link opens: a new message to the support address.
[[nodiscard]] inline std::string FeedbackLink() {
    return std::string("mailto:").append(kSupportMail);
}

// The three About lines joined by CR LF: owner, rights, web site.
[[nodiscard]] inline std::string AboutText() {
    return std::string(kAboutOwner)
        .append("\r\n")
        .append(kAboutRights)
        .append("\r\n")
        .append(kHomePage);
}

// The same in the user's language.
[[nodiscard]] inline QString ShownAboutText() {
    return QCoreApplication::translate("About", kAboutOwner.data()) + QStringLiteral("\r\n") +
           QCoreApplication::translate("About", kAboutRights.data()) + QStringLiteral("\r\n") +
           QString::fromUtf8(kHomePage.data(), static_cast<qsizetype>(kHomePage.size()));
}

} // namespace product
