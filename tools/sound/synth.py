#!/usr/bin/env python3
"""Renders the game's sound effects and music loop from recipes.json (and song.score).

Usage (from the repo root):
    python3 tools/sound/synth.py            # render everything
    python3 tools/sound/synth.py NAME ...   # render only the named sounds
    python3 tools/sound/synth.py --list     # list recipe names

Standard library only, and every random source is seeded from the recipe,
so the same recipes always produce byte-identical files. Effects are written
as WAV (resources/sounds/NAME.wav, 44100 Hz mono 16-bit), which the game
decodes once. The music loop is written as Ogg Vorbis (NAME.ogg), which the
game streams as it plays: its samples, quantised as a WAV's would be, are
piped through oggenc from Debian's vorbis-tools (apt-get install vorbis-tools)
at the recipe's "quality", with a fixed stream serial so that the file too
comes out the same every time. Only this tool needs the encoder: the .ogg is
committed.

Recipe vocabulary (see recipes.json):
  A sound is a list of layers mixed together. A layer is one voice:
    wave        sine | triangle | saw | square | noise | crackle
    freq        Hz, or [start, end] for a pitch sweep
    sweep       seconds the sweep takes (default: whole layer); curve "exp"|"lin"
    duty        pulse width for square (0..1)
    partials    sine only: [[ratio, gain, decay_s], ...] additive partials,
                inharmonic ratios give metallic / bell tones
    rate        noise only: Hz or [start, end]; sample-and-hold noise that is
                re-drawn at this rate (lower = grittier, chip-style noise)
    density     crackle only: pops per second
    start / at  start time in seconds, or a list of start times (repeats)
    length      seconds
    attack, hold, decay   envelope: linear attack, hold, then exponential
                decay reaching -60 dB after `decay` seconds
    sustain, release      used by music notes (level the decay settles to;
                          linear release after the note's gate closes)
    filters     list of {type: lowpass|highpass|bandpass, cutoff: Hz or
                [start, end], q, sweep}
    vibrato     {rate, depth (semitones), delay}
    tremolo     {rate, depth 0..1, shape: sine|square}
    drive       soft-clip gain (tanh) for grit
    volume      linear gain of the layer
  Sound-level fields: length, fade_in, fade_out, drive (saturation of the
  whole mix, for punch), seed, role.

Loudness: every recipe names its "role" (shot, hit, reload, music, ...), and
the "_levels" table in recipes.json gives each role its RMS in dBFS, once for
every sound of that role, and the ceiling no peak may pass. Levels go by RMS,
not peak: a peak says little of how loud a sound is heard. An effect whose
peak would pass the ceiling at its RMS is turned down there by a look-ahead
limiter (at most LIMIT_MAX_DB) and its gain raised again until the RMS is on
target. The music loop is limited the same way, round its join: the limiter
sees its end followed by its start, as the mixer plays it.

Music (a recipe with "kind": "song"):
  score         the score file next to this tool (song.score describes its
                notation: tempo, phrases of bars, sections that play them)
  instruments   name -> {layers, volume, vary}: layers as above, pitched by
                the note ("ratio" multiplies it); a layer without "length"
                lasts the note plus its release. "vary": render every hit
                afresh (drums). {"like": OTHER, ...} is OTHER with those
                fields replaced.
  tracks        name -> {instrument, volume, gate (share of the note's length
                that it sounds), echo {steps (sixteenths), repeats, feedback}}
                or, for drums, {drums: {letter: instrument}, volume}
  quality       the Vorbis quality oggenc encodes the loop at (-1 to 10)
  The loop is mixed round: whatever rings past its end sounds at its start.
"""

import json
import math
import os
import random
import re
import struct
import subprocess
import sys
import wave
import zlib
from fractions import Fraction

