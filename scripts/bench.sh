#!/usr/bin/env bash
# Builds the game in Release (in build/, the bench preset of CMakePresets.json)
# and runs its benchmarks side by side:
# whole frames and their update alone at waves 1 to 100, level loading with and
# without the image cache, a shotgun shot and the chasers' path search, all on
# SDL's dummy drivers; then the real path in a virtual X display: whole frames
# through the OpenGL renderer (Mesa) in a shown window, vsync off, beside a
# plain frame of one window-sized copy. Each benchmark runs five times for a
# short while; the tables show the medians and a summary checks them against
# their targets.
# Extra arguments go to both benchmark binaries (for example --benchmark_filter=Frame).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake --preset bench
cmake --build --preset bench -j"$(nproc)"

echo "== $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
# Textures and sounds are found from the working directory.
cd build
options=(--benchmark_min_time=0.2 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
         --benchmark_counters_tabular=true)
./zelvane_bench "${options[@]}" "$@"
# The real path needs a display: a virtual one, 24-bit like a desktop's.
echo
xvfb-run -a -s "-screen 0 1280x800x24" ./zelvane_bench_real "${options[@]}" "$@"
