#include "gui/services/reporting_shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

bool ReportingShell::openUrl(const QUrl& url) {
    if (shell_.openUrl(url))
        return true;
    QString text;
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        text = (QFileInfo(path).isDir()
                    ? QCoreApplication::translate("ReportingShell",
                                                  "The folder could not be opened: %1")
                    : QCoreApplication::translate("ReportingShell",
                                                  "The page could not be opened: %1"))
                   .arg(QDir::toNativeSeparators(path));
    } else {
        text = QCoreApplication::translate("ReportingShell", "The page could not be opened: %1")
                   .arg(url.toDisplayString());
    }
    boxes_.show(text, MsgIcon::Exclamation, applicationTitle());
    return false;
}

} // namespace platform
