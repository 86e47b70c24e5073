#!/usr/bin/env bash
# Builds the game and its tests, runs every test, then the same suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a 30-second fuzzing
# run of the level loader. The release pass also makes the Debian package,
# build/zelvane_0.4_amd64.deb.
# The builds are CMakePresets.json's release, sanitize and fuzz presets.
# ZELVANE_WARNINGS_AS_ERRORS=ON in the environment turns compiler warnings into
# errors (CI sets it; unset, a warning only shows).
# Exits non-zero on any failure.
#
# Two cores go a long way when nothing waits for nothing: the packages the
# checks need install while the release build compiles; the sanitizer and
# fuzzing builds compile beside the release pass at the lowest priority, so that
# they take only what it leaves (its real-window checks mostly wait on the
# screen) and its checks see an idle machine; the fuzzing run goes beside the
# sanitizer pass. Each phase's start is marked with the seconds since the start.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
jobs=$(nproc)
started=$SECONDS
phase() { echo "== [$((SECONDS - started)) s] $*"; }
logs=$(mktemp -d "${TMPDIR:-/tmp}/zelvane-build-and-test.XXXXXX")
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$logs"' EXIT

# Waits for the background job $1 (named $2, its output in $3) and shows what it said.
finish() {
    local status=0
    wait "$1" || status=$?
    cat "$3"
    if [ "$status" -ne 0 ]; then
        echo "== $2 failed (exit status $status)"
        exit "$status"
    fi
}

phase "Packages to build with"
install_missing_packages "${GAME_PACKAGES[@]}" "${BUILD_TEST_PACKAGES[@]}"
install_missing_packages "${CHECK_PACKAGES[@]}" > "$logs/packages" 2>&1 &
packages=$!

# The presets find the real-window and package checks' tools when configured;
# those configured before the tools were installed look again afterwards.
(
    set -e
    nice -n 19 cmake --preset fuzz > /dev/null
    nice -n 19 cmake --build --preset fuzz -j"$jobs"
    nice -n 19 cmake --preset sanitize > /dev/null
    nice -n 19 cmake --build --preset sanitize -j"$jobs"
) > "$logs/lower-priority-builds" 2>&1 &
lower_priority_builds=$!

phase "Release build"
cmake --preset release > /dev/null
cmake --build --preset release -j"$jobs"

phase "Packages to check with"
finish "$packages" "Installing the packages to check with" "$logs/packages"
cmake --preset release > /dev/null

phase "Release tests"
ctest --preset release -j"$jobs"
echo "build/zelvane_0.4_amd64.deb: $(stat -c %s build/zelvane_0.4_amd64.deb) bytes," \
     "installed size $(dpkg-deb -f build/zelvane_0.4_amd64.deb Installed-Size) KiB"

phase "Fuzzing and sanitizer builds (begun beside the release pass)"
finish "$lower_priority_builds" "The fuzzing and sanitizer builds" "$logs/lower-priority-builds"
cmake --preset sanitize > /dev/null

phase "Sanitizer tests, and a fuzzing run of the level loader beside them"
bash scripts/fuzz-levels.sh "${ZELVANE_FUZZ_SECONDS:-30}" > "$logs/fuzzing" 2>&1 &
fuzzing=$!
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
ctest --preset sanitize -j"$jobs"
finish "$fuzzing" "The fuzzing run" "$logs/fuzzing"
phase "All tests passed"
