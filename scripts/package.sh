#!/usr/bin/env bash
# Builds the Debian package in a release tree of its own and checks it with lintian, which
# must report no errors: scripts/package.sh [DIR] (default build-package; the .deb lands there).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
dir=${1:-build-package}

# Debian's own compiler and linker flags: fortified functions, stack protector, full RELRO.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cflags="$(dpkg-buildflags --get CFLAGS) $cppflags"
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $cppflags"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# Warnings are not errors here: a newer compiler must not stop a packager's build. Only what
# the package holds is built (no tests, no benchmarks).
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DPELKORA_WERROR=OFF -DPELKORA_TESTS=OFF -DPELKORA_DEBIAN_DOCS=ON \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    "-DCMAKE_C_FLAGS=$cflags" "-DCMAKE_CXX_FLAGS=$cxxflags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
    -- pelkora conv chime icons man_page debian_changelog

rm -f "$dir"/pelkora_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/pelkora_*.deb)
echo "Built $deb"

# Errors fail the package; warnings are shown.
lintian --fail-on error --display-info "$deb"
echo "lintian: no errors"
