#include "core/engine/output_plan.h"

#include <algorithm>

#include <sys/stat.h>

namespace {

// The folders between root and the input's own folder; empty when the input is not below root.
std::vector<std::string> RelativeFolders(const std::string& input, std::string root) {
    std::vector<std::string> parts;
    if (root.empty())
        return parts;
    if (root.back() != '/')
        root += '/';
    if (input.size() <= root.size() || input.compare(0, root.size(), root) != 0)
        return parts;
    std::string_view rest(input);
    rest.remove_prefix(root.size());
    std::size_t slash;
    while ((slash = rest.find('/')) != std::string_view::npos) {
        const std::string_view part = rest.substr(0, slash);
        // A search never yields these, but a hand-made root must not lead outside the folder.
        if (part == "..")
            return {};
        if (!part.empty() && part != ".")
            parts.emplace_back(part);
        rest.remove_prefix(slash + 1);
    }
    return parts;
}

// Whether every element of a pattern's rendering is one plain name.
bool UsableNames(const std::vector<std::string>& named) {
    return !named.empty() && std::all_of(named.begin(), named.end(), [](const std::string& e) {
        return !e.empty() && e != "." && e != ".." && e.find('/') == std::string::npos &&
               e.find('\0') == std::string::npos;
    });
}

constexpr std::size_t kSuffixRoom = 12; // " (99999999)"

} // namespace

std::size_t NamedOutputReserve(const ConversionSettings& settings) {
    return FormatExtension(settings.formatIndex).size() + kSuffixRoom;
}

bool RunInputs::holds(const std::string& path) {
    struct stat st = {};
    for (const std::string& input : pending_)
        if (::stat(input.c_str(), &st) == 0)
            files_.emplace(st.st_dev, st.st_ino);
    pending_.clear();
    return !files_.empty() && ::stat(path.c_str(), &st) == 0 &&
           files_.count({st.st_dev, st.st_ino}) > 0;
}

OutputPlan PlanOutput(const std::string& input, const std::string& root, bool keepTree,
                      const ConversionSettings& settings, const OutputTaken& taken,
                      const std::vector<std::string>& named) {
    OutputPlan plan;
    std::string folder = settings.outputFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    // A rendering that could leave the output folder is not used at all.
    const bool byPattern = UsableNames(named);
    std::vector<std::string> folders;
    if (byPattern)
        folders.assign(named.begin(), named.end() - 1);
    else if (keepTree)
        folders = RelativeFolders(input, root);
    for (const std::string& part : folders) {
        folder += part;
        plan.subFolders.push_back(folder);
        folder += '/';
    }
    const std::string base = byPattern ? named.back() : GetBaseName(input);
    const std::string extension(FormatExtension(settings.formatIndex));
    plan.path = folder + base + extension;
    for (int n = 2; taken && taken(plan.path); ++n) {
        plan.path = folder + base + " (" + std::to_string(n) + ")" + extension;
        plan.renamed = true;
    }
    return plan;
}
