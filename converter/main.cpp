#include "conv_protocol/exit_status.h"
#include "errors.h"
#include "options.h"
#include "output_check.h"
#include "output_file.h"
#include "progress.h"
#include "transcoder.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

int main(int argc, char** argv) {
    conv::InstallSignalHandlers();
    // The window shows our own lines; library chatter would only confuse it.
    av_log_set_level(AV_LOG_QUIET);
    // For the benchmark: how long reading the output back takes.
    conv::CheckHooks().reportTime = std::getenv("CONV_REPORT_CHECK_TIME") != nullptr;

    const std::vector<std::string> args(argv + 1, argv + argc);
    conv::Options options;
    conv::Console console(stderr);
    conv::Status failed = conv::ParseArguments(args, options);
    if (failed) {
        std::fputs(conv::FailureLine(*failed).c_str(), stderr);
        return conv_protocol::kExitBadArguments;
    }
    std::vector<std::string> warnings;
    failed = conv::Convert(options, console, warnings);
    if (failed) {
        console.endLine();
        std::fputs(conv::FailureLine(*failed).c_str(), stderr);
        return conv_protocol::kExitFailed;
    }
    // Converted, but the input was damaged or short: the output holds what could be read.
    for (const std::string& warning : warnings)
        std::fputs(conv::FailureLine({options.input, warning}).c_str(), stderr);
    return warnings.empty() ? conv_protocol::kExitConverted
                            : conv_protocol::kExitConvertedWithWarnings;
}
