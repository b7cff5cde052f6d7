#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The tests' tree, but warnings stay warnings: a newer compiler's new warning must not stop a
# user's build (scripts/test.sh keeps them errors).
scripts/build.sh build -DPELKORA_WERROR=OFF -- pelkora conv chime
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting the program on a virtual X server."
    exec xvfb-run -a build/pelkora/pelkora
fi
exec build/pelkora/pelkora
