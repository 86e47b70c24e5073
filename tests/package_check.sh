#!/usr/bin/env bash
# Installs the game as a user would and plays its first screen from there:
#  1. `cmake --install` into a scratch prefix: every file in its place, nothing
#     else (no tests, benchmarks or test libraries), the font a link to the
#     system's DejaVu Sans, icons at their sizes with real transparency, the
#     desktop entry and AppStream file valid by Debian's own tools;
#  2. the Debian package made by CPack: lintian reports no error, the control
#     data names the game's dependencies, the contents unpack with dpkg -x;
#     when every check passes it is kept in the build folder;
#  3. both installed games, started from / in a virtual display: the main menu
#     shows its logo, nothing fails to load, SIGTERM ends them with status 0;
#  4. the packaged game's start-up: the median time from exec to its first
#     menu frame over several starts from /, printed, with a loose bound.
#
# usage: package_check.sh <build-dir>      (after a build of the zelvane target)
set -u
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
app=org.zelvane.Zelvane
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
export SDL_AUDIODRIVER=dummy
# The OpenGL driver's own leaks are not the game's; see window_smoke.sh.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zelvane-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
expect() { if eval "$2"; then pass "$1"; else fail "$1"; fi; }

# Every file of an installed tree, relative to its prefix, must be one of these
# (extended regular expressions); $1 is where the game's binary goes.
allowed() {
    local bin=$1
    cat <<EOF
^$bin/zelvane$
^share/zelvane/resources/(textures|sounds|levels)/.+$
^share/zelvane/resources/(mapping\.txt|sans\.ttf)$
^share/applications/$app\.desktop$
^share/metainfo/$app\.metainfo\.xml$
^share/icons/hicolor/(32x32|64x64|128x128|256x256)/apps/$app\.png$
^share/man/man6/zelvane\.6\.gz$
^share/doc/zelvane/(copyright|changelog\.gz)$
^share/lintian/overrides/zelvane$
EOF
}

