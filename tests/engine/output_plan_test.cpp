#include "engine/output_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct PlannedRun {
    std::set<std::string> used;
    OutputPlan plan(const std::string& input, const std::string& root = {}, bool keepTree = false,
                    int format = 0) {
        ConversionSettings s;
        s.formatIndex = static_cast<std::int16_t>(format);
        s.outputFolder = "/out";
        OutputPlan p = PlanOutput(input, root, keepTree, s,
                                  [this](const std::string& path) { return used.count(path) > 0; });
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

} // namespace
