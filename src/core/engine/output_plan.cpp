#include "core/engine/output_plan.h"

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

} // namespace

void RunInputs::add(const std::string& path) {
    struct stat st = {};
    if (::stat(path.c_str(), &st) == 0)
        files_.emplace(st.st_dev, st.st_ino);
}

bool RunInputs::holds(const std::string& path) const {
    struct stat st = {};
    return !files_.empty() && ::stat(path.c_str(), &st) == 0 &&
           files_.count({st.st_dev, st.st_ino}) > 0;
}

OutputPlan PlanOutput(const std::string& input, const std::string& root, bool keepTree,
                      const ConversionSettings& settings, const OutputTaken& taken) {
    OutputPlan plan;
    std::string folder = settings.outputFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    if (keepTree) {
        for (const std::string& part : RelativeFolders(input, root)) {
            folder += part;
            plan.subFolders.push_back(folder);
            folder += '/';
        }
    }
    const std::string base = GetBaseName(input);
    const std::string extension(FormatExtension(settings.formatIndex));
    plan.path = folder + base + extension;
    for (int n = 2; taken && taken(plan.path); ++n) {
        plan.path = folder + base + " (" + std::to_string(n) + ")" + extension;
        plan.renamed = true;
    }
    return plan;
}
