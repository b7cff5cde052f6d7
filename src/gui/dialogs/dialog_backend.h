#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace dialogs {

// Option bits of the open-file dialog, as callers pass them around; only their meaning is
// honoured (Qt never changes the working folder and has no read-only check box).
inline constexpr std::uint32_t kOfnHideReadOnly = 0x4;
inline constexpr std::uint32_t kOfnNoChangeDir = 0x8;
inline constexpr std::uint32_t kOfnFileMustExist = 0x1000;
inline constexpr std::uint32_t kOfnLongNames = 0x200000;

// Everything a file dialog is opened with.
struct FileRequest {
    QString title;
    QString folder;   // where the dialog starts
    QString fileName; // preset name, may be empty
    QStringList nameFilters;
    QString selectedFilter;
    QString defaultSuffix;
    bool save = false;
    bool mustExist = false; // only an existing file may be chosen
};

// The modal dialogs themselves, passed in where they are used; tests pass ones that never block.
// Every call returns nothing when the user cancelled.
class Backend {
public:
    virtual ~Backend() = default;
    virtual std::optional<QString> chooseFile(QWidget* owner, const FileRequest& request) = 0;
    // Several existing files at once, in the order the dialog gives them; without a dialog
    // of its own, a backend offers its one-file dialog.
    virtual std::optional<QStringList> chooseFiles(QWidget* owner, const FileRequest& request) {
        const auto chosen = chooseFile(owner, request);
        if (!chosen)
            return std::nullopt;
        return QStringList{*chosen};
    }
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title,
                                                const QString& startFolder) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* owner, const QColor& initial,
                                              bool fullOpen) = 0;
    virtual std::optional<QFont> chooseFont(QWidget* owner, const QFont& initial) = 0;
    // True when the user confirmed the printer dialog.
    virtual bool choosePrinter(QWidget* owner) = 0;
    virtual void showPrinterProperties(QWidget* owner) = 0;
};

// The desktop's own dialogs.
[[nodiscard]] std::unique_ptr<Backend> CreateDesktopDialogs();

} // namespace dialogs