RATE = 44100
DRIVE_LEVEL = 10 ** (-3.0 / 20.0)  # a mix meets its "drive" peaking at -3 dBFS
LIMIT_MAX_DB = 3.0        # the most the limiter may take off a peak before it is heard
LIMIT_LOOKAHEAD = 0.0015  # s: the gain is down before the peak arrives ...
LIMIT_RELEASE = 0.04      # s: ... and comes back with this time constant, over many cycles
LN1000 = math.log(1000.0)    # exp decay constant reaching -60 dB

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
OUT_DIR = os.path.join(REPO, "resources", "sounds")
RECIPES = os.path.join(HERE, "recipes.json")

NOTE_OFFSETS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note_freq(name):
    """'A4' -> 440.0, 'G#5', 'Bb3' also accepted."""
    return midi_freq(note_midi(name))


def pair(v):
    """Scalar or [a, b] -> (a, b)."""
    if isinstance(v, (list, tuple)):
        return float(v[0]), float(v[1])
    return float(v), float(v)


def sweep_fn(v, sweep_time, curve, length):
    """Returns f(t) moving from start to end over sweep_time, then holding."""
    a, b = pair(v)
    if a == b:
        return None, a
    st = sweep_time if sweep_time else length
    st = max(st, 1e-6)
    if curve == "lin" or a <= 0 or b <= 0:
        return (lambda t: a + (b - a) * min(t / st, 1.0)), a
    ratio = math.log(b / a)
    return (lambda t: a * math.exp(ratio * min(t / st, 1.0))), a


def poly_blep(t, dt):
    # Softens the waveform discontinuity so saw/square alias less.
    if t < dt:
        t /= dt
        return t + t - t * t - 1.0
    if t > 1.0 - dt:
        t = (t - 1.0) / dt
        return t * t + t + t + 1.0
    return 0.0


class SVF:
    """Topology-preserving state-variable filter; stable under fast cutoff sweeps."""

    def __init__(self, params, length):
        self.kind = params.get("type", "lowpass")
        self.k = 1.0 / float(params.get("q", 0.707))
        self.fn, f0 = sweep_fn(params["cutoff"], params.get("sweep"), params.get("curve", "exp"), length)
        self.ic1 = self.ic2 = 0.0
        self._set(f0)

    def _set(self, fc):
        fc = min(max(fc, 10.0), RATE * 0.45)
        g = math.tan(math.pi * fc / RATE)
        self.a1 = 1.0 / (1.0 + g * (g + self.k))
        self.a2 = g * self.a1
        self.a3 = g * self.a2

    def process(self, x, t):
        if self.fn is not None:
            self._set(self.fn(t))
        v3 = x - self.ic2
        v1 = self.a1 * self.ic1 + self.a2 * v3
        v2 = self.ic2 + self.a2 * self.ic1 + self.a3 * v3
        self.ic1 = 2.0 * v1 - self.ic1
        self.ic2 = 2.0 * v2 - self.ic2
        if self.kind == "lowpass":
            return v2
        if self.kind == "highpass":
            return x - self.k * v1 - v2
        if self.kind == "bandpass":
            return v1 * self.k  # unity gain at the centre
        raise ValueError("unknown filter type " + self.kind)


