#pragma once

#include <QUrl>

namespace platform {

// Opens folders, web pages and mail links with the desktop's programs. Tests replace it.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QUrl& url) = 0;
};

[[nodiscard]] Shell& shell();
// Replaces the service (nullptr restores the real one). The caller keeps ownership.
void setShell(Shell* replacement);

} // namespace platform
