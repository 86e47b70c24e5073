#!/usr/bin/env bash
# Fuzzes the level loader for a bounded time: scripts/fuzz-levels.sh [seconds] (default 60).
# Builds fuzz/level_fuzzer with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ (the fuzz preset of CMakePresets.json),
# runs it on a scratch copy of the seed corpus (the shipped levels and
# fuzz/corpus/), and prints how many inputs it ran.
# Exits non-zero on any crash, broken check or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: $0 [seconds]   (a whole number of seconds, default 60)" >&2
    exit 2
fi

source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}" clang libclang-rt-dev

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"

# Everything the run writes (new corpus entries, crash files) stays out of the repository.
work=$(mktemp -d "${TMPDIR:-/tmp}/zelvane-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts"
cp resources/levels/*.csv fuzz/corpus/* "$work/corpus/"

echo "== Fuzzing the level loader for ${seconds}s"
status=0
(cd "$work" &&
 ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
 "$root/build-fuzz/level_fuzzer" -max_total_time="$seconds" -print_final_stats=1 -max_len=8192 \
     -dict="$root/fuzz/level.dict" -artifact_prefix="$work/artifacts/" \
     corpus >"$work/fuzz.log" 2>&1) || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log" | tail -n1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/fuzz.log" | tail -n1)
grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$work/fuzz.log" || true
echo "executions: ${executions:-unknown} in ${seconds}s (${rate:-?} per second)"

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/artifacts")" ] ||
   grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|level fuzzer: broken' "$work/fuzz.log"; then
    echo "== The fuzzer found a fault (exit status $status). Its log:" >&2
    tail -n 60 "$work/fuzz.log" >&2
    for crash in "$work"/artifacts/*; do
        [ -e "$crash" ] || continue
        mkdir -p build-fuzz/crashes
        cp "$crash" build-fuzz/crashes/
        echo "replay: build-fuzz/level_fuzzer build-fuzz/crashes/$(basename "$crash")" >&2
    done
    exit 1
fi
echo "== No faults found"
