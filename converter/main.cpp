#include "errors.h"
#include "options.h"
#include "output_file.h"
#include "progress.h"
#include "transcoder.h"

#include <cstdio>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

int main(int argc, char** argv) {
    conv::InstallSignalHandlers();
    // The window shows our own lines; library chatter would only confuse it.
    av_log_set_level(AV_LOG_QUIET);

    const std::vector<std::string> args(argv + 1, argv + argc);
    conv::Options options;
    conv::Console console(stderr);
    conv::Status failed = conv::ParseArguments(args, options);
    if (failed) {
        std::fputs(conv::FailureLine(*failed).c_str(), stderr);
        return 2;
    }
    failed = conv::Convert(options, console);
    if (failed) {
        console.endLine();
        std::fputs(conv::FailureLine(*failed).c_str(), stderr);
        return 1;
    }
    return 0;
}
