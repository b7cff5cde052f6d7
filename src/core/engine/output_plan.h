#pragma once

#include "core/engine/command_line.h"

#include <functional>
#include <set>
#include <string>
#include <utility>

#include <sys/types.h>

// Where one input's output goes in a run.
struct OutputPlan {
    std::string path;
    // Sub-folders below the output folder that have to exist first, outermost first.
    std::vector<std::string> subFolders;
    bool renamed = false; // a " (2)" style suffix keeps it apart from an earlier output
};

// Whether an output path is already written, or being written, in this run.
using OutputTaken = std::function<bool(const std::string& path)>;

// The files a run reads. They are known by device and inode, so every spelling of one (through
// a link, "..", another hard link) is the same file, as the converter judges it too.
class RunInputs {
public:
    // A path that names no file adds nothing: there is nothing of it to lose. Inputs are
    // looked at when the first output is planned, so a run that plans none never does.
    void add(const std::string& path) { pending_.push_back(path); }
    // Whether `path` names one of the inputs now.
    [[nodiscard]] bool holds(const std::string& path);
    void clear() {
        files_.clear();
        pending_.clear();
    }

private:
    std::set<std::pair<dev_t, ino_t>> files_;
    std::vector<std::string> pending_;
};

// The output of `input`: the output folder, then (with `keepTree`, for an input found below
// `root`) the input's folder relative to `root`, then the base name and the extension. A path
// `taken` names (used earlier in the run, or an input of it) gets " (2)", " (3)", ... before
// the extension; any other file that was there before the run is replaced, as every
// conversion does. With `named` (a name pattern's folders and file name) the output lies there
// below the output folder instead, whatever `keepTree` says.
[[nodiscard]] OutputPlan PlanOutput(const std::string& input, const std::string& root,
                                    bool keepTree, const ConversionSettings& settings,
                                    const OutputTaken& taken,
                                    const std::vector<std::string>& named = {});

// Room a name pattern leaves after the file name for the extension and a " (N)" suffix.
[[nodiscard]] std::size_t NamedOutputReserve(const ConversionSettings& settings);
