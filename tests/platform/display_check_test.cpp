#include "core/system/display_check.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Which starts would leave Qt without a platform: only those are refused before it aborts.
TEST(DisplayCheck, OnlyAStartWithNoDisplayAndNoPlatformChosenIsRefused) {
    const std::string refused = "pelkora: no display to open the window on (DISPLAY and "
                                "WAYLAND_DISPLAY are not set); use pelkora --batch to convert "
                                "without one";
    const struct {
        std::map<std::string, std::string> environment;
        std::vector<std::string> arguments;
        bool opens;
    } cases[] = {
        {{}, {}, false},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}, {"a.wav"}, false},
        {{{"DISPLAY", ":0"}}, {}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, {}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, {}, true},
        {{}, {"-platform", "offscreen"}, true},
        {{}, {"--platform", "offscreen", "a.wav"}, true},
        {{}, {"a.wav", "-platform"}, false}, // no platform named
        {{}, {"-platformtheme", "gtk3"}, false},
    };
    for (const auto& c : cases) {
        const auto lookup = [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        const std::string text = platform::NoDisplayText(lookup, c.arguments);
        EXPECT_EQ(text, c.opens ? "" : refused)
            << (c.arguments.empty() ? std::string() : c.arguments.back());
    }
}

} // namespace