def render_layer(layer, rng, base_freq=None, gate=None):
    """Renders one layer to a list of floats.

    base_freq: note pitch for music instruments (layer 'ratio' multiplies it).
    gate: note-on time for music; the layer then lasts gate + release.
    """
    attack = float(layer.get("attack", 0.002))
    hold = float(layer.get("hold", 0.0))
    decay = layer.get("decay")
    sustain = float(layer.get("sustain", 0.0))
    release = float(layer.get("release", 0.0))
    if gate is not None:
        length = gate + release
    else:
        length = float(layer["length"])
    n = max(1, int(round(length * RATE)))
    fade_out = float(layer.get("fade_out", 0.004))
    volume = float(layer.get("volume", 1.0))

    wave_kind = layer.get("wave", "sine")
    if base_freq is not None and "freq" not in layer:
        r = float(layer.get("ratio", 1.0))
        drop = float(layer.get("end_ratio", r))
        freq_src = [base_freq * r, base_freq * drop]
    else:
        freq_src = layer.get("freq", 440.0)
    detune = 2 ** (float(layer.get("detune", 0.0)) / 1200.0)
    f_fn, f_const = sweep_fn(freq_src, layer.get("sweep"), layer.get("curve", "exp"), length)

    duty = float(layer.get("duty", 0.5))
    dc = 2.0 * duty - 1.0  # keeps pulse waves centred on zero
    partials = layer.get("partials", [[1.0, 1.0]])
    partials = [(float(p[0]), float(p[1]), float(p[2]) if len(p) > 2 else None) for p in partials]
    rate_fn, rate_const = sweep_fn(layer.get("rate", RATE), layer.get("sweep"), "exp", length)
    density = float(layer.get("density", 100.0))

    vib = layer.get("vibrato")
    trem = layer.get("tremolo")
    filters = [SVF(f, length) for f in layer.get("filters", [])]
    drive = layer.get("drive")

    out = [0.0] * n
    phase = 0.0
    pphase = [0.0] * len(partials)
    noise_phase = 1.0
    noise_val = 0.0
    two_pi = 2.0 * math.pi
    attack_n = attack * RATE
    hold_end = attack + hold
    for i in range(n):
        t = i / RATE
        # --- oscillator
        f = f_fn(t) if f_fn is not None else f_const
        f *= detune
        if vib is not None and t >= vib.get("delay", 0.0):
            f *= 2 ** (vib["depth"] * math.sin(two_pi * vib["rate"] * t) / 12.0)
        dt = f / RATE
        if wave_kind == "sine":
            # every partial keeps its own phase: inharmonic ratios applied to
            # the wrapped base phase would jump at each wrap and buzz
            s = 0.0
            for k, (ratio, gain, pdecay) in enumerate(partials):
                g = gain
                if pdecay is not None:
                    g *= math.exp(-LN1000 * t / pdecay)
                s += g * math.sin(two_pi * pphase[k])
                pphase[k] = (pphase[k] + dt * ratio) % 1.0
        elif wave_kind == "triangle":
            s = 4.0 * abs(phase - 0.5) - 1.0
        elif wave_kind == "saw":
            s = 2.0 * phase - 1.0 - poly_blep(phase, dt)
        elif wave_kind == "square":
            s = 1.0 if phase < duty else -1.0
            s += poly_blep(phase, dt)
            s -= poly_blep((phase - duty) % 1.0, dt)
            s -= dc
        elif wave_kind == "noise":
            r = rate_fn(t) if rate_fn is not None else rate_const
            noise_phase += r / RATE
            if noise_phase >= 1.0:
                noise_phase -= int(noise_phase)
                noise_val = rng.uniform(-1.0, 1.0)
            s = noise_val
        elif wave_kind == "crackle":
            s = 0.0
            if rng.random() < density / RATE:
                s = rng.uniform(-1.0, 1.0) * (0.3 + 0.7 * rng.random())
        else:
            raise ValueError("unknown wave " + wave_kind)
        phase += dt
        if phase >= 1.0:
            phase -= int(phase)

        # --- envelope
        if i < attack_n:
            env = i / attack_n
        elif t < hold_end or decay is None:
            env = 1.0
        else:
            d = math.exp(-LN1000 * (t - hold_end) / float(decay))
            env = sustain + (1.0 - sustain) * d
        if gate is not None and t >= gate:
            # release fades from wherever the envelope stood at the gate
            if release > 0:
                env *= max(0.0, 1.0 - (t - gate) / release)
            else:
                env = 0.0
        if trem is not None:
            ph = (trem["rate"] * t) % 1.0
            if trem.get("shape", "sine") == "square":
                # rounded edges: a hard on/off gate would click on every cycle
                m = 0.5 + 0.5 * math.tanh(5.0 * math.cos(two_pi * ph))
            else:
                m = 0.5 + 0.5 * math.cos(two_pi * ph)
            env *= 1.0 - trem["depth"] * (1.0 - m)

        for flt in filters:
            s = flt.process(s, t)
        if drive is not None:
            s = math.tanh(s * drive) / math.tanh(drive)
        out[i] = s * env * volume

    # short fade at the very end so nothing is cut off mid-wave
    fn = min(n, int(fade_out * RATE))
    for j in range(fn):
        out[n - 1 - j] *= j / fn
    return out


