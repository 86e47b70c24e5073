#!/usr/bin/env python3
"""Checks the sound tool's score reader, music mixing and loudness by role.

    python3 -m unittest discover -s tools/sound -p 'test_*.py'
"""

import math
import os
import random
import tempfile
import unittest
from fractions import Fraction

import levels
import synth


def write_score(text):
    fd, path = tempfile.mkstemp(suffix=".score")
    with os.fdopen(fd, "w", encoding="utf-8") as fh:
        fh.write(text)
    return path


class ScoreCase(unittest.TestCase):
    def score(self, text):
        path = write_score(text)
        self.addCleanup(os.remove, path)
        return synth.read_score(path)

    def events(self, text, tracks=("lead",)):
        events, bars = synth.score_events(self.score(text), list(tracks))
        return events, bars

    def notes(self, text, track="lead"):
        """(start, length, midi) of every note of a track."""
        events, _ = self.events(text, (track,))
        return [(e[0], e[1], synth.note_midi(e[2]) + e[3]) for e in events[track]]


class ReadingScores(ScoreCase):
    def test_transposition_repeats_and_rests_lay_out_bar_by_bar(self):
        notes = self.notes("""
tempo 120
phrase up
  B3 C4
section one 4
  lead  up+1 x2 rest up-12
""")
        # B3+1 crosses into the next octave's C4; -12 is an octave down
        self.assertEqual([n[2] for n in notes], [60, 61, 60, 61, 47, 48])
        self.assertEqual([n[0] for n in notes], [0, Fraction(1, 2), 1, Fraction(3, 2), 3, Fraction(7, 2)])

    def test_holds_run_over_bar_lines_phrases_and_sections(self):
        notes = self.notes("""
tempo 120
phrase a
  . . . A4
phrase hold
  - - . .
section first 1
  lead  a
section second 1
  lead  hold
""")
        self.assertEqual(notes, [(Fraction(3, 4), Fraction(3, 4), 69)])

    def test_each_bar_has_its_own_steps_and_a_chord_is_one_event(self):
        events, _ = self.events("""
tempo 120
phrase mixed
  A3,C4,E4
  G#4 Bb4 C#5
""")
        # a phrase nobody plays adds no bars
        self.assertEqual(events["lead"], [])
        events, bars = self.events("""
tempo 120
phrase mixed
  A3,C4,E4
  G#4 Bb4 C#5
section s 2
  lead  mixed
""")
        self.assertEqual(bars, 2)
        tokens = [(e[0], e[1], e[2]) for e in events["lead"]]
        self.assertEqual(tokens[0], (0, 1, "A3,C4,E4"))
        self.assertEqual(tokens[1:], [(1, Fraction(1, 3), "G#4"), (Fraction(4, 3), Fraction(1, 3), "Bb4"),
                                      (Fraction(5, 3), Fraction(1, 3), "C#5")])

    def test_a_sharp_is_not_a_comment_and_gains_belong_to_their_section(self):
        events, _ = self.events("""
tempo 120   # beats a minute
phrase p    # the '#' of G#4 below is a sharp
  G#4 -     # held
section loud 1
  lead  p
section soft 1
  lead  @0.25 p
""")
        self.assertEqual([(e[2], e[1], e[4]) for e in events["lead"]], [("G#4", 1, 1.0), ("G#4", 1, 0.25)])

    def test_a_track_left_out_of_a_section_rests_through_it(self):
        events, bars = self.events("""
tempo 120
phrase p
  A4
section one 1
  lead  p
section two 2
  bass  p x2
""", ("lead", "bass"))
        self.assertEqual(bars, 3)
        self.assertEqual([e[0] for e in events["lead"]], [0])
        self.assertEqual([e[0] for e in events["bass"]], [1, 2])


class ScoreMistakes(ScoreCase):
    def assertMistake(self, text, *words, tracks=("lead",)):
        with self.assertRaises(synth.ScoreError) as caught:
            self.events(text, tracks)
        for word in words:
            self.assertIn(word, str(caught.exception))

    def test_a_track_whose_bars_do_not_fill_its_section(self):
        self.assertMistake("tempo 120\nphrase p\n  A4\nsection verse 2\n  lead  p\n",
                           "verse", "lead", "1 bars", ".score:5")

    def test_unknown_phrases_tracks_and_notes(self):
        self.assertMistake("tempo 120\nsection s 1\n  lead  nothing\n", "unknown phrase")
        self.assertMistake("tempo 120\nphrase p\n  A4\nsection s 1\n  drums  p\n", "unknown track drums")
        with self.assertRaises(synth.ScoreError):
            synth.note_midi("H4")
        with self.assertRaises(synth.ScoreError):
            synth.note_midi("A")

    def test_a_hold_after_a_rest_and_a_track_twice(self):
        self.assertMistake("tempo 120\nphrase p\n  A4 . -\nsection s 1\n  lead  p\n", "holds nothing", "bar 1")
        self.assertMistake("tempo 120\nphrase p\n  A4\nsection s 1\n  lead  p\n  lead  p\n", "twice")

    def test_a_score_without_tempo_and_a_stray_line(self):
        self.assertMistake("phrase p\n  A4\n", "no tempo")
        self.assertMistake("tempo 120\n  A4\n", "outside")
        self.assertMistake("tempo 120\nchorus 4\n", "expected")


