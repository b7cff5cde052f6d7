#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

// How the add commands reach the file list without knowing its class.
struct FileListHooks {
    // Appends one entry; the path is in native bytes, exactly as found. `root` is the folder
    // a folder search started from, empty for a file added on its own.
    std::function<void(const QByteArray& path, const QByteArray& root)> addFileEntry;
    // Shows the hint box exactly when the list is empty.
    std::function<void()> updateDropHint;
    // Shows the hint box with the given caption, whatever the list holds.
    std::function<void(const QString& text)> showDropHint;
    // Says what a folder search left out (sub-folders past the limit, folders that could not
    // be read), after the files it found are in the list.
    std::function<void(const QString& text)> reportLeftOut;
};
