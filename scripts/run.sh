#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The same tree and options as the tests use, but only what the program needs.
scripts/build.sh build -DPELKORA_WERROR=ON -- pelkora conv chime
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting the program on a virtual X server."
    exec xvfb-run -a build/pelkora/pelkora
fi
exec build/pelkora/pelkora
