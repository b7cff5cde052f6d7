#include "core/batch/output_folder.h"

#include "core/text/translate.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace headless {

std::string PrepareOutputFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    struct stat st = {};
    if (::stat(folder.c_str(), &st) != 0)
        return translation::Fill(PK_TR("OutputFolder", "cannot be made: %1"),
                                 {error ? error.message() : std::string(std::strerror(errno))});
    if (!S_ISDIR(st.st_mode))
        return PK_TR("OutputFolder", "is not a folder");
    // The effective ids decide, as they do when the converter creates its file.
    if (::eaccess(folder.c_str(), W_OK | X_OK) != 0)
        return translation::Fill(PK_TR("OutputFolder", "is not a writable folder: %1"),
                                 {std::strerror(errno)});
    return {};
}

} // namespace headless