def mix_into(buf, src, offset, gain=1.0, wrap=False):
    # in slices, one per stretch up to the buffer's end: a minute of music
    # mixes thousands of notes
    n = len(buf)
    pos = 0
    while pos < len(src):
        k = offset + pos
        if wrap:
            k %= n
        elif k >= n:
            break
        m = min(len(src) - pos, n - k)
        buf[k:k + m] = [b + v * gain for b, v in zip(buf[k:k + m], src[pos:pos + m])]
        pos += m


def seed_for(name, recipe):
    return int(recipe.get("seed", zlib.crc32(name.encode("utf-8"))))


def render_effect(name, recipe, levels):
    """-> (samples, dB the limiter took off the highest peak)."""
    rng = random.Random(seed_for(name, recipe))
    length = float(recipe["length"])
    n = int(round(length * RATE))
    buf = [0.0] * n
    for layer in recipe["layers"]:
        starts = layer.get("at", [layer.get("start", 0.0)])
        lay_len = layer.get("length", length - min(starts))
        params = dict(layer, length=lay_len)
        for st in starts:
            # each repeat gets fresh noise so repeated clicks are not identical
            mix_into(buf, render_layer(params, rng), int(round(float(st) * RATE)))
    remove_dc(buf)
    drive = recipe.get("drive")
    if drive:
        # gentle saturation lifts the body relative to the first transient
        g = DRIVE_LEVEL / (max(abs(v) for v in buf) or 1.0)
        buf[:] = [v * g for v in buf]
        k = float(drive)
        buf[:] = [math.tanh(v * k) for v in buf]
        remove_dc(buf)
    fade(buf, float(recipe.get("fade_in", 0.0005)), float(recipe.get("fade_out", 0.01)))
    rms_db, ceiling = role_level(name, recipe, levels)
    return buf, set_level(buf, rms_db, ceiling, name)


class ScoreError(ValueError):
    """A mistake in a score file, with its file and line."""


PHRASE_REF = re.compile(r"^([A-Za-z_][A-Za-z0-9_.]*?)([+-][0-9]+)?$")
COMMENT = re.compile(r"(^|\s)#.*$")  # a '#' inside a token is a sharp


