#include "gui/dialogs/common_dialogs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "gui/dialogs/dialog_backend.h"
#include "gui/dialogs/filter_list.h"

namespace {

QString UpToNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

bool IsBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

QColor FromColorRef(std::uint32_t value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::uint32_t ToColorRef(const QColor& color) {
    return std::uint32_t(color.red()) | std::uint32_t(color.green()) << 8 |
           std::uint32_t(color.blue()) << 16;
}

} // namespace

void CCommonDialogs::Init(QWidget* OwnerForm) {
    owner_ = OwnerForm;
}

QString CCommonDialogs::Title() const {
    return UpToNul(title_);
}
QString CCommonDialogs::Path() const {
    return UpToNul(path_);
}
QString CCommonDialogs::FileTitle() const {
    return UpToNul(fileTitle_);
}
QString CCommonDialogs::FileName() const {
    return UpToNul(fileName_);
}

void CCommonDialogs::TakeChosenFile(const QString& chosen) {
    fileName_ = UpToNul(chosen);
    fileTitle_ = QFileInfo(fileName_).fileName();
    const qsizetype slash = fileName_.lastIndexOf(u'/');
    // A file in the root keeps "/" as its folder rather than an empty one.
    path_ = slash == 0 ? QStringLiteral("/") : fileName_.left(std::max<qsizetype>(slash, 0));
}

bool CCommonDialogs::ShowPrinter() {
    return backend_.choosePrinter(owner_);
}

bool CCommonDialogs::ShowFolder() {
    const auto folder = backend_.chooseFolder(owner_, Title(), QString());
    if (!folder)
        return false;
    path_ = UpToNul(*folder);
    fileName_.clear();
    fileTitle_.clear();
    return true;
}

bool CCommonDialogs::ShowColor(bool FullOpen) {
    const auto chosen = backend_.chooseColor(owner_, FromColorRef(color_), FullOpen);
    if (!chosen)
        return false;
    color_ = ToColorRef(*chosen);
    return true;
}

bool CCommonDialogs::ShowFont() {
    QFont initial;
    if (!fontName_.isEmpty())
        initial.setFamily(fontName_);
    if (fontSize_ > 0)
        initial.setPointSize(fontSize_);
    initial.setBold(fontBold_);
    initial.setItalic(fontItalic_);
    initial.setUnderline(fontUnderline_);
    const auto chosen = backend_.chooseFont(owner_, initial);
    if (!chosen)
        return false;
    fontName_ = UpToNul(chosen->family());
    const double points = chosen->pointSizeF();
    fontSize_ = points > 0 ? std::int16_t(std::min<double>(
                                 std::trunc(points), std::numeric_limits<std::int16_t>::max()))
                           : std::int16_t(0);
    fontBold_ = chosen->bold();
    fontItalic_ = chosen->italic();
    // Qt's font dialog lets the user change underlining, so take it back too.
    fontUnderline_ = chosen->underline();
    return true;
}

namespace {

dialogs::FileRequest OpenRequest(const QString& title, const QString& path, const QString& filter) {
    const NameFilters filters = ConvertFilter(filter);
    dialogs::FileRequest request;
    request.title = title;
    request.folder = path;
    request.nameFilters = filters.filters;
    request.selectedFilter = filters.selected;
    request.mustExist = true;
    return request;
}

} // namespace

bool CCommonDialogs::ShowOpenFiles() {
    const auto chosen = backend_.chooseFiles(
        owner_, OpenRequest(Title(), IsBlank(Path()) ? QDir::currentPath() : Path(), filter_));
    if (!chosen || chosen->isEmpty())
        return false;
    fileNames_.clear();
    for (const QString& name : *chosen)
        fileNames_ << UpToNul(name);
    TakeChosenFile(chosen->front());
    return true;
}

bool CCommonDialogs::ShowOpen() {
    const NameFilters filters = ConvertFilter(filter_);
    dialogs::FileRequest request;
    request.title = Title();
    request.folder = IsBlank(Path()) ? QDir::currentPath() : Path();
    request.fileName = FileName();
    request.nameFilters = filters.filters;
    request.selectedFilter = filters.selected;
    request.defaultSuffix = DefExt();
    request.mustExist = true;
    const auto chosen = backend_.chooseFile(owner_, request);
    if (!chosen)
        return false;
    TakeChosenFile(*chosen);
    return true;
}

void CCommonDialogs::ShowPrinterProperties() {
    backend_.showPrinterProperties(owner_);
}

bool CCommonDialogs::ShowSave() {
    QString folder = Path();
    if (!IsBlank(folder) && !folder.endsWith(u'/'))
        folder += u'/';
    if (IsBlank(folder) || !QFileInfo(folder).isDir())
        folder = QCoreApplication::applicationDirPath();
    const NameFilters filters =
        ConvertFilter(IsBlank(filter_) ? QStringLiteral("*.*|*.*") : filter_);
    dialogs::FileRequest request;
    request.title = QCoreApplication::translate("CommonDialogs", "Save");
    request.folder = folder;
    request.nameFilters = filters.filters;
    request.selectedFilter = filters.selected;
    request.save = true;
    const auto chosen = backend_.chooseFile(owner_, request);
    if (!chosen)
        return false;
    TakeChosenFile(*chosen);
    return true;
}
