#!/usr/bin/env bash
# Peak memory and time of a batch start that reads a 300 MB garbage pelkora.ini, against one
# that reads a normal one. The program runs from a private copy, so its own folder holds the
# settings and nothing of the user's is touched.
#   bench/settings/settings_memory.sh [PROGRAM]   (default: build/pelkora/pelkora)
set -euo pipefail
cd "$(dirname "$0")/../.."
program=${1:-build/pelkora/pelkora}
[ -x "$program" ] || { echo "no program at $program (build the pelkora target)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/copy" "$work/home" "$work/in"
cp "$program" "$work/copy/pelkora"

run() {
    local label=$1
    env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" TMPDIR="$work/home" \
        XDG_RUNTIME_DIR="$work/home" /usr/bin/time -v -o "$work/time" \
        "$work/copy/pelkora" --batch "$work/in" >/dev/null 2>"$work/stderr" || true
    local rss elapsed
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
    elapsed=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time")
    printf '%-28s max RSS %8s KiB   wall %s\n' "$label" "$rss" "$elapsed"
    grep -v '^0 converted' "$work/stderr" | sed 's/^/    /' || true
}

printf '[Conversion]\nSimultaneousConversions=2\n[Output]\nKeepSubFolders=true\n' \
    >"$work/copy/pelkora.ini"
run "normal pelkora.ini"
head -c 300M /dev/urandom >"$work/copy/pelkora.ini"
run "300 MB garbage pelkora.ini"
