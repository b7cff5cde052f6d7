#include "core/naming/name_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The cases name only the tags they set; the others are meant to stay empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using Elements = std::vector<std::string>;

TrackTags FullTags() {
    return {.artist = "The Testers",
            .albumArtist = "Various",
            .album = "Attack",
            .title = "Morning Song",
            .track = "2/9",
            .disc = "1/2",
            .date = "1999-05-01",
            .genre = "Rock"};
}

NameSource Source(TrackTags tags, std::string folder = "") {
    return {std::move(tags), "01", "01. The Testers - Morning Song", std::move(folder)};
}

Elements Render(const std::string& pattern, const NameSource& source, std::size_t reserved = 0) {
    std::string error;
    const auto parsed = NamePattern::Parse(pattern, &error);
    if (!parsed) {
        ADD_FAILURE() << pattern << ": " << error;
        return {};
    }
    return parsed->Render(source, reserved);
}

struct RenderCase {
    const char* what;
    std::string pattern;
    NameSource source;
    Elements expected;
};

void ExpectRendered(const std::vector<RenderCase>& cases) {
    for (const RenderCase& c : cases)
        EXPECT_EQ(Render(c.pattern, c.source), c.expected) << c.what << ": " << c.pattern;
}

// The field is a member pointer (&TrackTags::artist).
template <typename Field> TrackTags With(TrackTags tags, Field field, std::string value) {
    tags.*field = std::move(value);
    return tags;
}

TEST(NamePatternTest, FullTagsFillEveryField) {
    ExpectRendered({
        {"common layout",
         "{artist}/{album}/{track} - {title}",
         Source(FullTags()),
         {"The Testers", "Attack", "02 - Morning Song"}},
        {"the other fields",
         "{albumartist} - {year}/{disc}-{track} {genre}",
         Source(FullTags()),
         {"Various - 1999", "1-02 Rock"}},
        {"file name fields",
         "{name}|{stem}",
         Source(FullTags()),
         {"01|01. The Testers - Morning Song"}},
        {"folder levels",
         "{folder}/{title}",
         Source(FullTags(), "rock/70s"),
         {"rock", "70s", "Morning Song"}},
        {"folder inside text",
         "by {folder}/{title}",
         Source(FullTags(), "a/b"),
         {"by a", "b", "Morning Song"}},
    });
}

TEST(NamePatternTest, NumbersAreNormalised) {
    struct Case {
        std::string track, disc, date;
        std::string expected; // "{track}|{disc}|{year}"
    };
    const std::vector<Case> cases = {
        {"2/9", "1/2", "1999-05-01", "02|1|1999"},
        {"12", "01", "2024", "12|1|2024"},
        {"007", "0", "May 1999", "07|0|1999"},
        {"123/200", "2/", "99", "123|2|"},
        {" 3 ", "A", "19x2001", "03|A|2001"},
        {"A1", "1/2/3", "", "A1|1|"},
        {"0", "", "12345", "00||1234"},
    };
    for (const Case& c : cases) {
        TrackTags tags = FullTags();
        tags.track = c.track;
        tags.disc = c.disc;
        tags.date = c.date;
        EXPECT_EQ(Render("{track}|{disc}|{year}", Source(tags)), Elements{c.expected})
            << c.track << " " << c.disc << " " << c.date;
    }
}

TEST(NamePatternTest, MissingValuesFallBackOrLeaveNoDebris) {
    const std::string layout = "{artist}/{album}/{track} - {title}";
    ExpectRendered({
        {"artist from album artist",
         "{artist}",
         Source(With(FullTags(), &TrackTags::artist, "")),
         {"Various"}},
        {"album artist from artist",
         "{albumartist}",
         Source(With(FullTags(), &TrackTags::albumArtist, "")),
         {"The Testers"}},
        {"neither artist",
         "{artist}|{albumartist}",
         Source({.album = "A"}),
         {"Unknown Artist|Unknown Artist"}},
        {"no tags at all", layout, Source({}), {"Unknown Artist", "Unknown Album", "01"}},
        {"title from the name",
         layout,
         Source(With(FullTags(), &TrackTags::title, "")),
         {"The Testers", "Attack", "02 - 01"}},
        {"separator of an empty middle field",
         "{artist} - {genre} - {title}",
         Source(With(FullTags(), &TrackTags::genre, "")),
         {"The Testers - Morning Song"}},
        {"separator of an empty last field",
         "{title}_{genre}",
         Source(With(FullTags(), &TrackTags::genre, "")),
         {"Morning Song"}},
        {"empty folder element dropped",
         "{genre}/{folder}/{title}",
         Source(With(FullTags(), &TrackTags::genre, "")),
         {"Morning Song"}},
        {"empty file name takes the name",
         "{artist}/{genre}",
         Source(With(FullTags(), &TrackTags::genre, "")),
         {"The Testers", "01"}},
        {"pattern ending in a slash", "{artist}/", Source(FullTags()), {"The Testers", "01"}},
        {"empty name takes the stem",
         "{genre}",
         NameSource{{}, "", "song.live", ""},
         {"song.live"}},
        {"nothing at all", "{genre}", NameSource{}, {"Untitled"}},
        {"values of separators alone",
         "{artist}/{title}",
         Source({.artist = " - ", .title = "..."}),
         {"Unknown Artist", "01"}},
    });
}

