#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "filelist/folder_search.h"
#include "filelist/temp_tree.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Search(const fs::path& folder) {
    std::vector<std::string> found;
    SearchFolder(folder, [&found](const std::string& p) { found.push_back(p); });
    return found;
}

// Names of a folder's entries as the system lists them.
std::vector<std::string> Listed(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().native());
    return names;
}

bool Contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

} // namespace

TEST(FolderSearch, OwnFilesFirstThenEachSubFolderDepthFirst) {
    TempTree t;
    t.file("r1.mp3");
    t.file("r2.txt");
    t.file("A/a1.wav");
    t.file("A/X/x1.ogg");
    t.file("B/b1.flac");

    const auto found = Search(t.root());
    const auto names = Listed(t.root());
    std::vector<std::string> expected;
    for (const auto& name : names)
        if (name[0] == 'r')
            expected.push_back(t.path(name));
    const bool aFirst =
        std::find(names.begin(), names.end(), "A") < std::find(names.begin(), names.end(), "B");
    const std::vector<std::string> fromA = {t.path("A/a1.wav"), t.path("A/X/x1.ogg")};
    const std::vector<std::string> fromB = {t.path("B/b1.flac")};
    for (const auto& part : aFirst ? std::vector{fromA, fromB} : std::vector{fromB, fromA})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(found, expected);
}

TEST(FolderSearch, OnlyTheFirst200SubFoldersAreSearchedButFilesAreUnlimited) {
    TempTree t;
    for (int i = 0; i < 201; ++i)
        t.file("d" + std::to_string(i) + "/f.mp3");
    for (int i = 0; i < 250; ++i)
        t.file("own" + std::to_string(i) + ".mp3");

    std::vector<std::string> folders;
    for (const auto& e : fs::directory_iterator(t.root()))
        if (e.is_directory())
            folders.push_back(e.path().native());
    ASSERT_EQ(folders.size(), 201u);

    const auto found = Search(t.root());
    EXPECT_EQ(found.size(), 250u + 200u);
    EXPECT_TRUE(Contains(found, folders[199] + "/f.mp3"));
    EXPECT_FALSE(Contains(found, folders[200] + "/f.mp3"));
}

TEST(FolderSearch, HiddenAndReadOnlyFoldersAndFilesAreSearched) {
    TempTree t;
    const auto hidden = t.file(".hidden/.secret.mp3");
    const auto readOnly = t.file("locked/in.wav");
    const auto odd = t.file("odd/name with \\ and : and trailing space ");
    const auto bytes = t.file("latin1/caf\xe9.mp3"); // not UTF-8: must come back byte for byte
    ASSERT_EQ(::chmod(t.path("locked").c_str(), 0555), 0);

    const auto found = Search(t.root());
    EXPECT_EQ(found.size(), 4u);
    for (const auto& p : {hidden, readOnly, odd, bytes})
        EXPECT_TRUE(Contains(found, p)) << p;
}

TEST(FolderSearch, LinksToFoldersAreNotFollowedButFilesBehindLinksAreAdded) {
    TempTree t;
    TempTree outside;
    const auto realFile = outside.file("elsewhere.mp3");
    t.file("sub/in.mp3");
    fs::create_directory_symlink(t.root(), t.root() / "sub" / "loop");
    fs::create_directory_symlink(outside.root(), t.root() / "out");
    fs::create_symlink(realFile, t.root() / "link.mp3");
    fs::create_symlink(t.root() / "gone.mp3", t.root() / "broken.mp3");
    ASSERT_EQ(::mkfifo(t.path("pipe.wav").c_str(), 0600), 0);

    const auto found = Search(t.root());
    std::vector<std::string> sorted = found;
    std::sort(sorted.begin(), sorted.end());
    // The link keeps its own path; the loop ends; pipes and broken links would only stall
    // or fail the converter.
    EXPECT_EQ(sorted, (std::vector<std::string>{t.path("link.mp3"), t.path("sub/in.mp3")}));
}

TEST(FolderSearch, MissingFoldersAndFilesAddNothing) {
    TempTree t;
    const auto file = t.file("plain.mp3");
    EXPECT_TRUE(Search(t.path("missing")).empty());
    EXPECT_TRUE(Search(file).empty());
    EXPECT_TRUE(Search(fs::path()).empty());
}

TEST(FolderSearch, UnreadableFolderIsSkippedAndTheSearchGoesOn) {
    TempTree t;
    const auto before = t.file("plain.mp3");
    t.file("closed/never.mp3");
    const auto after = t.file("zz/after.mp3");
    ASSERT_EQ(::chmod(t.root().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(t.path("closed").c_str(), 0), 0);

    // Permissions do not bind root, so the search runs in a child as an ordinary user.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        if (::access(t.path("closed").c_str(), R_OK) == 0)
            ::_exit(3);
        const auto found = Search(t.root());
        const bool ok = found.size() == 2 && Contains(found, before) && Contains(found, after);
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: wrong result, 2: cannot drop rights, 3: readable";
}

TEST(FolderSearch, KeepResponsiveRunsForEveryEntryAndCanStopTheSearch) {
    TempTree t;
    for (int i = 0; i < 5; ++i)
        t.file("d/" + std::to_string(i));
    for (int i = 0; i < 5; ++i)
        t.file(std::to_string(i));

    int calls = 0;
    std::vector<std::string> found;
    auto collect = [&found](const std::string& p) { found.push_back(p); };
    EXPECT_TRUE(SearchFolder(t.root(), collect, [&calls] { return ++calls, true; }));
    EXPECT_EQ(calls, 11); // ten files and one folder
    EXPECT_EQ(found.size(), 10u);

    found.clear();
    calls = 0;
    EXPECT_FALSE(SearchFolder(t.root(), collect, [&calls] { return ++calls < 3; }));
    EXPECT_EQ(calls, 3);
    EXPECT_LE(found.size(), 3u);
}
