#!/usr/bin/env bash
# The game on a desktop, as a player meets it: started from / (not its build
# folder) under a window manager in a virtual X display, it shows the main menu
# with its logo and reports no missing file; resized to 1800 x 1080 it fills the
# window and a click on "Arcade Mode" at its scaled place opens the level select
# with three levels; Alt+Enter fills the screen and back; "Level 3" starts level
# 3 with the hero on its first player spawn; minimising the window during play
# opens the pause menu; SIGTERM ends it with status 0. The fullscreen choice
# is saved: a saved "on" starts the next game fullscreen, and --windowed
# overrides it for one run.
#
# usage: desktop_window.sh path/to/zelvane [screenshot-folder]
set -u
game=$(realpath "$1")
keep=${2:-}
if [ -z "${IN_XVFB:-}" ]; then
    export IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1920x1200x24" bash "$0" "$@"
fi
# The OpenGL driver's own leaks are not the game's; see window_smoke.sh.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

work=$(mktemp -d)
# The settings the game saves go to a home of the check's own.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
settings="$XDG_CONFIG_HOME/zelvane/settings.ini"
wm=""
trap '[ -n "$wm" ] && kill "$wm" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Minimising and fullscreen need a window manager, as on any desktop.
openbox > "$work/wm.log" 2>&1 &
wm=$!
for _ in $(seq 1 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
# The manager announces itself a moment before it maps windows; a window shown
# meanwhile waits for a map that never comes.
sleep 1

cd / || exit 1
# Starts the game with the given arguments and finds its window (wid, pid).
# A second try when the first start showed no window: the virtual display and
# its window manager may still be settling.
start() {
    wid=""
    for attempt in 1 2; do
        "$game" "$@" > "$work/game.log" 2>&1 &
        pid=$!
        for _ in $(seq 1 100); do
            wid=$(xdotool search --onlyvisible --name "^Zelvane 0.4$" 2>/dev/null | tail -1)
            [ -n "$wid" ] && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        [ -n "${wid:-}" ] && break
        # A start caught waiting for the map does not answer SIGTERM.
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        echo "attempt $attempt: no window; the game said:"
        cat "$work/game.log"
        sleep 2
    done
    [ -n "${wid:-}" ] || { echo "FAIL: no window titled Zelvane 0.4"; cat "$work/game.log"; exit 1; }
    sleep 1
    # A slow start (the sanitizer build) may show a short-lived window first: take the one there now.
    wid=$(xdotool search --onlyvisible --name "^Zelvane 0.4$" 2>/dev/null | tail -1)
}
start

shot() {
    current="$work/$1.png"
    # The window can be busy for a moment (a resize, fullscreen): try again.
    for _ in 1 2 3 4 5; do
        import -window "$wid" "$current" 2>/dev/null && break
        sleep 0.3
    done
    [ -n "$keep" ] && cp "$current" "$keep/$1.png"
}
# Pixels of the region WxH+X+Y of the current shot within 8% of a colour.
count() {
    convert "$current" -crop "$1" +repage -fuzz 8% -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info:
}
colours() { convert "$current" -crop "$1" +repage -format %k info:; }
size() { eval "$(xdotool getwindowgeometry --shell "$wid")"; echo "${WIDTH}x${HEIGHT}"; }
# The button's face colour and a region across a button's face, scaled 1.5 times, for a button at design top $1.
BUTTON="rgb(62,62,86)"
buttonRow() { echo "450x30+675+$(( ($1 + 24) * 3 / 2 ))"; }

shot menu
[ "$(colours 1000x200+100+200)" -gt 40 ] && pass "the main menu shows its logo" || fail "no logo on the main menu"
if grep -E "Unable to load|Failed to load|Could not (load|find)|No resources folder" "$work/game.log"; then
    fail "started from / the game misses files"
else
    pass "started from /, every file found"
fi
grep -q "Reading the game's resources from " "$work/game.log" && pass "the resource folder is named" ||
    fail "no line names the resource folder"

timeout 10 xdotool windowsize --sync "$wid" 1800 1080
sleep 0.5
shot menu-1800x1080
[ "$(size)" = 1800x1080 ] && pass "window resized to 1800x1080" || fail "window is $(size)"
# "Quit To Desktop" (design top 615) lies at 1.5 times its place: the design fills the bigger window.
[ "$(count "$(buttonRow 615)" "$BUTTON")" -gt 5000 ] && pass "the menu fills the resized window" ||
    fail "the menu does not fill the resized window"

# "Arcade Mode" (design 420..780 x 322..394) clicked at its scaled place.
xdotool mousemove --window "$wid" 900 537 click 1
sleep 0.5
shot level-select
for top in 337 435 532; do
    [ "$(count "$(buttonRow $top)" "$BUTTON")" -gt 5000 ] && pass "a level button at design top $top" ||
        fail "no level button at design top $top"
done
[ "$(count "$(buttonRow 630)" "$BUTTON")" -gt 5000 ] && pass "three level buttons and Back below them" ||
    fail "no Back below the third level"

xdotool key alt+Return
sleep 1
[ "$(size)" = 1920x1200 ] && pass "Alt+Enter fills the screen" || fail "fullscreen window is $(size)"
xdotool key alt+Return
sleep 1
[ "$(size)" = 1800x1080 ] && pass "Alt+Enter again gives the window back" || fail "window is $(size) after fullscreen"

# "Level 3" (design top 532).
xdotool mousemove --window "$wid" 900 852 click 1
sleep 0.7
shot level-3
# Its first player spawn is row 1, column 5: the hero (75 x 90 design pixels) at design (322, 4).
[ "$(count 112x135+483+6 "rgb(232,132,40)")" -gt 200 ] && pass "level 3: the hero on its first player spawn" ||
    fail "level 3: no hero at its first player spawn"

timeout 10 xdotool windowminimize --sync "$wid" 2>/dev/null || xdotool windowminimize "$wid"
sleep 0.7
timeout 10 xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowactivate "$wid"
sleep 0.7
shot minimised
# The pause menu: "Resume Game" at design top 322 and no heads-up display.
[ "$(count "$(buttonRow 322)" "$BUTTON")" -gt 5000 ] && [ "$(count 300x60+20+20 "rgb(255,255,255)")" -lt 50 ] &&
    pass "minimising during play opens the pause menu" || fail "no pause menu after minimising"

kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" = 0 ] && pass "SIGTERM ends the game with status 0" || fail "exit status $status on SIGTERM"

# Alt+Enter twice: the player's last choice, a window, is what was saved.
grep -qx "fullscreen = off" "$settings" && pass "the fullscreen choice was saved" ||
    fail "no fullscreen = off in $settings"
sed -i 's/^fullscreen = off$/fullscreen = on/' "$settings"
start
[ "$(size)" = 1920x1200 ] && pass "a saved fullscreen starts the game fullscreen" || fail "started at $(size)"
kill -TERM "$pid"
wait "$pid"
start --windowed
[ "$(size)" = 1200x720 ] && pass "--windowed starts it in a window this once" || fail "--windowed started at $(size)"
kill -TERM "$pid"
wait "$pid"
grep -qx "fullscreen = on" "$settings" && pass "--windowed left the saved choice alone" ||
    fail "--windowed changed the saved setting"

if [ "$failures" -gt 0 ]; then
    echo "$failures failed; the game's output:"
    cat "$work/game.log"
    exit 1
fi
echo "desktop window: all checks passed"