TEST(NamePatternTest, HostileValuesBecomeSafeNames) {
    const auto titled = [](std::string title) { return Source({.title = std::move(title)}); };
    ExpectRendered({
        {"slash in a value", "{artist}", Source({.artist = "AC/DC"}), {"AC-DC"}},
        {"backslash in a value", "{title}", titled("a\\b"), {"a-b"}},
        {"slash-only value",
         "{artist}/{title}",
         Source({.artist = "/", .title = "x"}),
         {"Unknown Artist", "x"}},
        {"control characters",
         "{title}",
         titled("Tab\there\r\nnew\x7f"
                "end"),
         {"Tab here new end"}},
        {"C1 control character",
         "{title}",
         titled("a\xC2\x85"
                "b"),
         {"a b"}},
        {"NUL byte", "{title}", titled(std::string("a\0b", 3)), {"a b"}},
        {"leading dots", "{title}", titled("...hidden"), {"hidden"}},
        {"dot alone", "{title}", titled("."), {"01"}},
        {"dot-dot alone",
         "{artist}/{title}",
         Source({.artist = "..", .title = ".."}),
         {"Unknown Artist", "01"}},
        {"trailing dots and spaces", "{title}", titled("Fade out. . .  "), {"Fade out"}},
        {"inner dots kept",
         "{artist} - {title}",
         Source({.artist = "R.E.M.", .title = "X"}),
         {"R.E.M. - X"}},
        {"trailing dots of a folder",
         "{album}/{title}",
         Source({.album = "Vol. 2...", .title = "x"}),
         {"Vol. 2", "x"}},
        {"separator debris in values", "{title}", titled(" - Intro - "), {"Intro"}},
        {"whitespace runs", "{title}", titled("a  \t  b"), {"a b"}},
        {"invalid UTF-8 byte", "{artist}", Source({.artist = "Bj\xF6rk"}), {"Bj_rk"}},
        {"overlong slash",
         "{title}",
         titled("a\xC0\xAF"
                "b"),
         {"a__b"}},
        {"3-byte overlong slash",
         "{title}",
         titled("a\xE0\x80\xAF"
                "b"),
         {"a___b"}},
        {"surrogate",
         "{title}",
         titled("a\xED\xA0\x80"
                "b"),
         {"a___b"}},
        {"cut sequence",
         "{title}",
         titled("a\xE2\x82"
                "b"),
         {"a__b"}},
        {"valid UTF-8 kept",
         "{title}",
         titled("Caf\xC3\xA9 \xF0\x9F\x8E\xB5"),
         {"Caf\xC3\xA9 \xF0\x9F\x8E\xB5"}},
        {"climbing folder",
         "{folder}/{title}",
         Source({.title = "x"}, "../a/./b/.."),
         {"a", "b", "x"}},
        {"control character in the pattern",
         "{artist}\t{title}",
         Source({.artist = "a", .title = "b"}),
         {"a b"}},
    });
}