def read_score(path):
    """Reads a score file (song.score shows the notation).

    Returns {"tempo": bpm, "phrases": {name: [bar, ...]}, "sections": [...]}
    where a bar is its list of tokens and a section is a dict with "name",
    "bars", "where" (file:line) and "tracks": {track: (gain, [(bar, shift), ...])}.
    """
    base = os.path.basename(path)
    with open(path, "r", encoding="utf-8") as fh:
        lines = fh.read().splitlines()
    tempo = None
    phrases = {}
    sections = []
    pending = []  # (section, track, words, where): expanded once every phrase is known
    phrase = section = None
    for lineno, line in enumerate(lines, 1):
        text = COMMENT.sub("", line).rstrip()
        if not text.strip():
            continue
        where = "%s:%d" % (base, lineno)
        words = text.split()
        if text[0].isspace():
            if phrase is not None:
                phrase.append(words)
            elif section is not None:
                track = words[0]
                if any(p[0] is section and p[1] == track for p in pending):
                    raise ScoreError("%s: track %s twice in section %s" % (where, track, section["name"]))
                pending.append((section, track, words[1:], where))
            else:
                raise ScoreError(where + ": indented line outside a phrase or section")
            continue
        phrase = section = None
        if words[0] == "tempo" and len(words) == 2:
            tempo = float(words[1])
        elif words[0] == "phrase" and len(words) == 2:
            name = words[1]
            if not PHRASE_REF.match(name) or PHRASE_REF.match(name).group(2):
                raise ScoreError("%s: bad phrase name %r (letters, digits, '_' and '.')" % (where, name))
            if name in phrases:
                raise ScoreError("%s: phrase %s defined twice" % (where, name))
            phrase = phrases[name] = []
        elif words[0] == "section" and len(words) == 3 and words[2].isdigit():
            section = {"name": words[1], "bars": int(words[2]), "where": where, "tracks": {}}
            sections.append(section)
        else:
            raise ScoreError(where + ": expected 'tempo BPM', 'phrase NAME' or 'section NAME BARS'")
    if tempo is None:
        raise ScoreError(base + ": no tempo line")
    for name, bars in phrases.items():
        if not bars:
            raise ScoreError("%s: phrase %s has no bars" % (base, name))
    for section, track, items, where in pending:
        gain, bars = expand_items(items, phrases, where)
        if len(bars) != section["bars"]:
            raise ScoreError("%s: track %s plays %d bars in section %s of %d bars"
                             % (where, track, len(bars), section["name"], section["bars"]))
        section["tracks"][track] = (gain, bars)
    return {"tempo": tempo, "phrases": phrases, "sections": sections}


def expand_items(items, phrases, where):
    """A track's line of a section -> (gain, [(bar tokens, semitone shift), ...]).

    Items: NAME plays a phrase, NAME+N / NAME-N plays it transposed by N
    semitones, xN plays the item before N times in all, 'rest' is a silent
    bar, @G sets the track's gain in this section.
    """
    gain = 1.0
    bars = []
    last = None
    for item in items:
        if item.startswith("@"):
            try:
                gain = float(item[1:])
            except ValueError:
                raise ScoreError("%s: bad gain %r" % (where, item)) from None
        elif re.fullmatch(r"x[0-9]+", item):
            if last is None or int(item[1:]) < 1:
                raise ScoreError("%s: %s repeats nothing" % (where, item))
            bars.extend(last * (int(item[1:]) - 1))
            last = None
        elif item == "rest":
            last = [(["."], 0)]
            bars.extend(last)
        else:
            m = PHRASE_REF.match(item)
            if m is None or m.group(1) not in phrases:
                raise ScoreError("%s: unknown phrase %r" % (where, item))
            shift = int(m.group(2) or 0)
            last = [(bar, shift) for bar in phrases[m.group(1)]]
            bars.extend(last)
    return gain, bars


def score_events(score, track_names):
    """Lays the sections end to end -> ({track: [event, ...]}, total bars).

    An event is [start, length, token, shift, gain, where] with start and
    length in bars (exact fractions) and where naming its section and bar. Every bar divides into as many equal steps as it
    has tokens: a token starts an event, '-' holds the one before (across bar
    lines and sections too), '.' rests.
    """
    for section in score["sections"]:
        for track in section["tracks"]:
            if track not in track_names:
                raise ScoreError("%s: unknown track %s" % (section["where"], track))
    events = {t: [] for t in track_names}
    bar0 = 0
    for section in score["sections"]:
        for track in track_names:
            gain, bars = section["tracks"].get(track, (1.0, [(["."], 0)] * section["bars"]))
            held = events[track][-1] if events[track] else None
            for i, (tokens, shift) in enumerate(bars):
                step = Fraction(1, len(tokens))
                for j, tok in enumerate(tokens):
                    at = bar0 + i + j * step
                    if tok == "-":
                        if held is None or held[0] + held[1] != at:
                            raise ScoreError("%s: track %s, bar %d of section %s: '-' holds nothing"
                                             % (section["where"], track, i + 1, section["name"]))
                        held[1] += step
                    elif tok == ".":
                        held = None
                    else:
                        held = [at, step, tok, shift, gain,
                                "section %s, bar %d" % (section["name"], i + 1)]
                        events[track].append(held)
        bar0 += section["bars"]
    return events, bar0


