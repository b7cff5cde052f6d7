#pragma once

#include <cstdint>

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace dialogs {
class Backend;
}

// The system's standard dialogs behind plain properties: set the inputs, call a Show
// operation, read the outputs. Every Show operation is modal, returns true when the user
// confirmed and false when the user cancelled, and changes the properties only on true.
// The dialogs themselves are the backend's, passed in.
class CCommonDialogs {
public:
    explicit CCommonDialogs(dialogs::Backend& backend) : backend_(backend) {}

    // The owner of every dialog; a missing owner gives ownerless dialogs.
    void Init(QWidget* OwnerForm);

    [[nodiscard]] bool FontUnderline() const { return fontUnderline_; }
    void setFontUnderline(bool value) { fontUnderline_ = value; }
    [[nodiscard]] bool FontItalic() const { return fontItalic_; }
    void setFontItalic(bool value) { fontItalic_ = value; }
    [[nodiscard]] bool FontBold() const { return fontBold_; }
    void setFontBold(bool value) { fontBold_ = value; }
    [[nodiscard]] std::int16_t FontSize() const { return fontSize_; } // points
    void setFontSize(std::int16_t value) { fontSize_ = value; }
    [[nodiscard]] QString FontName() const { return fontName_; }
    void setFontName(const QString& value) { fontName_ = value; }
    // Red in the low byte, then green, then blue.
    [[nodiscard]] std::uint32_t Color() const { return color_; }
    void setColor(std::uint32_t value) { color_ = value; }
    [[nodiscard]] QString DefExt() const { return defExt_; }
    void setDefExt(const QString& value) { defExt_ = value; }

    // These four readers stop at the first NUL: callers may hand in padded buffers.
    [[nodiscard]] QString Title() const;
    void setTitle(const QString& value) { title_ = value; }
    [[nodiscard]] QString Path() const;
    void setPath(const QString& value) { path_ = value; }
    [[nodiscard]] QString FileTitle() const;
    void setFileTitle(const QString& value) { fileTitle_ = value; }
    [[nodiscard]] QString FileName() const;
    void setFileName(const QString& value) { fileName_ = value; }

    // "description|pattern|description|pattern..."
    [[nodiscard]] QString Filter() const { return filter_; }
    void setFilter(const QString& value) { filter_ = value; }

    bool ShowPrinter();
    // Path becomes the chosen folder; FileName and FileTitle become empty.
    bool ShowFolder();
    bool ShowColor(bool FullOpen);
    bool ShowFont();
    // Starts in Path, or in the working folder when Path is blank; only an existing file may
    // be chosen. Sets FileName (full path), FileTitle (name only) and Path (its folder).
    bool ShowOpen();
    // The same with several files at once: FileNames holds them all in the dialog's order,
    // FileName, FileTitle and Path tell the first.
    bool ShowOpenFiles();
    [[nodiscard]] QStringList FileNames() const { return fileNames_; }
    void ShowPrinterProperties();
    // Titled "Save"; starts in Path, or in the program folder when Path is blank or missing.
    bool ShowSave();

private:
    void TakeChosenFile(const QString& chosen);

    dialogs::Backend& backend_;
    QPointer<QWidget> owner_;
    QString fileTitle_;
    QString path_;
    QString filter_;
    QString fileName_;
    QStringList fileNames_;
    std::uint32_t color_ = 0;
    QString title_;
    QString defExt_;
    QString fontName_;
    std::int16_t fontSize_ = 0;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    bool fontUnderline_ = false;
};
