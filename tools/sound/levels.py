#!/usr/bin/env python3
"""Measures the rendered sounds: how loud each is, and how the music loop joins.

Usage (from the repo root, after synth.py):
    python3 tools/sound/levels.py

The music is measured as it ships: its Ogg Vorbis file decoded by oggdec
(Debian's vorbis-tools, beside the encoder synth.py uses), so that the
coding's error is in every figure, the join's included.

For every sound: its role, the role's RMS in dBFS from the level table in
recipes.json, and what the file measures: RMS, peak, two listening proxies
(the RMS through an A-weighting filter, which weighs bass and the top end
down as the ear does at modest volume, and the short-term RMS: that of the loudest 25 ms, about as
long as the ear takes to hear a bang out), the DC offset
and the length. Exits with status 1 when a sound is off its role's RMS by
more than 0.1 dB or peaks over the ceiling (an Ogg by more than OGG_PEAK_ALLOWANCE). For each song: RMS and peak per section of its score, its RMS as
it plays (at the table's music_volume, the game's default) and how far the short-term RMS of every
effect stands over that, and the join: the jump from the last sample to
the first against the largest jumps within 50 ms either side of it and
across the whole loop, and against the median jump just around it, beside
the same figure at every bar line inside (where the music runs on without a
join).
"""

import cmath
import json
import math
import os
import struct
import subprocess
import sys
import wave

import synth

SEAM_WINDOW = int(0.05 * synth.RATE)
SHORT_TERM = 0.025  # s
CLICK_WINDOW = 64  # samples, about 1.5 ms: a click lives in a handful of samples
# dB an Ogg's decoded peak may pass the ceiling that its samples met before
# encoding: the coding's error rides on the limited peaks (tests/test_sound_levels.cpp allows the same)
OGG_PEAK_ALLOWANCE = 0.6


def read_wav(path):
    with wave.open(path, "rb") as w:
        n = w.getnframes()
        return list(struct.unpack("<%dh" % n, w.readframes(n)))


def read_ogg(path):
    """The samples of a mono Ogg Vorbis file, decoded to 16-bit by oggdec."""
    try:
        raw = subprocess.run(["oggdec", "--quiet", "--raw", "--bits=16", "--endianness=0", "--sign=1",
                              "--output=-", path], check=True, stdout=subprocess.PIPE).stdout
    except FileNotFoundError:
        raise SystemExit("oggdec not found: apt-get install vorbis-tools") from None
    return list(struct.unpack("<%dh" % (len(raw) // 2), raw))


def read_sound(name, recipe):
    path = synth.sound_path(name, recipe)
    return read_ogg(path) if path.endswith(".ogg") else read_wav(path)


def db(x):
    return 20 * math.log10(x) if x > 0 else float("-inf")


def rms(samples):
    return math.sqrt(sum(v * v for v in samples) / max(1, len(samples))) / 32768.0


def peak(samples):
    return max(abs(v) for v in samples) / 32768.0


def a_weighted(samples):
    """samples through the A-weighting curve, 0 dB at 1 kHz: its analogue
    poles each made a first-order section by the bilinear transform. Up to
    1 dB high from 4 to 10 kHz, 4 dB low at 16 kHz: close enough for a proxy,
    and inside a class-1 sound level meter's tolerance."""
    k = 2.0 * synth.RATE
    sections = []
    for f, high in ((20.598997, True), (20.598997, True), (107.65265, True), (737.86223, True),
                    (12194.217, False), (12194.217, False)):
        w = k * math.tan(math.pi * f / synth.RATE)  # pre-warped to land on f
        b = (k / (k + w), -k / (k + w)) if high else (w / (k + w), w / (k + w))
        sections.append((b[0], b[1], (w - k) / (k + w)))
    z = cmath.exp(-2j * math.pi * 1000.0 / synth.RATE)
    gain = 1.0
    for b0, b1, a1 in sections:
        gain /= abs((b0 + b1 * z) / (1.0 + a1 * z))
    y = [v * gain for v in samples]
    for b0, b1, a1 in sections:
        x1 = y1 = 0.0
        for i, v in enumerate(y):
            y1 = b0 * v + b1 * x1 - a1 * y1
            x1 = v
            y[i] = y1
    return y


def loudest(samples, seconds=SHORT_TERM):
    """The RMS of the loudest stretch of the given length, in steps of 5 ms."""
    w = min(len(samples), int(seconds * synth.RATE))
    return max(rms(samples[i:i + w]) for i in range(0, len(samples) - w + 1, int(0.005 * synth.RATE)))


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
        recipes = json.load(fh)
    table = recipes["_levels"]
    ceiling = table["ceiling_db"]
    recipes = {k: v for k, v in recipes.items() if not k.startswith("_")}
    levels = {}
    short_term = {}
    wrong = []
    print("dBFS; A-wt and 25 ms: the RMS A-weighted and in the loudest 25 ms (short-term), as the ear hears it")
    print("%-20s %-7s %7s %7s %6s %7s %8s %8s %8s %7s"
          % ("sound", "role", "target", "RMS", "off", "peak", "A-wt", "25 ms", "DC", "length"))
    for name, recipe in recipes.items():
        x = read_sound(name, recipe)
        role = recipe.get("role")
        target = table["roles"][role]["rms_db"] if role in table["roles"] else float("nan")
        levels[name] = db(rms(x))
        short_term[name] = db(loudest(x))
        off = levels[name] - target
        top = db(peak(x))
        allowed = ceiling + (OGG_PEAK_ALLOWANCE if synth.sound_path(name, recipe).endswith(".ogg") else 0.0)
        bad = not abs(off) <= 0.1 or top > allowed
        if bad:
            wrong.append(name)
        print("%-20s %-7s %7.1f %7.1f %+6.1f %7.1f %8.1f %8.1f %8.5f %6.2fs%s" % (
            name, role, target, levels[name], off, top, db(rms(a_weighted(x))), short_term[name], sum(x) / len(x) / 32768.0, len(x) / synth.RATE,
            "  <- off its role's level or over the %.1f dBFS ceiling" % allowed if bad else ""))
    for name, recipe in recipes.items():
        if recipe.get("kind") != "song":
            continue
        x = read_sound(name, recipe)
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
        volume = table.get("music_volume", 128)
        playing = levels[name] + db(volume / 128.0)
        print("  as it plays, at music volume %d of 128: RMS %.1f dBFS; the short-term RMS of each effect over it: %s"
              % (volume, playing, ", ".join("%s %+.1f dB" % (k, short_term[k] - playing) for k in effects)))
        n = len(x)
        seam = abs(x[-1] - x[0])
        near = max(abs(x[i + 1] - x[i]) for i in list(range(n - SEAM_WINDOW, n - 1)) + list(range(SEAM_WINDOW)))
        print("  join: |last - first| = %d; largest jump within 50 ms of it %d, in the whole loop %d"
              % (seam, near, max(abs(x[i + 1] - x[i]) for i in range(n - 1))))
        lines = [click_ratio(x, int(round(b * bar_n)) - 1) for b in range(1, bar)]
        print("  join: jump %.2f x the median jump around it; at the bar lines inside: median %.2f, largest %.2f"
              % (click_ratio(x, n - 1), sorted(lines)[len(lines) // 2], max(lines)))
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
