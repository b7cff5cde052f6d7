#include "core/system/display_check.h"

#include <string_view>

namespace platform {
namespace {

bool IsSet(const EnvironmentLookup& environment, const char* name) {
    const char* value = environment(name);
    return value != nullptr && *value != '\0';
}

// As Qt reads its own option: -platform NAME (or --platform NAME) anywhere in the arguments.
bool ChoosesPlatform(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        std::string_view option = arguments[i];
        if (option.starts_with("--"))
            option.remove_prefix(1);
        if (option == "-platform")
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
