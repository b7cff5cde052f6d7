#include "core/system/display_check.h"

#include <string_view>

namespace platform {
namespace {

bool IsSet(const EnvironmentLookup& environment, const char* name) {
    const char* value = environment(name);
    return value != nullptr && *value != '\0';
}

// Qt takes -platform NAME, also spelled with two dashes or with "=".
bool ChoosesPlatform(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--")
            break;
        std::string_view option = argument;
        if (option.starts_with("--"))
            option.remove_prefix(1);
        if (option == "-platform" || option.starts_with("-platform="))
            return true;
    }
    return false;
}

} // namespace

std::string NoDisplayText(const EnvironmentLookup& environment,
                          const std::vector<std::string>& arguments) {
    if (IsSet(environment, "QT_QPA_PLATFORM") || IsSet(environment, "DISPLAY") ||
        IsSet(environment, "WAYLAND_DISPLAY") || ChoosesPlatform(arguments))
        return {};
    return "pelkora: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not "
           "set); use pelkora --batch to convert without one";
}

} // namespace platform
