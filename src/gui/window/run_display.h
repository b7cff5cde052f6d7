#pragma once

#include <QString>

struct RunReport;

// How the window shows a run the core reports in shares and outcomes.
namespace run_display {

inline constexpr int kMaxListedItems = 20;

// The progress fill's width for a share done, 0 to 1.
[[nodiscard]] float BarWidthTwips(double fraction);
// The bar's caption: "12.3%", "0.75%" ... and "100%" once done.
[[nodiscard]] QString Caption(double fraction);
// The text of the box at the end of a run; empty when there is nothing to report.
[[nodiscard]] QString ReportText(const RunReport& report);

} // namespace run_display
