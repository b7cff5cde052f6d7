#include "core/engine/choice_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(std::span<const std::string_view> list) {
    return {list.begin(), list.end()};
}

// Settings files store positions: the formats of old keep theirs, the new ones follow.
TEST(ChoiceLists, TheNineFormatsKeepTheirPlacesAndTheNewOnesFollow) {
    EXPECT_EQ(Texts(choices::kFormats),
              (std::vector<std::string>{"MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR",
                                        "MPG", "OPUS", "M4A", "ALAC"}));
    EXPECT_EQ(choices::kFormats[choices::kOpusFormat], "OPUS");
    EXPECT_EQ(choices::kFormats[choices::kM4aFormat], "M4A");
}

TEST(ChoiceLists, EachFormatOffersItsBitrates) {
    const std::vector<std::string> all = Texts(choices::kBitrates);
    const struct {
        int format;
        std::vector<std::string> offered;
    } rows[] = {
        {0, all},
        {4, all},
        {8, all},
        {11, all}, // ignored, as for FLAC
        {9, {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256"}},
        {10, {"64", "80", "96", "112", "128", "192", "224", "256", "320"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.format);
        EXPECT_EQ(Texts(choices::BitratesFor(row.format)), row.offered);
        // Every offered bitrate is in the stored list, so a stored position names it.
        for (const std::string& kbps : row.offered)
            EXPECT_GE(choices::IndexOf(choices::kBitrates, kbps), 0) << kbps;
    }
}

// The stored bitrate (a position in the whole list) kept when offered, else the nearest.
TEST(ChoiceLists, ABitrateTheFormatLacksGivesWayToTheNearestItOffers) {
    const struct {
        int format;
        std::string stored;
        std::string fitted;
    } rows[] = {
        {9, "320", "256"}, {9, "256", "256"},  {9, "32", "32"},    {10, "32", "64"},
        {10, "56", "64"},  {10, "320", "320"}, {10, "128", "128"}, {0, "320", "320"},
        {0, "32", "32"},   {11, "320", "320"}, {4, "48", "48"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.format) + " " + row.stored);
        const int stored = choices::IndexOf(choices::kBitrates, row.stored);
        const int fitted = choices::NearestBitrate(row.format, stored);
        EXPECT_EQ(std::string(choices::At(choices::kBitrates, fitted)), row.fitted);
        EXPECT_EQ(choices::OffersBitrate(row.format, stored), row.stored == row.fitted);
    }
    EXPECT_EQ(choices::NearestBitrate(9, -1), -1) << "no selection stays none";
    EXPECT_EQ(choices::NearestBitrate(10, 12), 12);
}

} // namespace
