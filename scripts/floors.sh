#!/usr/bin/env bash
# The source folders stack like floors: each includes only folders below it.
#   play (loops, frame, screens, the run's objects)    top
#   ui
#   player, enemies (one floor; neither includes the other)
#   world (bodies, platforms, bullets, textures, sounds, level files)
#   platform (window, state, files, resolver)           ground
# Prints every include from one folder of src/ to another with its direction,
# then every source file over 400 lines. Exits 1 when an include runs up or
# sideways, names no folder, or a file is too long.
set -euo pipefail
cd "$(dirname "$0")/.."

find src -name '*.h' -o -name '*.cpp' | sort | xargs awk -v max=400 '
    BEGIN {
        floor["play"] = 5; floor["ui"] = 4; floor["player"] = 3; floor["enemies"] = 3
        floor["world"] = 2; floor["platform"] = 1
    }
    FNR == 1 {
        if (NR > 1) tooLong(previous, lines)
        n = split(FILENAME, parts, "/"); from = parts[n - 1]; lines = 0
    }
    { lines++; previous = FILENAME }
    /^#include "[A-Za-z]+\.h"/ { print "NO FLOOR " FILENAME ": " $0; wrong++ }
    /^#include "[a-z]+\/[A-Za-z]+\.h"/ {
        target = $2; gsub(/"/, "", target); split(target, t, "/"); to = t[1]
        if (to == from) next
        if ((to in floor) && floor[from] > floor[to]) print "down     " from " -> " to "    " FILENAME ": " target
        else { print "NOT DOWN " from " -> " to "    " FILENAME ": " target; wrong++ }
    }
    function tooLong(file, count) {
        if (count > max) { print "TOO LONG " file ": " count " lines, more than " max; wrong++ }
    }
    END {
        tooLong(previous, lines)
        if (wrong > 0) { print wrong " include(s) or file(s) break the floors"; exit 1 }
        print "Every include between folders runs down; no source file over " max " lines."
    }'
