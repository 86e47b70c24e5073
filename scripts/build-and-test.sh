#!/usr/bin/env bash
# Builds the game and its tests, runs every test, then builds and runs the same
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and ends
# with a short fuzzing run of the level loader. The release build also makes
# the Debian package, build/zelvane_0.4_amd64.deb.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== Release build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZELVANE_TESTS=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== Debian package"
(cd build && cpack -G DEB >/dev/null && lintian --fail-on error zelvane_0.4_amd64.deb &&
 echo "build/zelvane_0.4_amd64.deb: $(stat -c %s zelvane_0.4_amd64.deb) bytes," \
      "installed size $(dpkg-deb -f zelvane_0.4_amd64.deb Installed-Size) KiB")

echo "== Sanitizer build and tests"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVANE_SANITIZE=ON -DZELVANE_TESTS=ON
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

echo "== A short fuzzing run of the level loader"
bash scripts/fuzz-levels.sh "${ZELVANE_FUZZ_SECONDS:-30}"
echo "== All tests passed"
