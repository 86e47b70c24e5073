#!/usr/bin/env bash
# Makes the README's screenshots: builds the game, plays the scripted
# play-through in a virtual display, and keeps a few of its step pictures in
# docs/screenshots/ (scaled to 900 pixels wide).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}" xvfb xauth xdotool imagemagick

cmake --preset game >/dev/null
cmake --build --preset game -j"$(nproc)"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
(cd build && bash ../tests/playthrough.sh ./zelvane "$shots")

mkdir -p docs/screenshots
for name in main-menu level-select fight pause-menu shop-weapons shop-abilities shop-player shop-tooltip; do
    convert "$shots/$name.png" -resize 900x "docs/screenshots/$name.png"
done
echo "Screenshots written to docs/screenshots/"
