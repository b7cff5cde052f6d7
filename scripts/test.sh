#!/usr/bin/env bash
# Installs what is missing, builds the program and the tests (plain and with sanitizers),
# and runs every test in both trees.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Sources must be as clang-format leaves them.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
scripts/build.sh build -DPELKORA_WERROR=ON
scripts/build.sh build-asan -DPELKORA_SANITIZE=ON -DPELKORA_WERROR=ON -DCMAKE_BUILD_TYPE=Debug
status=0
(cd build && ctest --output-on-failure --parallel 2) || status=1
(cd build-asan && ctest --output-on-failure --parallel 2 --label-exclude no-sanitizer) || status=1
exit $status
