#include "core/engine/output_plan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

namespace {

struct PlannedRun {
    std::set<std::string> used;
    OutputPlan plan(const std::string& input, const std::string& root = {}, bool keepTree = false,
                    int format = 0, const std::vector<std::string>& named = {}) {
        ConversionSettings s;
        s.formatIndex = static_cast<std::int16_t>(format);
        s.outputFolder = "/out";
        OutputPlan p = PlanOutput(
            input, root, keepTree, s,
            [this](const std::string& path) { return used.count(path) > 0; }, named);
        used.insert(p.path);
        return p;
    }
};

TEST(OutputPlanTest, KeptTreeFollowsTheAddedFolderAndKeepsAlbumsApart) {
    PlannedRun run;
    const OutputPlan one = run.plan("/music/Artist/One/01 Intro.flac", "/music", true);
    EXPECT_EQ(one.path, "/out/Artist/One/01 Intro.mp3");
    EXPECT_EQ(one.subFolders, (std::vector<std::string>{"/out/Artist", "/out/Artist/One"}));
    const OutputPlan two = run.plan("/music/Artist/Two/01 Intro.flac", "/music/", true);
    EXPECT_EQ(two.path, "/out/Artist/Two/01 Intro.mp3");
    EXPECT_FALSE(two.renamed);
    EXPECT_EQ(run.plan("/music/A/02 Song.flac", "/music", false).path, "/out/02 Song.mp3");
    // A root the input is not below, or a path that climbs out, stays flat.
    EXPECT_TRUE(run.plan("/musicx/a/04.flac", "/music", true).subFolders.empty());
    EXPECT_TRUE(run.plan("/music/../etc/05.flac", "/music", true).subFolders.empty());
}

TEST(OutputPlanTest, APatternsNamePlacesTheOutputAndNeverLeavesTheFolder) {
    PlannedRun run;
    const std::vector<std::string> named{"The Testers", "First Light", "02 - Morning Song"};
    const OutputPlan one = run.plan("/music/x/a.flac", "/music", true, 0, named);
    EXPECT_EQ(one.path, "/out/The Testers/First Light/02 - Morning Song.mp3");
    EXPECT_EQ(one.subFolders,
              (std::vector<std::string>{"/out/The Testers", "/out/The Testers/First Light"}));
    const OutputPlan two = run.plan("/music/y/a.flac", "/music", true, 0, named);
    EXPECT_EQ(two.path, "/out/The Testers/First Light/02 - Morning Song (2).mp3");
    EXPECT_TRUE(two.renamed);
    // A rendering with a way out is not used: the plain rule applies.
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"..", "x"}, {"a/../../b"}, {"", "x"}, {"."}}) {
        const OutputPlan p = run.plan("/music/z/c.d.flac", "/music", false, 0, bad);
        EXPECT_TRUE(p.path.starts_with("/out/c")) << p.path;
        EXPECT_TRUE(p.subFolders.empty());
    }
}

TEST(RunInputsTest, EverySpellingOfAnInputIsTheInputAndNothingElseIs) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("run_inputs_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    for (const char* name : {"a.mp3", "other.mp3"})
        std::ofstream(dir / name) << name;
    fs::create_directory_symlink(dir, dir / "link");
    fs::create_hard_link(dir / "a.mp3", dir / "hard.mp3");
    RunInputs inputs;
    EXPECT_FALSE(inputs.holds(dir / "a.mp3")) << "no inputs yet";
    inputs.add(dir / "link" / "a.mp3");
    inputs.add(dir / "missing.mp3");
    const struct {
        fs::path path;
        bool held;
    } cases[] = {
        {dir / "a.mp3", true},      {dir / "sub" / ".." / "a.mp3", true},
        {dir / "hard.mp3", true},   {dir / "link" / "link" / "a.mp3", true},
        {dir / "other.mp3", false}, {dir / "missing.mp3", false},
        {dir / "a (2).mp3", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(inputs.holds(c.path), c.held) << c.path;
    fs::remove_all(dir);
}

} // namespace