# Checks the tree at prefix $1 with the game in $1/$2; $3 names the tree.
check_tree() {
    local prefix=$1 bin=$2 name=$3
    local resources=$prefix/share/zelvane/resources
    expect "$name: the game is installed and executable" "[ -x '$prefix/$bin/zelvane' ]"

    local stray
    stray=$(cd "$prefix" && find . -mindepth 1 ! -type d | sed 's|^\./||' | grep -Ev -f <(allowed "$bin"))
    expect "$name: nothing installed but the game and its files${stray:+ (also: $(echo $stray))}" "[ -z '$stray' ]"

    # The whole resources/ folder of the source tree, byte for byte.
    local missing="" file
    while IFS= read -r file; do
        cmp -s "$source_dir/resources/$file" "$resources/$file" || missing+=" $file"
    done < <(cd "$source_dir/resources" && find . -type f ! -name sans.ttf | sed 's|^\./||')
    expect "$name: every resource file in place${missing:+ (missing or different:$missing)}" "[ -z '$missing' ]"
    expect "$name: the logo and level 3 are there" \
        "[ -s '$resources/textures/logo.png' ] && [ -s '$resources/levels/level3.csv' ]"

    expect "$name: sans.ttf is a link, not a copy of the font" "[ -L '$resources/sans.ttf' ]"

    local size icon
    for size in 32 64 128 256; do
        icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png
        expect "$name: ${size} px icon is ${size}x${size} with a transparent corner" \
            "[ \"\$(identify -format '%wx%h %[fx:p{0,0}.a]' '$icon' 2>/dev/null)\" = '${size}x${size} 0' ]"
    done

    local out
    out=$(desktop-file-validate "$prefix/share/applications/$app.desktop" 2>&1)
    expect "$name: desktop-file-validate has nothing to say${out:+: $out}" "[ -z \"\$out\" ]"
    local status
    out=$(appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" 2>&1)
    status=$?
    expect "$name: appstreamcli validate passes" "[ $status = 0 ]" || echo "$out"
    expect "$name: the manual page reads" "zcat '$prefix/share/man/man6/zelvane.6.gz' | grep -q '^\.TH ZELVANE 6'"
}

# Starts the game at $1 from / in its own virtual display, screenshots the main
# menu, stops it with SIGTERM and checks what it showed and printed.
run_installed() {
    local game=$1 name=$2
    local log=$scratch/$name.log shot=$scratch/$name.png
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        game=$1; log=$2; shot=$3
        cd /
        "$game" >"$log" 2>&1 & pid=$!
        wid=""
        for _ in $(seq 1 100); do
            wid=$(xdotool search --onlyvisible --name "^Zelvane 0.4$" 2>/dev/null | head -1)
            [ -n "$wid" ] && break
            kill -0 $pid 2>/dev/null || break
            sleep 0.1
        done
        if [ -z "$wid" ]; then
            echo "no window titled Zelvane 0.4"
            kill -TERM $pid 2>/dev/null; wait $pid
            exit 1
        fi
        sleep 1.5
        eval "$(xdotool getwindowgeometry --shell "$wid")"
        import -window root -crop "1200x720+${X}+${Y}" +repage "$shot"
        kill -TERM $pid
        wait $pid
        status=$?
        [ "$status" = 0 ] || echo "exit status $status on SIGTERM"
        exit $status
    ' _ "$game" "$log" "$shot"
    local status=$?
    expect "$name: the game opens its window and exits with 0 on SIGTERM (status $status)" "[ $status = 0 ]"

    if [ -s "$shot" ]; then
        # The logo is drawn at (259, 150), 681 x 138, mostly in the hero's warm
        # orange and yellow (some 15,000 pixels); the backdrop has none. The
        # first button's label is white text, which needs the font.
        local warm white
        warm=$(convert "$shot" -crop 681x138+259+150 +repage -fx 'r > 0.78 && g > 0.39 && b < 0.55' \
                   -format '%[fx:round(mean*w*h)]' info:)
        expect "$name: the main menu shows the logo ($warm warm pixels)" "[ '$warm' -ge 5000 ]"
        white=$(convert "$shot" -crop 300x40+450+338 +repage -fx 'r > 0.9 && g > 0.9 && b > 0.9' \
                    -format '%[fx:round(mean*w*h)]' info:)
        expect "$name: the first button has its label ($white white pixels)" "[ '$white' -ge 300 ]"
    else
        fail "$name: no screenshot"
    fi

    local failed
    failed=$(grep -E "Unable to load image|Failed to load|Could not load|Could not find" "$log")
    expect "$name: nothing failed to load${failed:+: $failed}" "[ -z \"\$failed\" ]"
    expect "$name: the resources came from the installed data folder" \
        "grep -q \"Reading the game's resources from .*share/zelvane/\" '$log'" || cat "$log"
}

echo "== cmake --install into a scratch prefix"
prefix=$scratch/prefix
if cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
    pass "cmake --install"
    check_tree "$prefix" bin "prefix"
    expect "prefix: the font link points to the system's DejaVu Sans" \
        "[ \"\$(readlink '$prefix/share/zelvane/resources/sans.ttf')\" = '$font' ]"
else
    fail "cmake --install"; cat "$scratch/install.log"
fi

echo "== The Debian package"
deb=$scratch/deb/zelvane_0.4_amd64.deb
if "${CPACK:-cpack}" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >"$scratch/cpack.log" 2>&1 && [ -f "$deb" ]; then
    pass "cpack made zelvane_0.4_amd64.deb ($(stat -c %s "$deb") bytes)"
    lintian_out=$(lintian "$deb" 2>&1 | grep -v "running with root privileges")
    [ -n "$lintian_out" ] && echo "$lintian_out"
    expect "lintian reports no error" "! grep -q '^E:' <<<\"\$lintian_out\""
    depends=$(dpkg-deb -f "$deb" Depends)
    expect "the package depends on fonts-dejavu-core and SDL2 ($depends)" \
        "grep -q 'fonts-dejavu-core' <<<'$depends' && grep -q 'libsdl2-2.0' <<<'$depends' && grep -q 'libsdl2-ttf' <<<'$depends'"
    expect "package zelvane 0.4 for amd64 in section games" \
        "[ \"\$(dpkg-deb -f '$deb' Package Version Architecture Section | tr '\n' ' ')\" = 'Package: zelvane Version: 0.4 Architecture: amd64 Section: games ' ]"

    root=$scratch/root
    if dpkg -x "$deb" "$root"; then
        pass "dpkg -x"
        check_tree "$root/usr" games "package"
        expect "package: the game's binary is stripped" "file -b '$root/usr/games/zelvane' | grep -q ', stripped'"
        # Relative within /usr: inside the unpacked root it lands on the path
        # fonts-dejavu-core installs. Put the font there, as the dependency would.
        expect "package: the font link leads to the system's DejaVu Sans" \
            "[ \"\$(readlink -m '$root/usr/share/zelvane/resources/sans.ttf')\" = '$root$font' ]"
        mkdir -p "$root$(dirname "$font")"
        ln -s "$font" "$root$font"
    else
        fail "dpkg -x"
    fi
else
    fail "cpack -G DEB"; cat "$scratch/cpack.log"
fi

echo "== The installed games, started from /"
[ -x "$prefix/bin/zelvane" ] && run_installed "$prefix/bin/zelvane" "prefix"
[ -x "${root:-/nonexistent}/usr/games/zelvane" ] && run_installed "$root/usr/games/zelvane" "package"

# Milliseconds from exec to the first menu frame (the game logs the wall clock
# at that frame when ZELVANE_TELL_FIRST_FRAME is set) for each of $2 starts of
# the game at $1 from /, in one virtual display; one line per start, sorted.
first_frame_times() {
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        game=$1; starts=$2; log=$3
        cd /
        for _ in $(seq 1 "$starts"); do
            begin=${EPOCHREALTIME//[!0-9]/}
            ZELVANE_TELL_FIRST_FRAME=1 "$game" >"$log" 2>&1 & pid=$!
            shown=""
            for _ in $(seq 1 250); do
                shown=$(sed -n "s/.*First menu frame shown at \([0-9]*\) us.*/\1/p" "$log")
                [ -n "$shown" ] && break
                kill -0 $pid 2>/dev/null || break
                sleep 0.02
            done
            kill -TERM $pid 2>/dev/null
            wait $pid
            [ -n "$shown" ] && echo $(((shown - begin) / 1000))
        done
    ' _ "$1" "$2" "$scratch/first-frame.log" | sort -n
}

echo "== Start-up of the packaged game, from /"
if [ -x "${root:-/nonexistent}/usr/games/zelvane" ]; then
    starts=7
    times=($(first_frame_times "$root/usr/games/zelvane" $starts))
    if [ "${#times[@]}" = "$starts" ]; then
        median=${times[$((starts / 2))]}
        echo "first menu frame: median $median ms after start over $starts starts (${times[*]} ms)"
        # The aim is 200 ms on an idle machine; the bound only catches a start
        # that went wrong (a resource decoded whole again, a wait), not load.
        expect "the first menu frame within 1000 ms of start (median $median ms)" "[ $median -le 1000 ]"
    else
        fail "start-up: only ${#times[@]} of $starts starts showed a menu frame"
    fi
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
# The package checked is the build's package.
cp "$deb" "$build/"
echo "every check passed; $build/zelvane_0.4_amd64.deb kept"
