#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh DIR [cmake options] [-- targets]
# The options are applied every time (cheap when nothing changed), so a tree never keeps
# options from an earlier call.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
options=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then
        shift
        targets=("$@")
        break
    fi
    options+=("$1")
    shift
done
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"
else
    cmake --build "$dir" --parallel "$(nproc)"
fi
