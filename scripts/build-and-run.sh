#!/usr/bin/env bash
# Builds a release of the game in build/ and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZELVANE_TESTS=OFF
cmake --build build -j"$(nproc)" --target zelvane
cd build
exec ./zelvane
