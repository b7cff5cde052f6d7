#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

// How the add commands reach the file list without knowing its class.
struct FileListHooks {
    // Appends one entry; the path is in native bytes, exactly as found.
    std::function<void(const QByteArray& path)> addFileEntry;
    // Shows the hint box exactly when the list is empty.
    std::function<void()> updateDropHint;
    // Shows the hint box with the given caption, whatever the list holds.
    std::function<void(const QString& text)> showDropHint;
};