def note_midi(name):
    """'A4' -> 69; 'G#5', 'Bb3' also accepted."""
    letter = name[0].upper() if name else "?"
    if letter not in NOTE_OFFSETS:
        raise ScoreError("not a note: %r" % name)
    rest = name[1:]
    semis = NOTE_OFFSETS[letter]
    while rest and rest[0] in "#b":
        semis += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    if not rest.isdigit():
        raise ScoreError("not a note: %r" % name)
    return 12 * (int(rest) + 1) + semis


def midi_freq(midi):
    return 440.0 * 2 ** ((midi - 69) / 12.0)


def resolve_instruments(instruments):
    """An instrument may be {"like": OTHER, ...}: OTHER with those fields replaced."""
    out = {}
    for name, inst in instruments.items():
        if "like" in inst:
            base = instruments[inst["like"]]
            if "like" in base:
                raise ValueError("instrument %s: 'like' of a 'like'" % name)
            inst = dict(base, **{k: v for k, v in inst.items() if k != "like"})
        out[name] = inst
    return out


def render_song(name, recipe, levels):
    rng = random.Random(seed_for(name, recipe))
    score = read_score(os.path.join(HERE, recipe["score"]))
    tracks = recipe["tracks"]
    events, bars = score_events(score, list(tracks))
    bar_s = 4 * 60.0 / score["tempo"]
    bar_n = bar_s * RATE
    buf = [0.0] * int(round(bars * bar_n))
    instruments = resolve_instruments(recipe["instruments"])
    cache = {}
    for tname, track in tracks.items():
        for at, length, tok, shift, gain, where in events[tname]:
            try:
                render_event(buf, cache, rng, instruments, track, tok, shift, int(round(at * bar_n)),
                             float(length) * bar_s, gain * float(track.get("volume", 1.0)), bar_n)
            except (ScoreError, KeyError) as e:
                raise ScoreError("%s: track %s, %s: %s" % (recipe["score"], tname, where, e)) from None
    # only take out the mean: a filter here would break the join
    mean = sum(buf) / len(buf)
    for i in range(len(buf)):
        buf[i] -= mean
    rms_db, ceiling = role_level(name, recipe, levels)
    return buf, set_level(buf, rms_db, ceiling, name, wrap=True)


def render_event(buf, cache, rng, instruments, track, tok, shift, start, length, gain, bar_n):
    """Mixes one note, chord or drum hit into buf, starting at sample start.

    Everything wraps around the end: what rings past it sounds at the start,
    so the loop joins without a click.
    """
    kit = track.get("drums")
    if kit:
        # one letter per drum voice, so "kh" = kick + hat together
        for ch in tok:
            if ch not in kit:
                raise ScoreError("no drum %r in %r" % (ch, tok))
            inst = instruments[kit[ch]]
            key = ("drum", ch)
            if key not in cache or inst.get("vary"):
                cache[key] = render_voice(inst, rng)
            mix_into(buf, cache[key], start, gain, wrap=True)
        return
    inst = instruments[track["instrument"]]
    gate = length * float(track.get("gate", 1.0))
    echo = track.get("echo")
    for note in tok.split(","):  # "A3,C4,E4" is a chord
        midi = note_midi(note) + shift
        key = (track["instrument"], midi, gate)
        if key not in cache:
            cache[key] = render_voice(inst, rng, midi_freq(midi), gate)
        mix_into(buf, cache[key], start, gain, wrap=True)
        if echo:
            # echo steps are sixteenths, whatever the bar's own steps
            delay = int(round(float(echo["steps"]) / 16.0 * bar_n))
            g = gain
            for r in range(1, int(echo["repeats"]) + 1):
                g *= float(echo["feedback"])
                mix_into(buf, cache[key], start + r * delay, g, wrap=True)


