#include "gui/files/add_file.h"

#include <utility>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "core/files/path_text.h"
#include "gui/dialogs/common_dialogs.h"
#include "gui/dialogs/dialog_backend.h"
#include "gui/dialogs/filter_list.h"

namespace {

QString OpenFilesTitle() {
    return QCoreApplication::translate("AddFile", "Open Files");
}

void AddAndUpdate(const FileListHooks& list, const QString& path) {
    if (!path.isEmpty() && list.addFileEntry)
        list.addFileEntry(QFile::encodeName(path), {});
    if (list.updateDropHint)
        list.updateDropHint();
}

} // namespace

AddFileCommand::AddFileCommand(CCommonDialogs& dialogs, FileListHooks list)
    : dialogs_(dialogs), list_(std::move(list)) {}

void AddFileCommand::run() {
    dialogs_.setFileName(QString());
    dialogs_.setTitle(OpenFilesTitle());
    dialogs_.setFilter(QCoreApplication::translate("AddFile", kAllSupportedFilter) + u'|' +
                       QCoreApplication::translate("AddFile", kAddFileFilter));
    if (!lastFolder_.isEmpty())
        dialogs_.setPath(lastFolder_);
    if (!dialogs_.ShowOpenFiles())
        return;
    const QString chosen = dialogs_.FileName();
    if (!chosen.isEmpty())
        lastFolder_ = QString::fromStdString(ParsePath(chosen.toStdString()));
    for (const QString& name : dialogs_.FileNames())
        if (!name.isEmpty() && list_.addFileEntry)
            list_.addFileEntry(QFile::encodeName(name), {});
    if (list_.updateDropHint)
        list_.updateDropHint();
}

QString OpenFileDialog(dialogs::Backend& dialogs, QWidget* owner, const QString& title,
                       QString& initialFolder, const QString& filter, std::uint32_t flags) {
    if (initialFolder.trimmed().isEmpty()) {
        initialFolder = QCoreApplication::applicationDirPath();
    } else {
        if (!initialFolder.endsWith(u'/'))
            initialFolder += u'/';
        if (!QFileInfo(initialFolder).isDir())
            initialFolder = QCoreApplication::applicationDirPath();
    }
    const NameFilters filters =
        ConvertFilter(filter.trimmed().isEmpty() ? QStringLiteral("*.*|*.*") : filter);
    dialogs::FileRequest request;
    request.title = title;
    request.folder = initialFolder;
    request.nameFilters = filters.filters;
    request.selectedFilter = filters.selected;
    request.mustExist = (flags & dialogs::kOfnFileMustExist) != 0;
    return dialogs.chooseFile(owner, request).value_or(QString());
}

void DropZoneClick(dialogs::Backend& dialogs, QWidget* owner, const FileListHooks& list) {
    QString folder;
    const QString chosen =
        OpenFileDialog(dialogs, owner, OpenFilesTitle(), folder, QStringLiteral("*.*|*.*"),
                       dialogs::kOfnLongNames | dialogs::kOfnNoChangeDir);
    if (chosen.isEmpty())
        return;
    AddAndUpdate(list, chosen);
}
