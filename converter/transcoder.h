#pragma once

#include "errors.h"
#include "options.h"

#include <string>
#include <vector>

namespace conv {

class Console;

// Converts options.input into options.output. The output appears only when everything
// succeeded and it read back correctly; on failure an earlier file of that name is left as it
// was. A damaged or short input still gives an output of what could be read, and one warning
// line (without "conv: <path>: ") per kind of loss.
[[nodiscard]] Status Convert(const Options& options, Console& console,
                             std::vector<std::string>& warnings);

} // namespace conv
