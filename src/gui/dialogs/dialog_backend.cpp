#include "gui/dialogs/dialog_backend.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace dialogs {
namespace {

class QtDialogs final : public Backend {
public:
    std::optional<QString> chooseFile(QWidget* owner, const FileRequest& request) override {
        QFileDialog dialog(owner, request.title, request.folder);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // The descriptions already name their patterns; show them as they are written.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (!request.nameFilters.isEmpty()) {
            dialog.setNameFilters(request.nameFilters);
            dialog.selectNameFilter(request.selectedFilter);
        }
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty() || chosen.front().isEmpty())
            return std::nullopt;
        return chosen.front();
    }

    std::optional<QStringList> chooseFiles(QWidget* owner, const FileRequest& request) override {
        QFileDialog dialog(owner, request.title, request.folder);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (!request.nameFilters.isEmpty()) {
            dialog.setNameFilters(request.nameFilters);
            dialog.selectNameFilter(request.selectedFilter);
        }
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        QStringList chosen = dialog.selectedFiles();
        chosen.removeAll(QString());
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }

    std::optional<QString> chooseFolder(QWidget* owner, const QString& title,
                                        const QString& startFolder) override {
        const QString folder = QFileDialog::getExistingDirectory(owner, title, startFolder);
        if (folder.isEmpty())
            return std::nullopt;
        return folder;
    }

    std::optional<QColor> chooseColor(QWidget* owner, const QColor& initial,
                                      bool /*fullOpen*/) override {
        // Qt's colour dialog always shows its custom part; the slots start black each time.
        for (int i = 0; i < 16; ++i)
            QColorDialog::setCustomColor(i, Qt::black);
        const QColor chosen = QColorDialog::getColor(initial, owner);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    }

    std::optional<QFont> chooseFont(QWidget* owner, const QFont& initial) override {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, owner);
        if (!ok)
            return std::nullopt;
        return chosen;
    }

    bool choosePrinter(QWidget* owner) override {
        QPrinter printer;
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        return dialog.exec() == QDialog::Accepted;
    }

    void showPrinterProperties(QWidget* owner) override {
        QPrinter printer;
        QPageSetupDialog dialog(&printer, owner);
        dialog.exec();
    }
};

} // namespace

std::unique_ptr<Backend> CreateDesktopDialogs() {
    return std::make_unique<QtDialogs>();
}

} // namespace dialogs