TEST(NamePatternTest, LongValuesAreCutOnWholeCharacters) {
    const std::string e = "\xC3\xA9";            // 2 bytes
    const std::string note = "\xF0\x9F\x8E\xB5"; // 4 bytes
    const auto repeat = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    struct Case {
        const char* what;
        std::string pattern;
        TrackTags tags;
        std::size_t reserved;
        Elements expected;
    };
    const std::vector<Case> cases = {
        {"ASCII", "{title}", {.title = std::string(300, 'a')}, 0, {std::string(255, 'a')}},
        {"reserved bytes",
         "{title}",
         {.title = std::string(300, 'a')},
         10,
         {std::string(245, 'a')}},
        {"2-byte character over the edge",
         "{title}",
         {.title = repeat(e, 200)},
         0,
         {repeat(e, 127)}},
        {"2-byte character with reserve",
         "{title}",
         {.title = repeat(e, 200)},
         12,
         {repeat(e, 121)}},
        {"4-byte character over the edge",
         "{title}",
         {.title = repeat(note, 100)},
         0,
         {repeat(note, 63)}},
        {"folder ignores the reserve",
         "{artist}/{title}",
         {.artist = repeat(e, 200), .title = "x"},
         100,
         {repeat(e, 127), "x"}},
        {"space at the cut",
         "{title}",
         {.title = std::string(254, 'a') + " b"},
         0,
         {std::string(254, 'a')}},
        {"whole pattern text counts",
         "{artist} - {title}",
         {.artist = "A", .title = std::string(300, 'b')},
         5,
         {"A - " + std::string(246, 'b')}},
        {"reserve past the limit", "{title}", {.title = "abc"}, 400, {"a"}},
    };
    for (const Case& c : cases) {
        const Elements got = Render(c.pattern, Source(c.tags), c.reserved);
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

bool ValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0x80 && lead < 0xC2)
            return false;
        if (i + length > s.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

// Whatever a file's tags hold, every element is a usable name.
TEST(NamePatternTest, EveryElementIsUsableForHostileValues) {
    const std::vector<std::string> values = {
        "",
        " ",
        ".",
        "..",
        "/",
        "../..",
        " - ",
        "-_-",
        "a/../b",
        "\x01\x1f\x7f",
        "\xC2\x9F",
        "x\xFF\xFE",
        std::string(600, '.'),
        std::string(300, 'a') + "\xC3\xA9" + std::string(300, ' '),
        std::string(253, 'a') + "\xF0\x9F\x8E\xB5",
        std::string(254, 'a') + ". . .",
    };
    const std::vector<std::string> patterns = {
        "{artist}/{album}/{track} - {title}", "{stem}", "{artist} - {title}",
        "{folder}/{genre}/{disc}-{track}_{title}", "{albumartist}/{year}/{name}"};
    const std::size_t reserved = 20;
    for (const std::string& value : values) {
        const NameSource source{{value, value, value, value, value, value, value, value},
                                value,
                                value,
                                value + "/" + value};
        for (const std::string& pattern : patterns) {
            const Elements elements = Render(pattern, source, reserved);
            ASSERT_FALSE(elements.empty()) << pattern;
            for (std::size_t i = 0; i < elements.size(); ++i) {
                const std::string& el = elements[i];
                const std::size_t limit = i + 1 == elements.size() ? 255 - reserved : 255;
                SCOPED_TRACE(pattern + " with value \"" + value + "\" gave \"" + el + "\"");
                ASSERT_FALSE(el.empty());
                EXPECT_LE(el.size(), limit);
                EXPECT_TRUE(ValidUtf8(el));
                EXPECT_EQ(el.find('/'), std::string::npos);
                EXPECT_NE(el.front(), '.');
                EXPECT_NE(el.back(), '.');
                EXPECT_NE(el.back(), ' ');
                EXPECT_NE(el.front(), ' ');
                EXPECT_NE(el.front(), '-');
                EXPECT_NE(el.back(), '-');
                for (unsigned char c : el)
                    EXPECT_TRUE(c >= 0x20 && c != 0x7F) << int(c);
                EXPECT_EQ(el.find("\xC2\x9F"), std::string::npos);
            }
        }
    }
}

TEST(NamePatternTest, BadPatternsAreRefusedWithAReason) {
    struct Case {
        std::string pattern;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"", "the name pattern is empty"},
        {" \t ", "the name pattern is empty"},
        {"{artst}", "unknown field {artst} in the name pattern"},
        {"{Artist}", "unknown field {Artist} in the name pattern"},
        {"{}", "unknown field {} in the name pattern"},
        {"{artist", "a { without its } in the name pattern"},
        {"{artist}/{", "a { without its } in the name pattern"},
        {"{art{title}", "a { without its } in the name pattern"},
        {"artist}", "a } without its { in the name pattern"},
        {"/{artist}", "the name pattern starts with /; it names a path below the output folder"},
        {"../{artist}", "the name pattern names a parent folder (..)"},
        {"{artist}/../{title}", "the name pattern names a parent folder (..)"},
        {"{artist}/..", "the name pattern names a parent folder (..)"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(NamePattern::Parse(c.pattern, &error).has_value()) << c.pattern;
        EXPECT_EQ(error, c.reason) << c.pattern;
    }
    for (const std::string pattern : {"{artist}/..{title}", "a..b/{title}", "x", "{title}."}) {
        std::string error;
        EXPECT_TRUE(NamePattern::Parse(pattern, &error).has_value()) << pattern << ": " << error;
    }
}

TEST(NamePatternTest, CommonPatternsStartWithThePlainRuleAndParse) {
    const std::vector<std::string>& patterns = CommonNamePatterns();
    ASSERT_FALSE(patterns.empty());
    EXPECT_EQ(patterns.front(), "");
    for (std::size_t i = 1; i < patterns.size(); ++i)
        EXPECT_TRUE(NamePattern::Parse(patterns[i]).has_value()) << patterns[i];
}

} // namespace
