#pragma once

#include "engine/command_line.h"

#include <functional>
#include <string>

// Where one input's output goes in a run.
struct OutputPlan {
    std::string path;
    // Sub-folders below the output folder that have to exist first, outermost first.
    std::vector<std::string> subFolders;
    bool renamed = false; // a " (2)" style suffix keeps it apart from an earlier output
};

// Whether an output path is already written, or being written, in this run.
using OutputTaken = std::function<bool(const std::string& path)>;

// The output of `input`: the output folder, then (with `keepTree`, for an input found below
// `root`) the input's folder relative to `root`, then the base name and the extension. A path
// the run has already used gets " (2)", " (3)", ... before the extension; a file that was
// there before the run is replaced, as every conversion does.
[[nodiscard]] OutputPlan PlanOutput(const std::string& input, const std::string& root,
                                    bool keepTree, const ConversionSettings& settings,
                                    const OutputTaken& taken);
