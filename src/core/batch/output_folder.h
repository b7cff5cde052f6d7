#pragma once

#include <string>

namespace headless {

// Makes the output folder with the folders above it, as a script may name one several levels
// deep, and says why it cannot take outputs ("" when it can): caught before anything is
// converted rather than failing file by file.
[[nodiscard]] std::string PrepareOutputFolder(const std::string& folder);

} // namespace headless
