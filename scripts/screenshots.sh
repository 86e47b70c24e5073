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
# The heads-up display's bottom corners at their own size: the bars' pictures are 24 pixels.
convert "$shots/fight.png" -crop 1200x160+0+560 +repage "docs/screenshots/display.png"
# The shop's tab keys and a titled tooltip, unscaled.
convert "$shots/shop-tooltip.png" -crop 760x160+340+0 +repage "docs/screenshots/shop-tabs.png"
convert "$shots/shop-tooltip.png" -crop 640x140+360+530 +repage "docs/screenshots/tooltip.png"
echo "Screenshots written to docs/screenshots/"
