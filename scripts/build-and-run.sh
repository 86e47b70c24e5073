#!/usr/bin/env bash
# Builds a release of the game in build/ (the game preset of CMakePresets.json)
# and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}"

cmake --preset game
cmake --build --preset game -j"$(nproc)"
cd build
exec ./zelvane
