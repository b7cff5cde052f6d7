#pragma once

#include <QUrl>

namespace platform {

// Opens folders, web pages and mail links with the desktop's programs.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace platform