def role_level(name, recipe, levels):
    """-> (RMS in dBFS, peak ceiling as a linear level) for the recipe's role."""
    roles = levels["roles"]
    role = recipe.get("role")
    if role not in roles:
        raise ValueError("%s: role %r is not in the level table (%s)" % (name, role, ", ".join(roles)))
    return float(roles[role]["rms_db"]), 10 ** (float(levels["ceiling_db"]) / 20.0)


def rms(buf):
    return math.sqrt(sum(v * v for v in buf) / len(buf))


def set_level(buf, rms_db, ceiling, name, wrap=False):
    """Scales a sound to an RMS of rms_db dBFS with no sample above ceiling.

    Where the peak would pass the ceiling, the limiter turns it down and the
    gain is raised again, until the RMS is back on target. wrap: the sound is
    a loop, limited round its join. Returns the dB taken off the highest peak
    (0 when nothing was limited)."""
    target = 10 ** (rms_db / 20.0)
    gain = target / (rms(buf) or 1.0)
    for _ in range(20):
        out = [v * gain for v in buf]
        peak = max(abs(v) for v in out)
        cut = 20 * math.log10(peak / ceiling) if peak > ceiling else 0.0
        if cut > LIMIT_MAX_DB:
            raise ValueError("%s: %.1f dBFS RMS needs %.1f dB off its peak, more than %.1f dB of limiting;"
                             " lower its role's level, or give the recipe more body or drive"
                             % (name, rms_db, cut, LIMIT_MAX_DB))
        if cut:
            out = limit(out, ceiling, wrap)
        now = rms(out)
        if abs(20 * math.log10(now / target)) < 0.005:
            buf[:] = out
            return cut
        gain *= target / now
    raise ValueError("%s: the limiter keeps it from reaching %.1f dBFS RMS" % (name, rms_db))


def limit(buf, ceiling, wrap=False):
    """A look-ahead peak limiter: buf with no sample above ceiling.

    The gain is a smooth curve, never a step: it goes down over LIMIT_LOOKAHEAD
    before a peak and recovers over LIMIT_RELEASE after it, so a transient is
    turned down rather than flattened (a clipper would square it off and buzz).
    wrap: buf is a loop, its end followed by its start; otherwise silence lies
    either side.
    """
    a = max(1, int(LIMIT_LOOKAHEAD * RATE))
    n = len(buf)
    # the gain each sample needs (1 but at the few peaks over the ceiling)
    need = {i: ceiling / abs(v) for i, v in enumerate(buf) if abs(v) > ceiling}
    # ahead[j]: the least need of samples j - a .. j, then let back up no
    # faster than the release; a loop's ahead runs round, and its release
    # goes round twice so that the start knows what the end left
    m = n if wrap else n + a
    ahead = [1.0] * m
    for i, v in need.items():
        for j in range(i, i + a + 1):
            j %= m
            if v < ahead[j]:
                ahead[j] = v
    back = math.exp(-1.0 / (LIMIT_RELEASE * RATE))
    g = 1.0
    if wrap:
        for v in ahead:
            g = min(v, 1.0 - (1.0 - g) * back)
    for j, v in enumerate(ahead):
        g = min(v, 1.0 - (1.0 - g) * back)
        ahead[j] = g
    # sample i lies inside every window ahead[i .. i + a]: their mean is never
    # above its need, and moves by small steps
    if wrap:
        ahead += ahead[:a]
    out = [0.0] * n
    total = sum(ahead[:a])
    for i in range(n):
        total += ahead[i + a]
        out[i] = buf[i] * min(total / (a + 1), need.get(i, 1.0))
        total -= ahead[i]
    return out


def render_voice(inst, rng, freq=None, gate=None):
    layers = inst["layers"]
    parts = []
    for layer in layers:
        if gate is not None and "length" not in layer:
            parts.append(render_layer(layer, rng, freq, gate))
        else:
            parts.append(render_layer(layer, rng, freq))
    n = max(len(p) for p in parts)
    out = [0.0] * n
    for p in parts:
        for i, v in enumerate(p):
            out[i] += v
    g = float(inst.get("volume", 1.0))
    return [v * g for v in out]


