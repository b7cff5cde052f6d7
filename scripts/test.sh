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
# Non-blank lines of C++ that are not // comments, in the given folders that exist.
cpp_lines() {
    local folder folders=()
    for folder in "$@"; do
        [ -d "$folder" ] && folders+=("$folder")
    done
    find "${folders[@]}" \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat |
        grep -cv '^[[:space:]]*\(//.*\)\?$' || true
}
(cd build && ctest --output-on-failure --parallel 2) || status=1
(cd build-asan && ctest --output-on-failure --parallel 2 --label-exclude no-sanitizer) || status=1
tests=$(cpp_lines tests)
program=$(cpp_lines src converter protocol)
awk -v t="$tests" -v p="$program" '
    function grouped(x, s) {
        for (s = ""; length(x) > 3; x = substr(x, 1, length(x) - 3))
            s = "," substr(x, length(x) - 2) s
        return x s
    }
    BEGIN { printf "test code: %s lines, program code: %s lines, ratio %.2f\n", grouped(t), grouped(p), t / p }'
exit $status
