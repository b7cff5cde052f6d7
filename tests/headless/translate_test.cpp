#include "core/batch/batch_texts.h"
#include "core/text/translate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Translate, FillPutsEachValueWhereTheTemplateSays) {
    struct Case {
        const char* pattern;
        std::initializer_list<std::string_view> values;
        const char* filled;
    };
    const Case cases[] = {
        {"%1 of %2", {"3", "12"}, "3 of 12"},
        {"%2 von %1", {"12", "3"}, "3 von 12"},
        {"%1 and %1", {"x"}, "x and x"},
        // A value is never searched for placeholders: file names may hold "%2".
        {"%1: %2", {"song %2.wav", "failed"}, "song %2.wav: failed"},
        // What has no value stays as written, as does a lone or trailing %.
        {"%3 left, 100%", {"a"}, "%3 left, 100%"},
        {"%", {"a"}, "%"},
        {"%0 %10", {"a"}, "%0 a0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translation::Fill(c.pattern, c.values), c.filled) << c.pattern;
}

// A translator that puts the run's numbers first, as another language might.
std::string Reordering(const char*, const char* source) {
    if (std::strcmp(source, "%1 of %2 done \u00b7 run %3") == 0)
        return "run %3 \u00b7 done %1/%2";
    if (std::strcmp(source, "about %1 left") == 0)
        return "%1 to go";
    return source;
}

TEST(Translate, TheInstalledTranslatorDecidesTheWordsAndTheirOrder) {
    const headless::FileStep step{2, 5, "/in/a.wav", "/out/a.mp3"};
    const headless::RunStanding run{1, 5, 0.3, 130};
    const std::string english = headless::ProgressLine(step, "45%", run, 200);
    translation::SetTranslator(&Reordering);
    const std::string reordered = headless::ProgressLine(step, "45%", run, 200);
    translation::SetTranslator(nullptr);
    EXPECT_EQ(
        english,
        "[2/5] a.wav \u2192 a.mp3 45% \u00b7 1 of 5 done \u00b7 run 30% \u00b7 about 2:10 left");
    EXPECT_EQ(reordered,
              "[2/5] a.wav \u2192 a.mp3 45% \u00b7 run 30% \u00b7 done 1/5 \u00b7 2:10 to go");
    EXPECT_EQ(headless::ProgressLine(step, "45%", run, 200), english);
}

} // namespace
