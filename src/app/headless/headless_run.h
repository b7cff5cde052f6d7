#pragma once

// The windowless mode: converts the files and folders named on the command line and returns
// the exit status. Runs on a QCoreApplication it makes itself, so no display is needed.
[[nodiscard]] int RunHeadless(int argc, char** argv);
