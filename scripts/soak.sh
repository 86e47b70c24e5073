#!/usr/bin/env bash
# The long soak: scripts/soak.sh [frames] [seed] (default 100000 frames, seed 1).
# Builds the soak program in the sanitizer build (build-sanitize/, the sanitize
# preset of CMakePresets.json), then lets a bot play level 3 for that many frames
# under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer. Exits
# non-zero on a broken bound, a wave that never ends, a hang, a crash or any
# sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
frames=${1:-100000}
seed=${2:-1}
if ! [[ "$frames" =~ ^[0-9]+$ ]] || [ "$frames" -lt 1 ] || ! [[ "$seed" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 [frames] [seed]   (whole numbers; default 100000 and 1)" >&2
    exit 2
fi

source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}" libgtest-dev libgmock-dev

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
cmake --preset sanitize >/dev/null
cmake --build --preset soak -j"$jobs"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"

log=$(mktemp "${TMPDIR:-/tmp}/zelvane-soak.XXXXXX")
trap 'rm -f "$log"' EXIT
status=0
(cd build-sanitize && ./zelvane_soak --frames "$frames" --seed "$seed") 2>&1 | tee "$log" || status=$?

# A report that did not stop the program fails the soak all the same.
if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$log"; then
    echo "soak: FAILED: sanitizer report above"
    [ "$status" -ne 0 ] || status=1
fi
exit "$status"