def remove_dc(buf):
    # One-pole high-pass at ~15 Hz, then exact mean removal.
    r = 1.0 - 2.0 * math.pi * 15.0 / RATE
    x1 = y1 = 0.0
    for i, x in enumerate(buf):
        y = x - x1 + r * y1
        x1, y1 = x, y
        buf[i] = y
    mean = sum(buf) / len(buf)
    for i in range(len(buf)):
        buf[i] -= mean


def fade(buf, fin, fout):
    n = len(buf)
    a = min(n, int(fin * RATE))
    for i in range(a):
        buf[i] *= i / a
    b = min(n, int(fout * RATE))
    for j in range(b):
        buf[n - 1 - j] *= j / b


def pcm16(buf):
    """Samples in -1 .. 1 as 16-bit little-endian PCM."""
    return struct.pack("<%dh" % len(buf), *(max(-32767, min(32767, int(round(v * 32767.0)))) for v in buf))


def write_wav(path, buf):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm16(buf))


def encoder_command(path, quality, serial):
    """oggenc reading 16-bit mono PCM at RATE from its standard input."""
    return ["oggenc", "--quiet", "--raw", "--raw-bits=16", "--raw-chan=1", "--raw-rate=%d" % RATE,
            "--raw-endianness=0", "--quality=%g" % quality, "--serial=%d" % serial, "--output=" + path, "-"]


def write_ogg(path, buf, quality, serial):
    """Encodes buf as Ogg Vorbis at path, through a temporary file beside it:
    a failed encode leaves the old file as it was."""
    unfinished = path + ".tmp"
    try:
        subprocess.run(encoder_command(unfinished, quality, serial), input=pcm16(buf), check=True)
    except FileNotFoundError:
        raise SystemExit("oggenc not found: the music is encoded by Debian's vorbis-tools"
                         " (apt-get install vorbis-tools)") from None
    except subprocess.CalledProcessError as e:
        if os.path.exists(unfinished):
            os.remove(unfinished)
        raise SystemExit("oggenc failed on %s (status %d)" % (path, e.returncode)) from None
    os.replace(unfinished, path)


def sound_path(name, recipe):
    """Where a recipe's sound is written: the music as .ogg, an effect as .wav."""
    return os.path.join(OUT_DIR, name + (".ogg" if recipe.get("kind") == "song" else ".wav"))


def main(argv):
    with open(RECIPES, "r", encoding="utf-8") as fh:
        recipes = json.load(fh)
    levels = recipes["_levels"]
    sounds = {k: v for k, v in recipes.items() if not k.startswith("_")}
    if "--list" in argv:
        for k in sounds:
            print(k)
        return 0
    wanted = argv or list(sounds)
    unknown = [w for w in wanted if w not in sounds]
    if unknown:
        print("unknown sound(s): " + ", ".join(unknown), file=sys.stderr)
        return 1
    os.makedirs(OUT_DIR, exist_ok=True)
    for name in wanted:
        recipe = sounds[name]
        if recipe.get("kind") == "song":
            buf, cut = render_song(name, recipe, levels)
            path = sound_path(name, recipe)
            write_ogg(path, buf, float(recipe["quality"]), seed_for(name, recipe))
        else:
            buf, cut = render_effect(name, recipe, levels)
            path = sound_path(name, recipe)
            write_wav(path, buf)
        print("%-24s %6.3f s  %8d bytes  %-7s RMS %6.1f dBFS  peak %5.1f dBFS%s"
              % (os.path.basename(path), len(buf) / RATE, os.path.getsize(path), recipe["role"],
                 20 * math.log10(rms(buf)), 20 * math.log10(max(abs(v) for v in buf)),
                 "  limited %.1f dB" % cut if cut else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
