#pragma once

#include <string>
#include <variant>
#include <vector>

// The command line of the window: pelkora [FILE|FOLDER ...]. The window takes no options of
// its own (Qt has removed its own by the time this runs); "--" ends the options so that a
// name starting with "-" can be given.
namespace platform {

struct WindowUsageError {
    std::string message; // one line for standard error
};

// The paths in the order given, made absolute against `currentFolder` byte for byte (a name
// need not be UTF-8); "." segments and doubled slashes are dropped, ".." is kept, since
// through a link it need not lead to the parent the text suggests. An empty `currentFolder`
// (it could not be read) only does for absolute paths.
using WindowArguments = std::variant<std::vector<std::string>, WindowUsageError>;
[[nodiscard]] WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments,
                                                   const std::string& currentFolder);

} // namespace platform
