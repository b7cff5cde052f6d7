#include "core/settings/cut_range.h"
#include "core/text/translate.h"

#include "core/settings/number_text.h"

#include <cmath>

namespace settings {
namespace {

struct Hms {
    std::string h, m, s;
};

// Floor division keeps the three parts adding up to the total for negative times too.
Hms split(std::int32_t total) {
    const std::int64_t t = total;
    const std::int64_t h = t >= 0 ? t / 3600 : -((-t + 3599) / 3600);
    const std::int64_t restAfterHours = t - h * 3600;
    const std::int64_t m = restAfterHours / 60;
    const std::int64_t s = restAfterHours - m * 60;
    return {std::to_string(h), std::to_string(m), std::to_string(s)};
}

} // namespace

CutEntryCheck CheckCutEntries(const CutBoxTexts& texts) {
    const double fromH = LeadingNumber(texts.fromH);
    const double fromM = LeadingNumber(texts.fromM);
    const double fromS = LeadingNumber(texts.fromS);
    const double toH = LeadingNumber(texts.toH);
    const double toM = LeadingNumber(texts.toM);
    const double toS = LeadingNumber(texts.toS);

    CutEntryCheck check;
    const std::string minutes = PK_TR("CutRange", "Minutes must less than 60");
    const std::string seconds = PK_TR("CutRange", "Seconds must less than 60");
    const std::string min = PK_TR("CutRange", "Min");
    if (fromM > 59)
        check.problem = CutEntryProblem{minutes, min, CutBox::FromM};
    else if (toM > 59)
        check.problem = CutEntryProblem{minutes, min, CutBox::ToM};
    else if (fromS > 59)
        check.problem = CutEntryProblem{seconds, min, CutBox::FromS};
    else if (toS > 59)
        check.problem = CutEntryProblem{seconds, min, CutBox::ToS};
    if (check.problem)
        return check;

    // Hours have no upper limit of their own, but the sum must fit the stored 32 bits;
    // storing a wrapped or clamped time would cut a different piece than was typed.
    const auto start = RoundToInt32(fromH * 3600 + fromM * 60 + fromS);
    const auto length = RoundToInt32(toH * 3600 + toM * 60 + toS);
    const std::string tooLong = PK_TR("CutRange", "Time must be less than 596523 hours");
    const std::string hour = PK_TR("CutRange", "Hour");
    if (!start) {
        check.problem = CutEntryProblem{tooLong, hour, CutBox::FromH};
        return check;
    }
    if (!length) {
        check.problem = CutEntryProblem{tooLong, hour, CutBox::ToH};
        return check;
    }
    check.allZero = fromH == 0 && fromM == 0 && fromS == 0 && toH == 0 && toM == 0 && toS == 0;
    check.start = *start;
    check.length = *length;
    return check;
}

CutBoxTexts CutBoxTextsFor(std::int32_t start, std::int32_t length) {
    const Hms from = split(start);
    const Hms to = split(length);
    return {from.h, from.m, from.s, to.h, to.m, to.s};
}

} // namespace settings
