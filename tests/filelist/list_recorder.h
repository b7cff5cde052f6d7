#pragma once

#include <string>
#include <vector>

#include "filelist/list_hooks.h"

// Stands in for the file list: records the add commands' calls in order as "add <path>",
// "update" and "hint <text>".
struct ListRecorder {
    std::vector<std::string> calls;

    FileListHooks hooks() {
        return {[this](const QByteArray& p) { calls.push_back("add " + p.toStdString()); },
                [this] { calls.push_back("update"); },
                [this](const QString& text) { calls.push_back("hint " + text.toStdString()); }};
    }
};
