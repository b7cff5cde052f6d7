#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/files/folder_search.h"
#include "filelist/temp_tree.h"

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

namespace {

Paths Search(const fs::path& folder, bool sorted = false) {
    Paths found;
    SearchFolder(folder, [&found](const std::string& p) { found.push_back(p); });
    if (sorted)
        std::sort(found.begin(), found.end());
    return found;
}

// Full paths of a folder's entries in the order the system lists them.
Paths Listed(const fs::path& folder, bool folders) {
    Paths out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_directory() == folders)
            out.push_back(e.path().native());
    return out;
}

} // namespace

TEST(FolderSearch, OwnFilesFirstThenEachSubFolderDepthFirst) {
    TempTree t;
    t.file("r1.mp3");
    t.file("r2.txt");
    t.file("A/X/x1.ogg");
    t.file("B/b1.flac");
    Paths expected = Listed(t.root(), false);
    for (const auto& sub : Listed(t.root(), true))
        expected.push_back(sub == t.path("A") ? t.path("A/X/x1.ogg") : t.path("B/b1.flac"));
    EXPECT_EQ(Search(t.root()), expected);
}

TEST(FolderSearch, HiddenReadOnlyOddlyNamedAndLinkedFilesAreFoundLoopsAreNot) {
    TempTree t, outside;
    Paths wanted = {t.file(".hidden/.secret.mp3"), t.file("locked/in.wav"),
                    t.file("odd/a\\b: trailing space "), t.file("latin1/caf\xe9.mp3"),
                    t.path("link.mp3")};
    fs::create_symlink(outside.file("elsewhere.mp3"), wanted.back());
    fs::create_directory_symlink(t.root(), t.root() / "odd" / "loop");
    fs::create_directory_symlink(outside.root(), t.root() / "out");
    fs::create_symlink(t.path("gone.mp3"), t.root() / "broken.mp3");
    ASSERT_EQ(::mkfifo(t.path("pipe.wav").c_str(), 0600), 0); // would stall the converter
    fs::create_symlink("/dev/null", t.root() / "device.wav");
    // An earlier sync's record, in an output folder inside the searched one.
    for (const char* own : {"converted/.pelkora-sync.sqlite", "converted/.pelkora-sync.sqlite-wal"})
        t.file(own);
    wanted.push_back(t.file("converted/.pelkora-sync.sqlite.mp3"));
    ASSERT_EQ(::chmod(t.path("locked").c_str(), 0555), 0);

    const Paths found = Search(t.root(), true);
    ::chmod(t.path("locked").c_str(), 0755);
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(found, wanted);
}

TEST(FolderSearch, TheWindowsLimitOfSubFoldersIsCountedTheBatchModeHasNone) {
    TempTree t;
    for (int i = 0; i < 250; ++i)
        t.file("sub" + std::to_string(i) + "/deep/song.mp3");
    const struct {
        std::size_t limit;
        std::size_t found, overLimit;
    } cases[] = {{kMaxSearchedSubFolders, 200, 50}, {kEverySubFolder, 250, 0}, {249, 249, 1}};
    for (const auto& c : cases) {
        std::size_t found = 0;
        const auto count = [&found](const std::string&) { ++found; };
        const SearchOutcome outcome = SearchFolder(t.root(), count, {}, c.limit);
        EXPECT_EQ(found, c.found) << c.limit;
        EXPECT_EQ(outcome.overLimit, c.overLimit) << c.limit;
        EXPECT_EQ(outcome.unreadable, 0u);
    }
    EXPECT_EQ(LeftOutText({true, 50, 0}),
              "50 sub-folders were left out, with everything below them: only the first 200 "
              "sub-folders of any one folder are searched.");
    EXPECT_EQ(LeftOutText({true, 1, 2}),
              "1 sub-folder was left out, with everything below it: only the first 200 "
              "sub-folders of any one folder are searched.\n"
              "2 folders could not be read; their files are not in the list.");
    EXPECT_EQ(LeftOutText({true, 0, 0}), "");
}

TEST(FolderSearch, FoldersThatCannotBeListedAddNothingAndTheSearchGoesOn) {
    TempTree t;
    EXPECT_TRUE(Search(t.path("missing")).empty());
    EXPECT_TRUE(Search(t.file("plain.mp3")).empty());
    t.file("closed/never.mp3");
    t.file("zz/after.mp3");
    ::chmod(t.root().c_str(), 0755);
    ::chmod(t.path("closed").c_str(), 0);
    // Permissions do not bind root, so the search runs in a child as an ordinary user.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        Paths found;
        const SearchOutcome outcome =
            SearchFolder(t.root(), [&found](const std::string& p) { found.push_back(p); });
        std::sort(found.begin(), found.end());
        ::_exit(found == Paths{t.path("plain.mp3"), t.path("zz/after.mp3")} &&
                        outcome.unreadable == 1 && outcome.finished
                    ? 0
                    : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    ::chmod(t.path("closed").c_str(), 0755);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}
