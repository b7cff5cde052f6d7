#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <stdlib.h>

// A scratch folder that is removed with everything in it, also after permission changes.
class TempTree {
public:
    TempTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pelkora-search-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            root_ = pattern;
    }
    ~TempTree() {
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_symlink())
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
        }
        std::filesystem::remove_all(root_, ec);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    [[nodiscard]] const std::filesystem::path& root() const { return root_; }
    [[nodiscard]] std::string path(const std::string& relative) const {
        return (root_ / relative).native();
    }
    // Creates an empty file, making its folders as needed; returns its full path.
    std::string file(const std::string& relative) const {
        const auto p = root_ / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p).put('x');
        return p.native();
    }
    std::string folder(const std::string& relative) const {
        const auto p = root_ / relative;
        std::filesystem::create_directories(p);
        return p.native();
    }

private:
    std::filesystem::path root_;
};
