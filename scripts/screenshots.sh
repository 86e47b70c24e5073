#!/usr/bin/env bash
# Makes the README's screenshots: builds the game and its tests, plays the
# scripted play-through in a virtual display and keeps a few of its step
# pictures in docs/screenshots/ (scaled to 900 pixels wide), then draws the
# moments of a fight that last too short to catch in a window (a hit's flash,
# a shot's, a kill's XP, the hurt edges, the first waves' keys) with the
# tests' software canvas.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_missing_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target zelvane zelvane_tests
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
# The moments, at their drawn size; the hurt edges are the whole window.
(cd build && ZELVANE_MOMENTS="$shots" ./zelvane_tests --gtest_filter='Moments.*' --gtest_brief=1)
for name in hit-flash kill-xp muzzle-flash control-hints; do cp "$shots/$name.png" docs/screenshots/; done
convert "$shots/hurt.png" -resize 900x docs/screenshots/hurt.png
echo "Screenshots written to docs/screenshots/"
