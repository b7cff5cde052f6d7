#pragma once

#include "errors.h"
#include "fd_io.h"

#include <string>

namespace conv {

// Opens the input for reading without ever blocking: only a non-empty regular file is taken,
// and it is read through this descriptor alone, so a name swapped later changes nothing.
[[nodiscard]] Status OpenSource(const std::string& path, UniqueFd& fd);

} // namespace conv
