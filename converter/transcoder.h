#pragma once

#include "errors.h"
#include "options.h"

namespace conv {

class Console;

// Converts options.input into options.output. The output appears only when everything
// succeeded; on failure an earlier file of that name is left as it was.
[[nodiscard]] Status Convert(const Options& options, Console& console);

} // namespace conv
