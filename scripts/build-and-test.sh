#!/usr/bin/env bash
# Builds the game and its tests, runs every test, then builds and runs the same
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and ends
# with a short fuzzing run of the level loader. The release build also makes
# the Debian package, build/zelvane_0.4_amd64.deb.
# The builds are CMakePresets.json's release, sanitize and fuzz presets.
# ZELVANE_WARNINGS_AS_ERRORS=ON in the environment turns compiler warnings into
# errors (CI sets it; unset, a warning only shows).
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== Release build and tests"
cmake --preset release
cmake --build --preset release -j"$jobs"
ctest --preset release -j"$jobs"

echo "== Debian package"
(cd build && cpack -G DEB >/dev/null && lintian --fail-on error zelvane_0.4_amd64.deb &&
 echo "build/zelvane_0.4_amd64.deb: $(stat -c %s zelvane_0.4_amd64.deb) bytes," \
      "installed size $(dpkg-deb -f zelvane_0.4_amd64.deb Installed-Size) KiB")

echo "== Sanitizer build and tests"
cmake --preset sanitize
cmake --build --preset sanitize -j"$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
ctest --preset sanitize -j"$jobs"

echo "== A short fuzzing run of the level loader"
bash scripts/fuzz-levels.sh "${ZELVANE_FUZZ_SECONDS:-30}"
echo "== All tests passed"
