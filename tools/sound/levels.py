#!/usr/bin/env python3
"""Measures the rendered sounds: how loud each is, and how the music loop joins.

Usage (from the repo root, after synth.py):
    python3 tools/sound/levels.py

For every WAV in resources/sounds: length, peak and RMS in dBFS, and the DC
offset. For each song: RMS and peak per section of its score, how far its
RMS sits below every effect, and the join: the jump from the last sample to
the first against the largest jumps within 50 ms either side of it and
across the whole loop, and against the median jump just around it, beside
the same figure at every bar line inside (where the music runs on without a
join).
"""

import json
import math
import os
import struct
import sys
import wave

import synth

SEAM_WINDOW = int(0.05 * synth.RATE)
CLICK_WINDOW = 64  # samples, about 1.5 ms: a click lives in a handful of samples


def read_wav(path):
    with wave.open(path, "rb") as w:
        n = w.getnframes()
        return list(struct.unpack("<%dh" % n, w.readframes(n)))


def db(x):
    return 20 * math.log10(x) if x > 0 else float("-inf")


def rms(samples):
    return math.sqrt(sum(v * v for v in samples) / max(1, len(samples))) / 32768.0


def peak(samples):
    return max(abs(v) for v in samples) / 32768.0


def click_ratio(x, k):
    """The jump from sample k to k + 1 (around the loop) over the median jump of
    the CLICK_WINDOW samples either side: a step stands out from its neighbours,
    hiss and notes do not."""
    n = len(x)
    jump = lambda i: abs(x[(i + 1) % n] - x[i % n])
    around = sorted(jump(k + d) for d in range(-CLICK_WINDOW, CLICK_WINDOW + 1) if d != 0)
    return jump(k) / max(1, around[len(around) // 2])


def main():
    with open(synth.RECIPES, "r", encoding="utf-8") as fh:
        recipes = {k: v for k, v in json.load(fh).items() if not k.startswith("_")}
    levels = {}
    print("%-24s %8s %9s %9s %8s" % ("sound", "length", "peak", "RMS", "DC"))
    for name in recipes:
        x = read_wav(os.path.join(synth.OUT_DIR, name + ".wav"))
        levels[name] = db(rms(x))
        print("%-24s %7.2fs %6.1f dB %6.1f dB %8.5f"
              % (name, len(x) / synth.RATE, db(peak(x)), levels[name], sum(x) / len(x) / 32768.0))
    for name, recipe in recipes.items():
        if recipe.get("kind") != "song":
            continue
        x = read_wav(os.path.join(synth.OUT_DIR, name + ".wav"))
        score = synth.read_score(os.path.join(synth.HERE, recipe["score"]))
        bar_n = 4 * 60.0 / score["tempo"] * synth.RATE
        print("\n%s by section:" % name)
        bar = 0
        for section in score["sections"]:
            a, b = int(round(bar * bar_n)), int(round((bar + section["bars"]) * bar_n))
            print("  %-10s bars %2d-%2d  %5.1f-%5.1f s  RMS %6.1f dB  peak %6.1f dB"
                  % (section["name"], bar + 1, bar + section["bars"], a / synth.RATE, b / synth.RATE,
                     db(rms(x[a:b])), db(peak(x[a:b]))))
            bar += section["bars"]
        effects = [k for k, v in recipes.items() if v.get("kind") != "song"]
        print("  RMS below each effect: " + ", ".join(
            "%s %.1f dB" % (k, levels[k] - levels[name]) for k in effects))
        n = len(x)
        seam = abs(x[-1] - x[0])
        near = max(abs(x[i + 1] - x[i]) for i in list(range(n - SEAM_WINDOW, n - 1)) + list(range(SEAM_WINDOW)))
        print("  join: |last - first| = %d; largest jump within 50 ms of it %d, in the whole loop %d"
              % (seam, near, max(abs(x[i + 1] - x[i]) for i in range(n - 1))))
        lines = [click_ratio(x, int(round(b * bar_n)) - 1) for b in range(1, bar)]
        print("  join: jump %.2f x the median jump around it; at the bar lines inside: median %.2f, largest %.2f"
              % (click_ratio(x, n - 1), sorted(lines)[len(lines) // 2], max(lines)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
