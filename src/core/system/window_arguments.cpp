#include "core/system/window_arguments.h"

#include "core/text/translate.h"

#include "core/batch/batch_texts.h"

namespace platform {
namespace {

std::string absolutePath(const std::string& path, const std::string& currentFolder) {
    const std::string joined = path.front() == '/' ? path : currentFolder + '/' + path;
    std::string out;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string_view segment(joined.data() + start, end - start);
        if (!segment.empty() && segment != ".") {
            out += '/';
            out += segment;
        }
        start = end + 1;
    }
    return out.empty() ? std::string("/") : out;
}

} // namespace

WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments,
                                     const std::string& currentFolder) {
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument.empty())
            return WindowUsageError{"pelkora: " +
                                    PK_TR("WindowArguments", "an empty file name was given")};
        if (!optionsEnded && argument.size() > 1 && argument.front() == '-')
            return WindowUsageError{
                "pelkora: " + translation::Fill(PK_TR("WindowArguments",
                                                      "unknown option %1 (options apply to "
                                                      "--batch only; see pelkora --batch --help)"),
                                                {headless::ShownValue(argument)})};
        if (argument.front() != '/' && currentFolder.empty())
            return WindowUsageError{
                "pelkora: " +
                translation::Fill(PK_TR("WindowArguments", "%1: the current folder cannot be read; "
                                                           "give the full path"),
                                  {headless::ShownValue(argument)})};
        paths.push_back(absolutePath(argument, currentFolder));
    }
    return paths;
}

} // namespace platform
