#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh DIR [extra cmake options]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$dir" --parallel "$(nproc)"
