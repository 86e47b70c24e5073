#!/usr/bin/env bash
# Starts the real game in a virtual X display, checks that its window shows
# level 1, and that SIGTERM ends it cleanly with status 0.
set -u
game=$1
# In a sanitizer build the leak check runs at exit, after the window's OpenGL
# driver (Mesa's DRI module) was unloaded: what the driver still held then
# looks leaked from an unknown module. Loaded ahead of the game, the driver
# stays until the end and its memory stays reachable, so the check sees only
# the game's own; a leak makes the game exit non-zero, which fails this check.
preload=""
asan=$(ldd "$game" | awk '/libasan/ {print $3}')
if [ -n "$asan" ]; then
  for driver in /usr/lib/"$(gcc -print-multiarch)"/dri/swrast_dri.so /usr/lib/dri/swrast_dri.so; do
    [ -f "$driver" ] && { preload="$asan $driver"; break; }
  done
  [ -n "$preload" ] || export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0}"
fi
shot=$(mktemp --suffix=.png)
home=$(mktemp -d)
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
trap 'rm -rf "$shot" "$shot.geometry" "$home"' EXIT
# Keep the screenshot when asked, for people who want to look at it.
[ -n "${ZELVANE_SCREENSHOT:-}" ] && trap 'cp "$shot" "$ZELVANE_SCREENSHOT"; rm -rf "$shot" "$shot.geometry" "$home"' EXIT

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  game=$1; shot=$2; preload=$3
  LD_PRELOAD="$preload" "$game" & pid=$!
  for i in $(seq 1 50); do
    xdotool search --onlyvisible --name "^Zelvane 0.4$" >/dev/null 2>&1 && break
    sleep 0.2
  done
  windows=$(xdotool search --onlyvisible --name "^Zelvane 0.4$" | wc -l)
  sleep 1.5
  import -window root "$shot"
  wid=$(xdotool search --onlyvisible --name "^Zelvane 0.4$" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  geometry="${WIDTH}x${HEIGHT}+${X}+${Y}"
  echo "$geometry" > "$shot.geometry"
  kill -TERM $pid
  wait $pid; status=$?
  echo "windows=$windows status=$status $geometry"
  [ "$windows" = 1 ] || { echo "expected one window titled Zelvane 0.4"; exit 1; }
  echo "$geometry" | grep -q "^1200x720+" || { echo "window is not 1200x720"; exit 1; }
  [ "$status" = 0 ] || { echo "game exited with $status on SIGTERM"; exit 1; }
' _ "$game" "$shot" "$preload" || exit 1

# The frame shows more than a blank window: many distinct colours (background,
# veil, platforms, the hero).
geometry=$(cat "$shot.geometry")
colours=$(convert "$shot" -crop "$geometry" +repage -format %k info:)
echo "distinct colours in the window: $colours"
[ "$colours" -gt 50 ] || { echo "the window looks empty"; exit 1; }
