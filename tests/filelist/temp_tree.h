#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <QTemporaryDir>

// A scratch folder; `file` makes an empty file with its folders and returns its full path.
struct TempTree {
    QTemporaryDir dir;
    TempTree() { dir.setAutoRemove(false); }
    // Qt cannot remove names that are not valid UTF-8.
    ~TempTree() {
        std::error_code ec;
        std::filesystem::remove_all(root(), ec);
    }
    std::filesystem::path root() const { return dir.path().toStdString(); }
    std::string path(const std::string& relative) const { return (root() / relative).native(); }
    std::string file(const std::string& relative) const {
        const auto p = root() / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream{p};
        return p.native();
    }
};
