#!/usr/bin/env bash
# The real game on a hostile machine: without a display it says so and exits 1
# instead of running invisibly; an SDL_VIDEODRIVER the user names is obeyed;
# in a virtual display without vsync its still menus cost next to nothing of a
# core (they draw only when something on them changes); and a level that
# cannot be played is not entered: the level select stays, with one line saying so.
#
# usage: hostile_start.sh path/to/zelvane
set -u
game=$(realpath "$1")
phase=${2:-outside}
export SDL_AUDIODRIVER=dummy
# The OpenGL driver's own leaks are not the game's; see window_smoke.sh.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

if [ "$phase" = outside ]; then
    # No display at all, and a display that does not exist.
    for display in none ":4711"; do
        if [ "$display" = none ]; then
            env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$game" > "$work/out" 2>&1
        else
            env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY="$display" timeout 20 "$game" > "$work/out" 2>&1
        fi
        status=$?
        if [ "$status" = 1 ] && grep -q "No display to show the game on" "$work/out" &&
            grep -q "xvfb-run" "$work/out" && grep -q "Initialization failed!" "$work/out"; then
            pass "display $display: told there is no display, exit status 1"
        else
            fail "display $display: exit status $status"
            cat "$work/out"
        fi
    done
    # A driver named by the user is obeyed: no complaint about the display.
    env -u DISPLAY SDL_VIDEODRIVER=offscreen timeout -s TERM 3 "$game" > "$work/out" 2>&1
    if grep -q "No display to show the game on" "$work/out"; then
        fail "SDL_VIDEODRIVER=offscreen was not obeyed"
    else
        pass "SDL_VIDEODRIVER=offscreen is obeyed"
    fi
    xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$1" inside || failures=$((failures + 1))
    [ "$failures" = 0 ] && echo "hostile start: all checks passed"
    exit $((failures > 0))
fi

# Inside a virtual display. A copy of the game whose level 3 is a folder: levels
# are read beside the executable.
cp "$game" "$work/zelvane"
cp -r "$(dirname "$game")/resources" "$work/resources"
rm -f "$work/resources/levels/level3.csv"
mkdir "$work/resources/levels/level3.csv"
cd "$work" || exit 1

cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
SDL_RENDER_VSYNC=0 ./zelvane > "$work/game.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    wid=$(xdotool search --onlyvisible --name "^Zelvane 0.4$" 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "${wid:-}" ] || { echo "FAIL: no window titled Zelvane 0.4"; cat "$work/game.log"; exit 1; }
sleep 1.5

# Without vsync a menu drawn every frame spun a core and more; paced to the
# display it cost a fifth of one. A still menu presents nothing and waits for
# events: well under 5 % here, checked at 10 % for a busy machine's sake.
ticks=$(getconf CLK_TCK)
still() {
    sleep 0.5
    local before=$(cpu "$pid") used
    sleep 2
    used=$(( ($(cpu "$pid") - before) * 100 / (2 * ticks) ))
    [ "$used" -le 10 ] && pass "no vsync: the still $1 uses $used% of a core" || fail "no vsync: the still $1 uses $used% of a core"
}
still "main menu"

# "Arcade Mode", then "Level 3".
xdotool mousemove --window "$wid" 600 358 click 1
sleep 0.5
xdotool mousemove --window "$wid" 600 568 click 1
sleep 1
shot="${ZELVANE_SHOT:-$work/level-select.png}"
# import waits for a click when the window is gone; never let it.
timeout 10 import -window "$wid" "$shot"
# Still on the level select: its second button, and the orange line above the levels.
count() {
    convert "$shot" -crop "$1" +repage -fuzz 8% -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info:
}
[ "$(count 300x20+450+462 "rgb(62,62,86)")" -gt 2000 ] && pass "the level select stays" ||
    fail "the level select is gone"
[ "$(count 600x40+300+295 "rgb(255,190,84)")" -gt 100 ] && pass "one line says the level could not be loaded" ||
    fail "no line above the level buttons"
grep -q "Could not load level file! .*level3.csv: Is a directory" "$work/game.log" &&
    pass "the log names the level file and the reason" || { fail "no level file line"; cat "$work/game.log"; }
still "level select"

# "Back", then "Settings".
xdotool mousemove --window "$wid" 600 666 click 1
sleep 0.5
xdotool mousemove --window "$wid" 600 553 click 1
still "Settings screen"

kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" = 0 ] && pass "SIGTERM ends the game with status 0" || fail "exit status $status on SIGTERM"
exit $((failures > 0))
