#!/usr/bin/env bash
# The source folders stack like floors: each includes only folders below it.
#   play (loops, frame, screens, the run's objects)    top
#   ui
#   player, enemies (one floor; neither includes the other)
#   world (bodies, platforms, bullets, textures, sounds, level files)
#   platform (window, state, files, resolver)           ground
# Prints every include from one folder of src/ to another with its direction,
# then every source file over 400 lines. Exits 1 when an include runs up or
# sideways, or a file is too long.
set -euo pipefail
cd "$(dirname "$0")/.."
MAX_LINES=400

floor_of() {
    case $1 in
        play) echo 5 ;;
        ui) echo 4 ;;
        player | enemies) echo 3 ;;
        world) echo 2 ;;
        platform) echo 1 ;;
        *) echo 0 ;;
    esac
}

wrong=0
while IFS= read -r file; do
    from=$(basename "$(dirname "$file")")
    while IFS= read -r target; do
        to=${target%%/*}
        [ "$to" = "$from" ] && continue
        if [ "$(floor_of "$from")" -gt "$(floor_of "$to")" ] && [ "$(floor_of "$to")" -gt 0 ]; then
            echo "down     $from -> $to    $file: $target"
        else
            echo "NOT DOWN $from -> $to    $file: $target"
            wrong=$((wrong + 1))
        fi
    done < <(sed -n 's/^#include "\([a-z]*\/[A-Za-z]*\.h\)".*/\1/p' "$file")
    if grep -q '^#include "[A-Za-z]*\.h"' "$file"; then
        echo "NO FLOOR $file: $(grep -m1 '^#include "[A-Za-z]*\.h"' "$file")"
        wrong=$((wrong + 1))
    fi
    lines=$(wc -l < "$file")
    if [ "$lines" -gt "$MAX_LINES" ]; then
        echo "TOO LONG $file: $lines lines, more than $MAX_LINES"
        wrong=$((wrong + 1))
    fi
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

if [ "$wrong" -gt 0 ]; then
    echo "$wrong include(s) or file(s) break the floors"
    exit 1
fi
echo "Every include between folders runs down; no source file over $MAX_LINES lines."
