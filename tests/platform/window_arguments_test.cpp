#include "platform/window_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::ParseWindowArguments;
using platform::WindowUsageError;

namespace {

std::vector<std::string> paths(const std::vector<std::string>& arguments,
                               const std::string& current = "/home/u") {
    const auto parsed = ParseWindowArguments(arguments, current);
    if (const auto* error = std::get_if<WindowUsageError>(&parsed)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<std::vector<std::string>>(parsed);
}

std::string usageError(const std::vector<std::string>& arguments) {
    const auto parsed = ParseWindowArguments(arguments, "/home/u");
    const auto* error = std::get_if<WindowUsageError>(&parsed);
    return error != nullptr ? error->message : "<no error>";
}

} // namespace

TEST(WindowArguments, PathsBecomeAbsoluteByteForByteInTheOrderGiven) {
    EXPECT_EQ(paths({}), std::vector<std::string>{});
    EXPECT_EQ(paths({"b.mp3", "/abs/a.wav", "folder/", "./x//y/./z", "../up.ogg", "-"}),
              (std::vector<std::string>{"/home/u/b.mp3", "/abs/a.wav", "/home/u/folder",
                                        "/home/u/x/y/z", "/home/u/../up.ogg", "/home/u/-"}));
    // Names that are not UTF-8 and a current folder that is not either.
    EXPECT_EQ(paths({"caf\xe9 \xff.wav"}, "/m\xfc"),
              std::vector<std::string>{"/m\xfc/caf\xe9 \xff.wav"});
    EXPECT_EQ(paths({"."}, "/"), std::vector<std::string>{"/"});
    EXPECT_EQ(paths({"a"}, "/"), std::vector<std::string>{"/a"});
}

TEST(WindowArguments, OptionsAreRefusedUnlessAfterTheEndMark) {
    EXPECT_EQ(usageError({"a.mp3", "--format"}),
              "pelkora: unknown option --format (options apply to --batch only; see pelkora "
              "--batch --help)");
    EXPECT_EQ(usageError({"-x"}).substr(0, 28), "pelkora: unknown option -x (");
    // A control character in an option cannot drive the terminal.
    EXPECT_EQ(usageError({"-\x1b[2J"}).substr(0, 30), "pelkora: unknown option -?[2J ");
    EXPECT_EQ(usageError({""}), "pelkora: an empty file name was given");
    EXPECT_EQ(usageError({"--", ""}), "pelkora: an empty file name was given");
    EXPECT_EQ(paths({"--", "-x.mp3", "--"}),
              (std::vector<std::string>{"/home/u/-x.mp3", "/home/u/--"}));
}

TEST(WindowArguments, WithoutACurrentFolderOnlyFullPathsDo) {
    EXPECT_EQ(paths({"/abs/a.wav"}, ""), std::vector<std::string>{"/abs/a.wav"});
    const auto parsed = ParseWindowArguments({"/abs/a.wav", "b c.wav"}, "");
    const auto* error = std::get_if<WindowUsageError>(&parsed);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->message,
              "pelkora: 'b c.wav': the current folder cannot be read; give the full path");
}
