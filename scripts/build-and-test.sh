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
# checks need install while the release build compiles; the fuzzing build and
# run and the sanitizer build go beside the release tests in the idle
# scheduling class, so that they take only what the tests leave (the
# real-window checks mostly wait on the screen) and the tests' timing is as on
# an idle machine. Each phase's start is marked with the seconds since the start.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
jobs=$(nproc)
started=$SECONDS
phase() { echo "== [$((SECONDS - started)) s] $*"; }
logs=$(mktemp -d "${TMPDIR:-/tmp}/zelvane-build-and-test.XXXXXX")
cleanup() {
    local status=$? running
    running=$(jobs -p)
    [ -n "$running" ] && kill $running 2>/dev/null
    rm -rf "$logs"
    exit "$status"
}
trap cleanup EXIT
# Work that runs only on a core nothing else wants: Linux's idle scheduling
# class where it is allowed, the lowest priority elsewhere.
if chrt --idle 0 true 2>/dev/null; then
    when_idle() { chrt --idle 0 "$@"; }
else
    when_idle() { nice -n 19 "$@"; }
fi

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
# Installed in the background: sudo asks for its password, if at all, here.
if [ "$(id -u)" -ne 0 ] && [ -n "$(missing_packages "${CHECK_PACKAGES[@]}")" ]; then sudo -v; fi
install_missing_packages "${CHECK_PACKAGES[@]}" > "$logs/packages" 2>&1 &
packages=$!

phase "Release build"
cmake --preset release > /dev/null
cmake --build --preset release -j"$jobs"

phase "Packages to check with"
finish "$packages" "Installing the packages to check with" "$logs/packages"
# A preset configured before the checks' tools were there looks for them again.
cmake --preset release > /dev/null

# While the release tests run: the level loader's fuzzing build and its run,
# then the sanitizer build, on the cores the tests leave idle.
(
    set -e
    when_idle bash scripts/fuzz-levels.sh "${ZELVANE_FUZZ_SECONDS:-30}"
    when_idle cmake --preset sanitize > /dev/null
    when_idle cmake --build --preset sanitize -j"$jobs"
) > "$logs/beside" 2>&1 &
beside=$!

phase "Release tests (the fuzzing run and the sanitizer build beside them)"
ctest --preset release -j"$jobs"
echo "build/zelvane_0.4_amd64.deb: $(stat -c %s build/zelvane_0.4_amd64.deb) bytes," \
     "installed size $(dpkg-deb -f build/zelvane_0.4_amd64.deb Installed-Size) KiB"

phase "The fuzzing run and the sanitizer build"
finish "$beside" "The fuzzing run or the sanitizer build" "$logs/beside"

phase "Sanitizer tests"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
ctest --preset sanitize -j"$jobs"
phase "All tests passed"
