#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The tests' tree. A tree that exists keeps its options, so a run after scripts/test.sh builds
# nothing again; a new tree leaves warnings as warnings, so a newer compiler's new warning
# cannot stop a user's build (scripts/test.sh makes them errors).
if [ -f build/CMakeCache.txt ]; then
    cmake --build build --parallel "$(nproc)" --target pelkora conv chime
else
    scripts/build.sh build -DPELKORA_WERROR=OFF -- pelkora conv chime
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting the program on a virtual X server."
    exec xvfb-run -a build/pelkora/pelkora
fi
exec build/pelkora/pelkora
