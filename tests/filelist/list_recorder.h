#pragma once

#include <string>
#include <vector>

#include <QByteArray>
#include <QString>

#include "filelist/list_hooks.h"

// Stands in for the file list: records every call the add commands make, in order.
struct ListRecorder {
    std::vector<QByteArray> entries;
    std::vector<std::string> calls; // "add", "update", "hint:<text>"

    FileListHooks hooks() {
        return {[this](const QByteArray& p) {
                    entries.push_back(p);
                    calls.push_back("add");
                },
                [this] { calls.push_back("update"); },
                [this](const QString& text) { calls.push_back("hint:" + text.toStdString()); }};
    }
};
