#include "gui/services/reporting_shell.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

bool ReportingShell::openUrl(const QUrl& url) {
    if (shell_.openUrl(url))
        return true;
    QString text;
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        text = (QFileInfo(path).isDir() ? QStringLiteral("The folder could not be opened: ")
                                        : QStringLiteral("The page could not be opened: ")) +
               QDir::toNativeSeparators(path);
    } else {
        text = QStringLiteral("The page could not be opened: ") + url.toDisplayString();
    }
    boxes_.show(text, MsgIcon::Exclamation, applicationTitle());
    return false;
}

} // namespace platform
