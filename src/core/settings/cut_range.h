#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace settings {

// The six free-text time boxes of the options dialog.
enum class CutBox { FromH, FromM, FromS, ToH, ToM, ToS };

struct CutBoxTexts {
    std::string fromH, fromM, fromS; // cut start
    std::string toH, toM, toS;       // cut duration
};

// The first entry that stops OK: what to say and where the focus goes.
struct CutEntryProblem {
    std::string message;
    std::string title;
    CutBox focus;
};

struct CutEntryCheck {
    std::optional<CutEntryProblem> problem; // set: nothing may be stored
    bool allZero = false;                   // every box holds the number 0
    std::int32_t start = 0;                 // whole seconds
    std::int32_t length = 0;                // whole seconds
};

// Checks the boxes in the dialog's order (minutes before seconds, start before duration)
// and works out the two times.
[[nodiscard]] CutEntryCheck CheckCutEntries(const CutBoxTexts& texts);

// What the boxes show for a time in seconds: hours, minutes, seconds, each rounded down.
[[nodiscard]] CutBoxTexts CutBoxTextsFor(std::int32_t start, std::int32_t length);

} // namespace settings
