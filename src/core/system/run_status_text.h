#pragma once

#include <optional>
#include <string>

// The line beside the window's progress bar.
namespace run_status {

// "4:31", "1:02:03": whole seconds, rounded up so that a run never shows "0:00" left.
[[nodiscard]] std::string Clock(double seconds);
// "File 3 of 12", and " · about 2:10 left" once there is an estimate.
[[nodiscard]] std::string Running(int file, int files, std::optional<double> secondsLeft);
// "12 converted in 4:31", ", 1 failed", ", 2 with warnings".
[[nodiscard]] std::string Finished(int converted, int failed, int withWarnings, double seconds);
// "Stopped: 5 of 12 converted".
[[nodiscard]] std::string Stopped(int converted, int files);

} // namespace run_status