class MixingRound(unittest.TestCase):
    def test_mix_into_matches_sample_by_sample_mixing_with_and_without_wrap(self):
        rng = random.Random(1)
        src = [rng.uniform(-1, 1) for _ in range(50)]
        for offset, wrap in ((0, False), (30, False), (90, False), (30, True), (95, True)):
            buf = [rng.uniform(-1, 1) for _ in range(100)]
            want = list(buf)
            for j, v in enumerate(src):
                k = offset + j
                if wrap:
                    k %= len(want)
                elif k >= len(want):
                    break
                want[k] += v * 0.7
            synth.mix_into(buf, src, offset, 0.7, wrap)
            self.assertEqual(buf, want, (offset, wrap))  # exactly: the effects must not change by a bit

    def song(self, score_text, rms_db=-20.0):
        path = write_score(score_text)
        self.addCleanup(os.remove, path)
        recipe = {
            "kind": "song", "seed": 1, "score": path, "role": "music",
            "instruments": {"tone": {"layers": [{"wave": "sine", "attack": 0.002, "decay": 2.0, "sustain": 0.8,
                                                  "release": 0.3, "volume": 0.5}]}},
            "tracks": {"lead": {"instrument": "tone"}},
        }
        return synth.render_song("test", recipe, {"ceiling_db": -1.0, "roles": {"music": {"rms_db": rms_db}}})

    def test_a_note_ringing_past_the_end_sounds_at_the_start(self):
        # one bar of a second; the note starts 0.25 s before the end and releases over 0.3 s
        buf, _ = self.song("tempo 240\nphrase p\n  . . . A4\nsection s 1\n  lead  p\n")
        self.assertEqual(len(buf), synth.RATE)
        head = buf[:int(0.2 * synth.RATE)]
        self.assertGreater(max(abs(v) for v in head), 0.1)
        # the join is as smooth as the 440 Hz sine either side of it
        step = 2 * math.pi * 440 / synth.RATE * max(abs(v) for v in buf)
        self.assertLess(abs(buf[-1] - buf[0]), 1.5 * step)
        self.assertAlmostEqual(sum(buf) / len(buf), 0.0, places=9)

    def test_the_loop_is_set_to_its_rms_limited_a_little_at_most(self):
        score = "tempo 240\nphrase p\n  A4 C5\nsection s 2\n  lead  p x2\n"
        buf, cut = self.song(score, rms_db=-24.0)
        self.assertEqual(cut, 0.0)
        self.assertAlmostEqual(db(rms(buf)), -24.0, places=6)
        # the notes peak some 8 dB over their RMS: at -8 dBFS they pass the ceiling
        buf, cut = self.song(score, rms_db=-8.0)
        self.assertGreater(cut, 0.5)
        self.assertLessEqual(max(abs(v) for v in buf), 10 ** (-1.0 / 20))
        self.assertAlmostEqual(db(rms(buf)), -8.0, delta=0.01)
        with self.assertRaisesRegex(ValueError, "limiting"):
            self.song(score, rms_db=-1.0)

    def test_a_loop_is_limited_round_its_join(self):
        # a burst four times too loud in the last 2 ms: the start, which the
        # mixer plays next, must come back up from it as any sample after it would
        n = synth.RATE // 2
        x = [0.5 * math.sin(2 * math.pi * 441 * i / synth.RATE) for i in range(n)]
        for i in range(n - 88, n):
            x[i] *= 4
        ceiling = 10 ** (-1.0 / 20)
        y = synth.limit(x, ceiling, wrap=True)
        self.assertLessEqual(max(abs(v) for v in y), ceiling)
        # a few hundredths a sample (skipping the zero crossings); a limiter
        # that stopped at the end would jump from a quarter back to 1 there
        gains = [b / a for a, b in zip(x[-400:] + x[:400], y[-400:] + y[:400]) if abs(a) > 0.05]
        self.assertLess(max(abs(g - h) for g, h in zip(gains, gains[1:])), 0.05)
        self.assertAlmostEqual(max(abs(v) for v in y[n // 2 - 500:n // 2 + 500]), 0.5, delta=0.002)  # let go between


def db(x):
    return 20 * math.log10(x)


def rms(buf):
    return math.sqrt(sum(v * v for v in buf) / len(buf))


class LoudnessByRole(unittest.TestCase):
    LEVELS = {"ceiling_db": -1.0, "roles": {"loud": {"rms_db": -12.0}, "soft": {"rms_db": -30.0}}}
    CEILING = 10 ** (-1.0 / 20)

    def effect(self, role, volume=0.5, crack=0.0):
        """A 1 kHz tone of 0.2 s, after a 3 ms noise crack of the given volume."""
        recipe = {"role": role, "length": 0.2, "layers": [
            {"wave": "sine", "freq": 1000, "attack": 0.005, "volume": volume},
            {"wave": "noise", "length": 0.003, "attack": 0.0002, "volume": crack}]}
        return synth.render_effect("test", recipe, self.LEVELS)

    def test_every_effect_lands_on_its_roles_rms_whatever_its_mix(self):
        quiet, cut = self.effect("soft", volume=0.02)
        loud, _ = self.effect("soft", volume=0.9)
        self.assertEqual(cut, 0.0)
        self.assertAlmostEqual(db(rms(quiet)), -30.0, delta=0.01)
        self.assertAlmostEqual(db(rms(loud)), -30.0, delta=0.01)
        louder, _ = self.effect("loud")
        self.assertAlmostEqual(db(rms(louder)) - db(rms(quiet)), 18.0, delta=0.02)

    def test_a_peak_over_the_ceiling_is_limited_and_the_rms_still_met(self):
        # the crack would peak over 0 dBFS at the tone's -12 dBFS RMS
        buf, cut = self.effect("loud", crack=2.0)
        self.assertGreater(cut, 0.5)
        self.assertLessEqual(max(abs(v) for v in buf), self.CEILING)
        self.assertAlmostEqual(db(rms(buf)), -12.0, delta=0.01)

    def test_the_limiter_turns_a_peak_down_smoothly_and_leaves_the_rest(self):
        tone = [0.5 * math.sin(2 * math.pi * 440 * i / synth.RATE) for i in range(synth.RATE * 2 // 5)]
        spike = range(4410, 4410 + 88)  # 2 ms at 0.1 s, four times too loud
        x = [v * 4 if i in spike else v for i, v in enumerate(tone)]
        y = synth.limit(x, self.CEILING)
        self.assertLessEqual(max(abs(v) for v in y), self.CEILING)
        self.assertEqual(y[:4300], x[:4300])  # nothing before the look-ahead
        self.assertAlmostEqual(max(abs(v) for v in y[-2000:]), 0.5, delta=0.001)  # back 7 releases later
        gains = [b / a for a, b in zip(x, y) if abs(a) > 0.05]
        self.assertLess(max(abs(g - h) for g, h in zip(gains, gains[1:])), 0.03)  # no step: no click

    def test_a_sound_needing_heavy_limiting_or_without_a_known_role_is_refused(self):
        with self.assertRaisesRegex(ValueError, "limiting"):
            synth.render_effect("spiky", {"role": "loud", "length": 0.2, "layers": [
                {"wave": "noise", "length": 0.002, "volume": 1.0},
                {"wave": "sine", "freq": 500, "start": 0.01, "volume": 0.01}]},
                {"ceiling_db": -1.0, "roles": {"loud": {"rms_db": -6.0}}})
        with self.assertRaisesRegex(ValueError, "test: role 'whisper'"):
            self.effect("whisper")
        with self.assertRaisesRegex(ValueError, "test: role None"):
            synth.role_level("test", {}, self.LEVELS)

    def test_the_meters_a_weighting_follows_the_standard_curve(self):
        # the bilinear transform bends the top octaves: up to 1 dB high from 4 to
        # 10 kHz, inside what a sound level meter of class 1 may be off
        for freq, want, within in ((31.5, -39.4, 0.3), (100, -19.1, 0.2), (1000, 0.0, 0.05), (8000, -1.1, 1.0)):
            tone = [10000 * math.sin(2 * math.pi * freq * i / synth.RATE) for i in range(synth.RATE // 2)]
            weighted = levels.a_weighted(tone)[synth.RATE // 4:]  # past the filter's settling
            self.assertAlmostEqual(db(rms(weighted) / rms(tone[synth.RATE // 4:])), want, delta=within, msg=freq)


if __name__ == "__main__":
    unittest.main()
