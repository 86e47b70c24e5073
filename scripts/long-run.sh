#!/usr/bin/env bash
# A long session of the real game in a virtual display, played by xdotool as the
# soak bot plays in-process: level 1 with random driving, firing, reloading,
# switching and the ability, pauses, developer skips into the shop and purchases
# there. Prints the game's resident memory every 30 s and, at the end, its growth
# after the first minute; exits 1 when that grows past the given bound.
#
# usage: scripts/long-run.sh [minutes] [bound-MB] [game]   (default 30, 5, build/zelvane)
set -u
minutes=${1:-30}
bound=${2:-5}
game=$(realpath "${3:-build/zelvane}")
if [ -z "${IN_XVFB:-}" ]; then
    export IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$minutes" "$bound" "$game"
fi
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
log=$(mktemp "${TMPDIR:-/tmp}/zelvane-long-run.XXXXXX")
"$game" > "$log" 2>&1 &
pid=$!
trap 'kill -TERM $pid 2>/dev/null' EXIT
for _ in $(seq 1 100); do
    wid=$(xdotool search --onlyvisible --name "^Zelvane 0.4$" 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "${wid:-}" ] || { echo "no window"; exit 1; }
xdotool windowmove --sync "$wid" 0 0 2>/dev/null
xdotool windowfocus "$wid" 2>/dev/null
sleep 1
rss() { awk '/VmRSS/ {print int($2 / 1024)}' "/proc/$pid/status"; }
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.3; }
# A click somewhere in the shop, never where the pause menu or the main menu
# keeps "Quit To Desktop" (a pause may be open instead of the shop).
shopClick() {
    local x=$((200 + RANDOM % 800)) y=$((150 + RANDOM % 500))
    [ "$x" -ge 400 ] && [ "$x" -le 800 ] && [ "$y" -ge 500 ] && y=$((y - 380))
    click "$x" "$y"
}

click 600 358   # Arcade Mode
click 600 373   # Level 1
RANDOM=1
keys=(a d space r w e j l space space)
start=$(date +%s)
next=$start
first=""
while kill -0 $pid 2>/dev/null; do
    now=$(date +%s)
    elapsed=$((now - start))
    [ "$elapsed" -ge $((minutes * 60)) ] && break
    if [ "$now" -ge "$next" ]; then
        echo "$((elapsed / 60)) min $((elapsed % 60)) s: ${rss:=$(rss)} MB" ; rss=""
        [ -z "$first" ] && [ "$elapsed" -ge 60 ] && first=$(rss)
        next=$((next + 30))
    fi
    case $((RANDOM % 40)) in
        0) xdotool key Escape; sleep 0.5; xdotool key Escape ;;               # pause and resume
        1) xdotool key 1 2 1; sleep 0.5                                        # skip ahead: the shop comes
           for _ in 1 2 3 4 5 6; do shopClick; done
           xdotool key e; sleep 0.2; xdotool key q; sleep 0.2; xdotool key Escape ;;
        *) key=${keys[$((RANDOM % ${#keys[@]}))]}
           xdotool keydown "$key"; sleep 0.$((RANDOM % 5)); xdotool keyup "$key" ;;
    esac
done
if ! kill -0 $pid 2>/dev/null; then
    wait $pid
    echo "the game ended by itself after $(( $(date +%s) - start )) s, status $?; its last lines:"
    tail -5 "$log"
    exit 1
fi
last=$(rss)
echo "after the first minute: ${first:-?} MB; at the end: $last MB"
[ -n "$first" ] && [ $((last - first)) -le "$bound" ] && exit 0
exit 1
