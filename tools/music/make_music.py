#!/usr/bin/env python3
"""Compose the game's background music as General MIDI files in assets/music/.

Pure standard library: the Standard MIDI File bytes are written by hand.
Every tune is an original composition written out below, one function per
song; the only randomness is a little velocity humanising with fixed seeds,
so the output is byte-identical between runs.

    python3 tools/music/make_music.py [output_dir]
"""

import os
import random
import struct
import sys
from fractions import Fraction

PPQ = 480

# General MIDI programs (0-based) used below.
PIANO, RHODES, CELESTA, VIBES, MARIMBA, XYLO = 0, 4, 8, 11, 12, 13
ACCORDION, NYLON, STEEL = 21, 24, 25
OVERDRIVE, DISTORTION = 29, 30
ACOUSTIC_BASS, FINGER_BASS, PICK_BASS, SYNTH_BASS1, SYNTH_BASS2 = 32, 33, 34, 38, 39
VIOLIN, CELLO, CONTRABASS, PIZZICATO, HARP, TIMPANI = 40, 42, 43, 45, 46, 47
STRINGS, SLOW_STRINGS, OOHS, ORCH_HIT = 48, 49, 53, 55
TRUMPET, TROMBONE, TUBA, HORN, BRASS, SYNTH_BRASS = 56, 57, 58, 60, 61, 62
ALTO_SAX, BASSOON, CLARINET, FLUTE = 65, 70, 71, 73
SQUARE, SAW, CHARANG, POLYSYNTH, WARM_PAD, SWEEP_PAD, CRYSTAL = 80, 81, 84, 90, 89, 95, 98

# Stands for the program of the percussion channel in track lists.
DRUMS = -1

# General MIDI percussion keys on channel 10.
DRUM = {
    "kick": 36, "stick": 37, "snare": 38, "clap": 39, "esnare": 40,
    "ltom": 41, "hat": 42, "mtom": 45, "phat": 44, "ohat": 46, "htom": 48,
    "crash": 49, "ride": 51, "tamb": 54, "cowbell": 56, "hibongo": 60,
    "lobongo": 61, "wood": 76, "lwood": 77, "castanet": 85, "shaker": 70,
}

# Velocity letters for drum patterns: '.' is a rest.
HIT = {"X": 120, "x": 100, "o": 75, "g": 45}

NOTE_BASE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}

CHORD_SHAPES = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
    "maj7": (0, 4, 7, 11), "m6": (0, 3, 7, 9), "6": (0, 4, 7, 9),
    "dim": (0, 3, 6), "m7b5": (0, 3, 6, 10), "sus4": (0, 5, 7),
    "sus2": (0, 2, 7), "5": (0, 7, 12), "9": (0, 4, 7, 10, 14),
    "maj9": (0, 4, 7, 11, 14), "m9": (0, 3, 7, 10, 14), "add9": (0, 4, 7, 14),
}


def pitch(name):
    """'C4' is middle C (60); accepts sharps and flats, e.g. 'F#3', 'Bb5'."""
    letter, rest = name[0].upper(), name[1:]
    semis = NOTE_BASE[letter]
    while rest and rest[0] in "#b":
        semis += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + semis


def split_chord(symbol):
    """'F#m7/C#' -> ('F#', 'm7', 'C#'); the last is '' without a slash."""
    main, _, slash = symbol.partition("/")
    i = 1
    while i < len(main) and main[i] in "#b":
        i += 1
    return main[:i], main[i:], slash


def chord_parts(symbol):
    """Returns (root pitch class, intervals, bass pitch class)."""
    root_name, kind, slash = split_chord(symbol)
    root = pitch(root_name + "0") % 12
    bass = pitch(slash + "0") % 12 if slash else root
    return root, CHORD_SHAPES[kind], bass


def voicing(symbol, low=55):
    """Close voicing with the root as the lowest pitch at or above `low`."""
    root, intervals, _ = chord_parts(symbol)
    base = low + (root - low) % 12
    return [base + i for i in intervals]


def bass_pitch(symbol, low=36):
    return low + (chord_parts(symbol)[2] - low) % 12


def chord_tones(symbol, low, high):
    root, intervals, _ = chord_parts(symbol)
    classes = {(root + i) % 12 for i in intervals}
    return [p for p in range(low, high + 1) if p % 12 in classes]


def parse_beats(text):
    return float(Fraction(text))


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


class Track:
    def __init__(self, song, name, channel, program, volume, pan, reverb):
        self.song, self.name, self.channel = song, name, channel
        self.program = program
        self.events = []          # (tick, order, bytes); offs sort before ons
        self.notes = []           # (on tick, off tick, pitch, velocity)
        self.rng = random.Random(len(song.tracks) * 7919 + song.seed)
        self.swing = 0.0
        ch = channel
        volume = min(127, int(round(volume * song.level)))
        self._raw(0, 0, bytes([0xB0 | ch, 7, volume]))
        self._raw(0, 0, bytes([0xB0 | ch, 10, pan]))
        self._raw(0, 0, bytes([0xB0 | ch, 91, reverb]))
        if program is not None:
            self._raw(0, 0, bytes([0xC0 | ch, program]))

    def _raw(self, tick, order, data):
        self.events.append((tick, order, data))

    def _tick(self, beat):
        if self.swing:
            whole = int(beat)
            frac = beat - whole
            # Off-beat eighths land late, as a swing player would place them.
            if abs(frac - 0.5) < 1e-6:
                beat = whole + 0.5 + self.swing
        return int(round(beat * PPQ))

    def note(self, beat, dur, p, vel=90, gate=0.92):
        vel = max(1, min(127, int(vel + self.rng.randint(-4, 4))))
        on = self._tick(beat)
        off = max(on + 1, int(round((beat + dur * gate) * PPQ)))
        if self.swing:
            off = max(on + 1, self._tick(beat + dur) - int(PPQ * dur * (1 - gate)))
        self.notes.append((on, off, p, vel))

    def note_events(self, end_tick):
        """Note on/off events, with overlaps on one key resolved.

        A second strike of a sounding key (a melody meeting the chords on
        the same channel, a fill over the groove) would otherwise be cut
        short by the first note's release; the earlier note yields instead.
        """
        out, by_key = [], {}
        for on, off, p, vel in sorted(self.notes):
            if on >= end_tick:
                continue
            off = min(off, end_tick)
            by_key.setdefault(p, []).append([on, off, vel])
        for p, notes in by_key.items():
            kept = []
            for note in notes:
                if kept and kept[-1][0] == note[0]:
                    kept[-1][1] = max(kept[-1][1], note[1])
                    kept[-1][2] = max(kept[-1][2], note[2])
                    continue
                if kept and kept[-1][1] > note[0]:
                    kept[-1][1] = note[0]
                kept.append(note)
            for on, off, vel in kept:
                out.append((on, 1, bytes([0x90 | self.channel, p, vel])))
                out.append((off, 0, bytes([0x80 | self.channel, p, 0])))
        return out

    def chord(self, beat, dur, pitches, vel=80, gate=0.92, strum=0.0):
        for i, p in enumerate(pitches):
            self.note(beat + i * strum, dur - i * strum, p, vel, gate)

    def line(self, beat, text, vel=90, transpose=0, gate=0.9, tremolo=0.0):
        """Plays 'C5:1 r:.5 E5/G5:.5' (pitch:beats, '/' stacks a chord).

        With `tremolo`, notes of a beat or longer are re-struck at that
        step, the way a mandolin sustains. Returns the beat after the line.
        """
        for token in text.split():
            name, _, dur_text = token.partition(":")
            dur = parse_beats(dur_text)
            if name != "r":
                ps = [pitch(n) + transpose for n in name.split("/")]
                if tremolo and dur >= 1:
                    t = 0.0
                    while t < dur - 1e-6:
                        step = min(tremolo, dur - t)
                        accent = vel if t == 0 else vel - 18
                        self.chord(beat + t, step, ps, accent, 0.85)
                        t += tremolo
                else:
                    self.chord(beat, dur, ps, vel, gate)
            beat += dur
        return beat

    def cc(self, beat, controller, value):
        self._raw(int(round(beat * PPQ)), 0,
                  bytes([0xB0 | self.channel, controller, value]))

    def drums(self, beat, pattern, step=0.25, scale=1.0):
        """`pattern` maps drum names to strings like 'x..o' (one char a step)."""
        for name, steps in pattern.items():
            for i, ch in enumerate(steps.replace(" ", "")):
                if ch in HIT:
                    self.note(beat + i * step, step, DRUM[name],
                              HIT[ch] * scale, 0.9)


class Song:
    def __init__(self, bpm, meter=(4, 4), seed=1, level=1.0):
        # `level` scales every channel volume so the songs sound equally loud.
        self.level = level
        self.tempos = [(0.0, bpm)]
        self.meter = meter
        self.seed = seed
        self.tracks = []
        self.free_channels = [c for c in range(16) if c != 9]

    @property
    def bar(self):
        num, den = self.meter
        return num * 4.0 / den

    def tempo(self, beat, bpm):
        self.tempos.append((beat, bpm))

    def track(self, name, program, volume=100, pan=64, reverb=40):
        drums = program == DRUMS
        channel = 9 if drums else self.free_channels.pop(0)
        t = Track(self, name, channel, None if drums else program,
                  volume, pan, reverb)
        self.tracks.append(t)
        return t

    def band(self, *members):
        """One track per (name, program, volume, pan, reverb), in order."""
        return [self.track(*member) for member in members]

    def arrange(self, form, each_bar=None, score=None, each_part=None):
        """Plays `form`, a list of (part, chords), and returns its end beat.

        For every part: `each_part(part, spans)`, then
        `each_bar(part, i, last, beat, symbol, length)` for every chord span,
        then the part's cues from `score` (part -> list of `cue`).
        """
        beat = 0.0
        for part, chords in form:
            spans = bars(chords, beat, self.bar)
            if each_part:
                each_part(part, spans)
            if each_bar:
                for i, (b, sym, length) in enumerate(spans):
                    each_bar(part, i, i == len(spans) - 1, b, sym, length)
            for track, music, at, kw in (score or {}).get(part, ()):
                start = beat + at * self.bar
                if isinstance(music, str):
                    track.line(start, music, **kw)
                else:
                    play_bars(track, start, self.bar, music, **kw)
            beat = end_of(spans)
        return beat

    def seconds(self, end_beat):
        total, prev_beat, prev_bpm = 0.0, 0.0, self.tempos[0][1]
        for beat, bpm in sorted(self.tempos)[1:]:
            total += (min(beat, end_beat) - prev_beat) * 60.0 / prev_bpm
            prev_beat, prev_bpm = beat, bpm
        return total + (end_beat - prev_beat) * 60.0 / prev_bpm

    def _chunk(self, events, end_tick):
        body, last = bytearray(), 0
        for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
            tick = min(tick, end_tick)
            body += vlq(tick - last) + data
            last = tick
        body += vlq(end_tick - last) + b"\xff\x2f\x00"
        return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)

    def write(self, path, end_beat, title):
        end_tick = int(round(end_beat * PPQ))
        num, den = self.meter
        clocks = 36 if den == 8 else 24
        conductor = [(0, 0, b"\xff\x03" + vlq(len(title)) + title.encode()),
                     (0, 0, bytes([0xFF, 0x58, 4, num, den.bit_length() - 1,
                                   clocks, 8]))]
        for beat, bpm in self.tempos:
            us = int(round(60_000_000 / bpm))
            conductor.append((int(round(beat * PPQ)), 1,
                              b"\xff\x51\x03" + us.to_bytes(3, "big")))
        chunks = [self._chunk(conductor, end_tick)]
        for t in self.tracks:
            name = t.name.encode()
            events = [(0, -1, b"\xff\x03" + vlq(len(name)) + name)]
            events += [e for e in t.events if e[0] <= end_tick]
            events += t.note_events(end_tick)
            # Silence everything at the loop point so nothing hangs over.
            events.append((end_tick, 2, bytes([0xB0 | t.channel, 123, 0])))
            chunks.append(self._chunk(events, end_tick))
        header = b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), PPQ)
        with open(path, "wb") as f:
            f.write(header + b"".join(chunks))
        return self.seconds(end_beat)


def bars(chords, start, bar_len):
    """Expands ['Am', 'G7 C'] into (beat, symbol, length) spans."""
    spans, beat = [], start
    for cell in chords:
        parts = cell.split()
        for part in parts:
            spans.append((beat, part, bar_len / len(parts)))
            beat += bar_len / len(parts)
    return spans


def end_of(spans):
    beat, _, length = spans[-1]
    return beat + length


def pattern_bass(track, spans, figure, low=36, vel=95, gate=0.8):
    """`figure`: (offset, length, interval) cycled through each span;
    interval counts semitones above the chord's bass note."""
    for beat, sym, length in spans:
        root = bass_pitch(sym, low)
        for off, dur, interval in figure:
            if off < length - 1e-6:
                track.note(beat + off, min(dur, length - off), root + interval,
                           vel, gate)


def pattern_comp(track, spans, figure, low=55, vel=70, gate=0.85, strum=0.0):
    """`figure`: (offset, length, velocity scale) hits of the whole chord."""
    for beat, sym, length in spans:
        for off, dur, scale in figure:
            if off < length - 1e-6:
                track.chord(beat + off, min(dur, length - off),
                            voicing(sym, low), vel * scale, gate, strum)


def pad(track, spans, low=55, vel=60):
    for beat, sym, length in spans:
        track.chord(beat, length, voicing(sym, low), vel, 0.98)


def arpeggio(track, spans, step, order, low=60, high=84, vel=70, gate=0.8):
    """Walks `order` (indices into the chord tones from `low`) every step."""
    for beat, sym, length in spans:
        tones = chord_tones(sym, low, high)
        n = int(round(length / step))
        for i in range(n):
            idx = order[i % len(order)]
            track.note(beat + i * step, step, tones[min(idx, len(tones) - 1)],
                       vel, gate)


def walking_bass(track, spans, vel=88):
    """Quarter-note walk: root, chord tone, chord tone, approach to next root."""
    roots = [bass_pitch(sym, 36) for _, sym, _ in spans]
    for i, (beat, sym, length) in enumerate(spans):
        tones = chord_tones(sym, 36, 55)
        root = roots[i]
        nxt = roots[(i + 1) % len(roots)]
        beats = int(round(length))
        line = [root]
        ups = [p for p in tones if p > root]
        line += ups[:max(0, beats - 2)]
        if beats >= 2:
            line.append(nxt + (1 if nxt < root else -1))
        for j, p in enumerate(line[:beats]):
            track.note(beat + j, 1, p, vel if j == 0 else vel - 10, 0.9)


def written(text):
    """A tune's bars, split by '|' and by line breaks."""
    return [cell.strip() for line in text.strip().splitlines()
            for cell in line.split("|")]


# ---------------------------------------------------------------------------
# The game's theme: a tarantella in A minor with a C major middle section.

THEME_A = written("""
    E5:.5 A5:.5 B5:.5 C6:1 B5:.5 | A5:.5 G#5:.5 A5:.5 E5:1.5
    F5:.5 E5:.5 D5:.5 E5:.5 D5:.5 C5:.5 | B4:.5 C5:.5 D5:.5 E5:1.5
    E5:.5 A5:.5 B5:.5 C6:1 D6:.5 | F6:.5 E6:.5 D6:.5 C6:1 A5:.5
    B5:.5 G#5:.5 E5:.5 D5:.5 E5:.5 G#5:.5 | A5:1.5 r:1.5""")
THEME_A_CHORDS = ["Am", "Am", "Dm", "E7", "Am", "F", "E7", "Am"]
THEME_B = written("""
    G5:1 E5:.5 C5:1 E5:.5 | F5:.5 E5:.5 D5:.5 G5:1.5
    F5:1 D5:.5 B4:1 D5:.5 | G5:.5 F5:.5 E5:.5 C5:1.5
    A5:1 F5:.5 C5:1 F5:.5 | E5:.5 F5:.5 G5:.5 C6:1.5
    B5:.5 A5:.5 G5:.5 F5:.5 E5:.5 D5:.5 | E5:.5 F5:.5 E5:.5 D5:.5 C5:.5 B4:.5""")
THEME_B_CHORDS = ["C", "G7", "G7", "C", "F", "C", "G7", "E7"]
# The same tune a diatonic third lower, for the second voice.
THEME_B_THIRDS = written("""
    E5:1 C5:.5 A4:1 C5:.5 | D5:.5 C5:.5 B4:.5 E5:1.5
    D5:1 B4:.5 G4:1 B4:.5 | E5:.5 D5:.5 C5:.5 A4:1.5
    F5:1 D5:.5 A4:1 D5:.5 | C5:.5 D5:.5 E5:.5 A5:1.5
    G5:.5 F5:.5 E5:.5 D5:.5 C5:.5 B4:.5 | G#4:.5 A4:.5 G#4:.5 B4:.5 A4:.5 G#4:.5""")


def play_bars(track, start, bar_len, cells, **kw):
    """One written bar per cell; a miscounted bar is an error, not a drift."""
    for i, cell in enumerate(cells):
        end = track.line(start + i * bar_len, cell, **kw)
        if abs(end - (start + (i + 1) * bar_len)) > 1e-6:
            raise ValueError("bar does not add up: %r" % cell)
    return start + len(cells) * bar_len


def cue(track, music, at=0, **kw):
    """A score entry: written bars, or one free line if `music` is a string,
    starting `at` bars into the part."""
    return track, music, at, kw


def octave_eighths(track, beat, root, high, gate, vel=100):
    """A bar of eighths on `root`, an octave up on the steps in `high`."""
    for k in range(8):
        track.note(beat + k * .5, .5, root + (12 if k in high else 0), vel, gate)


def drum_bar(dr, beat, groove, fill=None, crash=None):
    """A bar of `groove`; `fill` is (offset, pattern), `crash` a hit letter."""
    dr.drums(beat, groove)
    if fill:
        dr.drums(beat + fill[0], fill[1])
    if crash:
        dr.drums(beat, {"crash": crash})


def tresquo_theme(out):
    s = Song(180, (6, 8), seed=11, level=1.1)
    mando, accord, squeeze, bass, perc = s.band(
        ("Mandolin", STEEL, 105, 80, 50), ("Accordion", ACCORDION, 88, 48, 50),
        ("Accordion melody", ACCORDION, 96, 56, 50),
        ("Bass", ACOUSTIC_BASS, 105, 64, 20), ("Tambourine", DRUMS, 85, 64, 30))
    form = [("intro", ["Am", "E7", "Am", "E7"]), ("A", THEME_A_CHORDS),
            ("A2", THEME_A_CHORDS), ("B", THEME_B_CHORDS),
            ("B2", THEME_B_CHORDS), ("A", THEME_A_CHORDS),
            ("A2", THEME_A_CHORDS), ("coda", ["Am", "E7", "Am"])]

    def each_part(part, spans):
        # Oom-pa-pa of the tarantella: bass on the dotted beats, chords between.
        pattern_bass(bass, spans, [(0, .5, 0), (1.5, .5, 7)], 40, 100)
        pattern_comp(accord, spans, [(.5, .4, 1), (1, .4, .8), (2, .4, 1),
                                     (2.5, .4, .8)], 57, 62)
        for b, _, _ in spans:
            perc.drums(b, {"tamb": "xgo xgo"}, 0.5)
        if part == "coda":
            b = spans[-1][0]
            accord.chord(b, 1, [45, 57, 60, 64], 72)
            bass.note(b, 1, 33, 100)
            perc.drums(b, {"crash": "o"}, 1)

    score = {
        "A": [cue(mando, THEME_A, vel=100, tremolo=0.25)],
        "A2": [cue(squeeze, THEME_A, vel=92, transpose=-12),
               cue(mando, THEME_A, vel=96, tremolo=0.25)],
        "B": [cue(squeeze, THEME_B, vel=95)],
        "B2": [cue(mando, THEME_B, vel=100, tremolo=0.25),
               cue(squeeze, THEME_B_THIRDS, vel=86)],
        "coda": [cue(mando, "E5:.5 A5:.5 C6:.5 E6:1.5", vel=105),
                 cue(mando, "D6:.5 B5:.5 G#5:.5 E5:1.5", 1, vel=100),
                 cue(mando, "A5/C6/E6:1", 2, vel=92)],
    }
    # The coda's last bar rests before the loop comes round.
    beat = s.arrange(form, score=score, each_part=each_part)
    return s.write(out, beat + s.bar, "Tresquo")


# ---------------------------------------------------------------------------
# Menu tunes.

def humanoid(out):
    s = Song(120, seed=21, level=0.87)
    lead, arp, padt, bass, dr = s.band(
        ("Lead", SQUARE, 92, 64, 45), ("Sequencer", SAW, 70, 40, 40),
        ("Pad", POLYSYNTH, 62, 88, 70), ("Bass", SYNTH_BASS1, 100, 64, 10),
        ("Drum machine", DRUMS, 95, 64, 15))
    bar = s.bar
    a_chords = ["Em", "Em", "C", "D", "Em", "Em", "C", "D"]
    b_chords = ["Am", "Am", "C", "C", "D", "D", "B", "B"]
    a_tune = written("""
        E5:.5 r:.5 E5:.25 E5:.25 G5:.5 r:.5 B5:.5 A5:.5 G5:.5 | F#5:1 E5:.5 D5:.5 E5:2
        E5:.5 r:.5 E5:.25 E5:.25 G5:.5 r:.5 C6:.5 B5:.5 G5:.5 | A5:1.5 F#5:.5 D5:2
        E5:.5 r:.5 E5:.25 E5:.25 G5:.5 r:.5 B5:.5 A5:.5 G5:.5 | F#5:1 E5:.5 D5:.5 E5:2
        G5:.5 G5:.5 A5:.5 B5:.5 C6:1 B5:.5 A5:.5 | F#5:.5 D5:.5 F#5:.5 A5:.5 B5:2""")
    b_tune = written("""
        A4:.5 A5:.5 r:.5 A4:.5 G5:1 E5:1 | C5:.5 C6:.5 r:.5 C5:.5 B5:1 A5:1
        G4:.5 G5:.5 r:.5 G4:.5 E5:1 C5:1 | E5:2 G5:2
        F#5:.5 A5:.5 D6:1 C6:.5 A5:.5 F#5:1 | A5:4
        B5:.5 A5:.5 F#5:.5 D#5:.5 B4:1 D#5:1 | F#5:4""")
    beat_pat = {"kick": "x...x...x...x...", "snare": "....x.......x...",
                "clap": "....o.......o...", "hat": "x.o.x.o.x.o.x.oo"}
    form = [("intro", ["Em", "Em", "C", "D"]), ("seq", a_chords),
            ("A", a_chords), ("B", b_chords), ("A", a_chords),
            ("outro", ["Em", "C", "D", "Em"])]

    def each_bar(part, i, last, b, sym, length):
        if part == "outro" and last:
            dr.drums(b, {"kick": "x", "crash": "x"}, 1)
            bass.note(b, 2, bass_pitch(sym, 28), 100)
            padt.chord(b, 3, voicing(sym, 52), 70)
            lead.line(b, "E5/B5:2", 85)
            return
        intro = part == "intro"
        drum_bar(dr, b, beat_pat, (3, {"snare": "xoxx"}) if last and not intro
                 else None, "x" if i == 0 and not intro else None)
        octave_eighths(bass, b, bass_pitch(sym, 28), (1, 3, 5, 7), .6)
        if not intro:
            arpeggio(arp, [(b, sym, bar)], .25, [0, 2, 4, 2, 1, 3, 5, 3],
                     52, 88, 62, .55)
        if part in ("B", "outro"):
            padt.chord(b, bar, voicing(sym, 55), 55, .98)

    score = {"A": [cue(lead, a_tune, vel=96, gate=.7)],
             "B": [cue(lead, b_tune, vel=96, gate=.8)]}
    return s.write(out, s.arrange(form, each_bar, score), "Humanoid")


def impact(out):
    s = Song(96, seed=22, level=0.85)
    horns, trumpets, brass, trombone, low, timp, hit, dr = s.band(
        ("Horns", HORN, 110, 54, 60), ("Trumpets", TRUMPET, 100, 74, 60),
        ("Brass hits", BRASS, 105, 64, 50), ("Trombones", TROMBONE, 100, 40, 50),
        ("Low strings", STRINGS, 100, 64, 50), ("Timpani", TIMPANI, 110, 64, 60),
        ("Orchestra hit", ORCH_HIT, 90, 64, 60), ("Drums", DRUMS, 110, 64, 40))
    bar = s.bar
    tune = written("""
        C5:1.5 G4:.5 C5:1 D5:1 | Eb5:2 D5:1 C5:1
        Eb5:1.5 C5:.5 Ab4:1 C5:1 | D5:2 F5:2
        G5:1.5 F5:.5 Eb5:1 D5:1 | C5:1.5 D5:.5 Eb5:2
        F5:1 Ab5:1 G5:1 F5:1 | G5:2 D5:1 B4:1""")
    harmony = written("""
        G4:1.5 Eb4:.5 G4:1 Bb4:1 | G4:2 F4:1 Eb4:1
        C5:1.5 Ab4:.5 Eb4:1 Ab4:1 | Bb4:2 D5:2
        Eb5:1.5 D5:.5 C5:1 Bb4:1 | G4:1.5 Bb4:.5 C5:2
        C5:1 F5:1 Eb5:1 C5:1 | D5:2 B4:1 G4:1""")
    a_chords = ["Cm", "Cm", "Ab", "Bb", "Cm", "Cm", "Fm", "G"]
    groove = {"kick": "x..x..x.x...x...", "snare": "....X.......X..o"}
    toms = {"htom": "x.x.", "mtom": ".x.x", "ltom": "....xxxx"}
    hits = [(0, .75, 1), (1.5, .4, .9), (2.5, .4, .9), (3, .75, 1)]
    form = [("intro", ["Cm", "Cm", "Ab", "Bb"]), ("A", a_chords),
            ("A2", a_chords), ("bridge", ["Ab", "Bb", "Ab", "G"]),
            ("end", ["Cm", "Cm"])]

    def each_bar(part, i, last, b, sym, length):
        root = bass_pitch(sym, 36)
        if part == "end" and i == 1:
            for tr, ps in ((brass, voicing(sym, 48)), (hit, [48, 60, 63, 67])):
                tr.chord(b, 1, ps, 120)
            timp.note(b, 1, 36, 120)
            low.note(b, 2, 36, 110)
            dr.drums(b, {"kick": "x", "crash": "X"}, 1)
            return
        octave_eighths(low, b, root, (3, 7), .7)
        crash = i == 0 or part == "bridge"
        drum_bar(dr, b, groove, (2, toms) if last and part != "end" else None,
                 "X" if crash else None)
        if crash:
            hit.chord(b, .5, voicing(sym, 60), 110)
        timp.note(b, .5, root + 12 if root < 41 else root, 110)
        timp.note(b + 3, .5, bass_pitch(sym, 36) + 7, 100)
        if part in ("intro", "bridge") or (part == "A2" and i % 2):
            pattern_comp(brass, [(b, sym, bar)], hits, 55, 112, .7)
        if part == "end":
            pattern_comp(brass, [(b, sym, bar)], [(0, 2, 1)], 55, 110)

    score = {
        "A": [cue(horns, tune, vel=110),
              cue(trombone, tune, vel=100, transpose=-12)],
        "A2": [cue(trumpets, tune, vel=112), cue(horns, harmony, vel=100),
               cue(trombone, tune, vel=105, transpose=-12)],
        "bridge": [cue(trombone, "Ab3:2 C4:2 Bb3:2 D4:2 Ab3:2 C4:2 G3:2 B3:2",
                       vel=110),
                   cue(trumpets, "Eb5:1 C5:1 Ab4:1 C5:1 D5:2 G5:2", 2,
                       vel=112)],
        "end": [cue(horns, "C5/G5:4", vel=110),
                cue(trumpets, "Eb5/C6:4", vel=105)],
    }
    return s.write(out, s.arrange(form, each_bar, score) + bar / 2, "Impact")


def go4yrgun(out):
    s = Song(140, seed=23, level=0.93)
    lead, rhythm, bass, dr = s.band(
        ("Lead guitar", OVERDRIVE, 96, 76, 50),
        ("Rhythm guitar", DISTORTION, 92, 44, 30),
        ("Bass", PICK_BASS, 105, 64, 10), ("Drums", DRUMS, 110, 64, 25))
    bar = s.bar
    verse = written("""
        B4:.5 B4:.5 D5:.5 E5:1 r:.5 D5:.5 B4:.5 | G4:1 A4:.5 B4:2.5
        C5:.5 C5:.5 E5:.5 G5:1 r:.5 E5:.5 C5:.5 | D5:1 F#5:1 A5:2
        B4:.5 B4:.5 D5:.5 E5:1 r:.5 D5:.5 B4:.5 | G4:1 A4:.5 B4:2.5
        E5:.5 G5:.5 E5:.5 C5:1 r:.5 B4:1 | A4:1 B4:1 D5:2""")
    chorus = written("""
        E5:2 G5:2 | F#5:2 A5:2 | B5:3 A5:.5 G5:.5 | E5:4
        E5:1 G5:1 C6:2 | B5:1 A5:1 F#5:2 | D#5:2 F#5:2 | B5:4""")
    v_chords = ["E5", "E5", "C5", "D5", "E5", "E5", "C5", "D5"]
    c_chords = ["C5", "D5", "E5", "E5", "C5", "D5", "B5", "B5"]
    rock = {"kick": "x.....x.x.......", "snare": "....x.......x...",
            "hat": "x.x.x.x.x.x.x.x."}
    form = [("intro", ["E5", "E5", "C5 D5", "E5"]), ("verse", v_chords),
            ("chorus", c_chords), ("verse", v_chords), ("chorus", c_chords),
            ("end", ["E5", "E5"])]

    def each_bar(part, i, last, b, sym, length):
        root = bass_pitch(sym, 28)
        power = [root + 12, root + 19, root + 24]
        if part == "end":
            if i == 0:
                rhythm.chord(b, 4, power, 115)
                bass.note(b, 4, root, 110)
                lead.line(b, "E4/B4/E5:4", 105)
                dr.drums(b, {"kick": "x...x..", "crash": "X......",
                             "snare": "....x.."}, .25)
            return
        for k in range(int(length * 2)):
            accent = 115 if k % 4 == 0 else 92
            rhythm.chord(b + k * .5, .5, power, accent, .6 if k % 4 else .9)
            bass.note(b + k * .5, .5, root, accent, .8)
        # Once a bar, also where two chords share it.
        if b % bar == 0:
            drum_bar(dr, b, rock, (3, {"snare": "xxxx"}) if last else None,
                     "X" if i == 0 else None)

    score = {"verse": [cue(lead, verse, vel=100)],
             "chorus": [cue(lead, chorus, vel=110)]}
    return s.write(out, s.arrange(form, each_bar, score), "Go for your gun")


GUITAR = {"Am": "A2 E3 A3 C4 E4", "G": "G2 B2 D3 G3 B3 G4",
          "F": "F2 C3 F3 A3 C4 F4", "E": "E2 B2 E3 G#3 B3 E4",
          "Dm": "D3 A3 D4 F4", "E7": "E2 B2 D3 G#3 B3 E4"}


def sevilana(out):
    s = Song(150, (3, 4), seed=24, level=0.88)
    violin, solo, guitar, bass, perc = s.band(
        ("Violin", VIOLIN, 100, 76, 60), ("Guitar melody", NYLON, 112, 56, 40),
        ("Guitar", NYLON, 96, 44, 40), ("Bass", ACOUSTIC_BASS, 80, 64, 20),
        ("Castanets and palmas", DRUMS, 100, 64, 35))
    a_tune = written("""
        A5:1 C6:.5 B5:.5 A5:1 | B5:1 D6:.5 C6:.5 B5:1
        A5:.5 B5:.5 A5:.5 G5:.5 F5:1 | G#5:.5 F5:.5 E5:2
        C6:1 E6:.5 D6:.5 C6:1 | D6:.5 C6:.5 B5:.5 A5:.5 G5:1
        F5:.5 G5:.5 A5:.5 G5:.5 F5:.5 E5:.5 | E5:3""")
    b_tune = written("""
        D5:1 F5:1 A5:1 | C6:1.5 B5:.5 A5:1
        B5:.5 A5:.5 G#5:1 F5:1 | E5:1 A5:2
        F5:.5 E5:.5 D5:.5 F5:.5 A5:1 | E5:.5 D5:.5 C5:.5 E5:.5 A5:1
        A5:.5 G5:.5 F5:.5 E5:.5 F5:1 | E5:3""")
    a_chords = ["Am", "G", "F", "E", "Am", "G", "F", "E"]
    b_chords = ["Dm", "Am", "E7", "Am", "Dm", "Am", "F", "E"]
    form = [("intro", ["Am", "G", "F", "E"]), ("A", a_chords), ("B", b_chords),
            ("inter", ["Am", "G", "F", "E"]), ("A2", a_chords), ("B2", b_chords),
            ("end", ["F", "E", "E"])]

    def each_bar(part, i, last, b, sym, length):
        shape = [pitch(n) for n in GUITAR[sym].split()]
        if part == "end" and last:
            guitar.chord(b, 2, shape, 118, strum=.03)
            bass.note(b, 1, bass_pitch(sym, 28), 100)
            perc.drums(b, {"castanet": "X", "clap": "X"}, 1)
            return
        # Rasgueado: a rolled accent on one, quick strokes after.
        guitar.chord(b, 1, shape, 110, .9, .025)
        guitar.chord(b + 1, .5, shape[1:], 80, .8, .012)
        guitar.chord(b + 1.5, .5, list(reversed(shape[1:])), 70, .8, .012)
        guitar.chord(b + 2, 1, shape, 95, .9, .02)
        bass.note(b, 1, bass_pitch(sym, 28 + 12), 95)
        perc.drums(b, {"castanet": "x.oxx.", "clap": "x.o.o."}, .5)

    score = {
        "A": [cue(solo, a_tune, vel=110, transpose=-12)],
        "B": [cue(violin, b_tune, vel=100)],
        "A2": [cue(violin, a_tune, vel=100),
               cue(solo, a_tune, vel=95, transpose=-12)],
        "B2": [cue(violin, b_tune, vel=105)],
        "end": [cue(violin, "A5:.5 G5:.5 F5:.5 E5:.5 D5:.5 C5:.5 B4:3 G#4/E5:1",
                    vel=105)],
    }
    return s.write(out, s.arrange(form, each_bar, score), "Sevillana")


def bugs(out):
    s = Song(132, seed=25, level=1.05)
    marimba, xylo, pizz, bassoon, perc = s.band(
        ("Marimba", MARIMBA, 110, 50, 40), ("Xylophone", XYLO, 90, 80, 40),
        ("Pizzicato", PIZZICATO, 105, 70, 50), ("Bassoon", BASSOON, 100, 60, 30),
        ("Woodblocks", DRUMS, 90, 64, 25))
    bar = s.bar
    a_tune = written("""
        C5:.25 r:.25 E5:.25 r:.25 G5:.5 F#5:.5 G5:.25 r:1.75
        F5:.25 r:.25 D5:.25 r:.25 B4:.5 A#4:.5 B4:.25 r:.75 G4:.5 r:.5
        E5:.5 D#5:.5 E5:.5 G5:.5 C6:.5 r:.5 B5:.25 A5:.25 G5:.5
        F5:.5 E5:.5 D5:.5 C5:.5 B4:.5 r:.5 G4:.5 r:.5
        A5:.25 r:.25 A5:.25 r:.25 G#5:.25 r:.25 A5:.25 r:.25 C6:.5 A5:.5 F5:1
        G5:.25 r:.25 G5:.25 r:.25 F#5:.25 r:.25 G5:.25 r:.25 E5:.5 C5:.5 G4:1
        F#5:.5 A5:.5 C6:.5 A5:.5 F#5:.5 D5:.5 C5:.5 A4:.5
        G4:.25 r:.25 B4:.25 r:.25 D5:.25 r:.25 F5:.25 r:.25 G5:.5 r:1.5""")
    b_tune = written("""
        A4:.5 r:.5 C5:.5 r:.5 E5:.5 D#5:.5 E5:1
        G#4:.5 r:.5 B4:.5 r:.5 D5:.5 C#5:.5 D5:1
        C5:.5 B4:.5 A4:.5 C5:.5 E5:.5 A5:.5 G#5:.5 A5:.5
        B5:.5 r:.5 G#5:.5 r:.5 E5:1 r:1
        F5:.5 r:.5 A5:.5 r:.5 D6:.5 C#6:.5 D6:1
        C6:.5 B5:.5 A5:.5 G#5:.5 A5:.5 r:.5 E5:1
        D#5:.5 F#5:.5 A5:.5 B5:.5 A5:.5 F#5:.5 D#5:.5 B4:.5
        E5:.5 r:.5 G#5:.5 r:.5 B5:.5 r:.5 G5:.25 F5:.25 D5:.5""")
    a_chords = ["C", "G7", "C", "G7", "F", "C", "D7", "G7"]
    b_chords = ["Am", "E7", "Am", "E7", "Dm", "Am", "B7", "E7"]
    blocks = {"wood": "x..x..x.....x...", "lwood": "......x.x.....x."}
    form = [("intro", ["C", "G7"]), ("A", a_chords), ("A2", a_chords),
            ("B", b_chords), ("A", a_chords), ("end", ["C", "C"])]

    def each_bar(part, i, last, b, sym, length):
        root = bass_pitch(sym, 36)
        if part == "end" and last:
            bassoon.note(b, 1, 36, 105)
            marimba.chord(b, 1, [60, 64, 67, 72], 110)
            perc.drums(b, {"wood": "x"}, 1)
            return
        # Tiptoeing bassoon: root and fifth, short and dry.
        for k, iv in enumerate((0, 7, 0, 7)):
            bassoon.note(b + k, .5, root + iv, 95, .45)
        pattern_comp(pizz if part != "B" else marimba, [(b, sym, bar)],
                     [(.5, .25, 1), (1.5, .25, .8), (2.5, .25, 1),
                      (3.5, .25, .8)], 60, 62, .6)
        perc.drums(b, blocks)

    score = {
        "A": [cue(marimba, a_tune, vel=110, gate=.6)],
        "A2": [cue(xylo, a_tune, vel=100, gate=.6),
               cue(marimba, a_tune, vel=90, transpose=-12, gate=.6)],
        "B": [cue(pizz, b_tune, vel=115, gate=.5)],
        "end": [cue(marimba, "C6:.25 B5:.25 A#5:.25 A5:.25 G#5:.25 G5:.25 "
                    "F#5:.25 F5:.25 E5:.25 D#5:.25 D5:.25 C#5:.25 r:1",
                    vel=100)],
    }
    return s.write(out, s.arrange(form, each_bar, score), "Bugs")


def astro(out):
    s = Song(72, seed=26, level=1.1)
    voice, arp, echo, warm, sweep, bass = s.band(
        ("Voices", OOHS, 90, 64, 100), ("Crystal", CRYSTAL, 85, 40, 90),
        ("Crystal echo", CRYSTAL, 55, 96, 110), ("Pad", WARM_PAD, 80, 64, 100),
        ("Sweep", SWEEP_PAD, 60, 64, 110), ("Bass", SYNTH_BASS2, 72, 64, 60))
    prog = ["Dmaj7", "E/D", "Bm7", "Gmaj7", "Dmaj7", "E/D", "Gmaj7", "Asus4"]
    tune = written("""
        A5:2 F#5:1 E5:1 | G#5:3 B5:1 | A5:2 F#5:2 | D5:1 E5:1 F#5:2
        C#6:2 A5:2 | B5:2 G#5:1 E5:1 | F#5:4 | D5:2 E5:2""")
    form = [("intro", ["Dmaj7", "Dmaj7"]), ("arp", prog), ("tune", prog),
            ("outro", ["Dmaj7", "Dmaj7"])]

    def each_bar(part, i, last, b, sym, length):
        warm.chord(b, length, voicing(sym, 57), 62, .99)
        bass.note(b, length, bass_pitch(sym, 26), 80, .98)
        if i % 2 == 0:
            sweep.chord(b, 2 * length, voicing(sym, 50), 45, .99)
        if part in ("arp", "tune") or (part == "outro" and i == 0):
            order = [0, 2, 4, 5, 6, 5, 4, 2]
            arpeggio(arp, [(b, sym, length)], .5, order, 62, 96, 72, 1.4)
            # A dotted-eighth echo, quieter and panned away.
            arpeggio(echo, [(b + .75, sym, length - .75)], .5, order,
                     62, 96, 45, 1.2)

    score = {"tune": [cue(voice, tune, vel=90, gate=.98)],
             "outro": [cue(voice, "A5:4 F#5:3", vel=80, gate=.98)]}
    return s.write(out, s.arrange(form, each_bar, score), "Astro")


def champion(out):
    s = Song(108, seed=27, level=0.85)
    trumpets, horns, trombones, tuba, strings, timp, dr = s.band(
        ("Trumpets", TRUMPET, 110, 70, 60), ("Horns", HORN, 100, 50, 60),
        ("Trombones", TROMBONE, 100, 40, 50), ("Tuba", TUBA, 95, 60, 40),
        ("Strings", STRINGS, 85, 80, 70), ("Timpani", TIMPANI, 110, 64, 60),
        ("Percussion", DRUMS, 100, 64, 50))
    bar = s.bar
    call = written("""
        F4:1/3 F4:1/3 F4:1/3 Bb4:1 D5:1/3 D5:1/3 D5:1/3 F5:1
        Eb5:1/3 Eb5:1/3 Eb5:1/3 G5:1 F5:2
        F5:1/3 F5:1/3 F5:1/3 Bb5:1 A5:1/3 G5:1/3 F5:1/3 Eb5:1
        D5:1 C5:1 F5:2""")
    tune = written("""
        Bb4:1.5 F4:.5 Bb4:1 D5:1 | F5:2 D5:1 Bb4:1 | G5:1.5 F5:.5 Eb5:1 G5:1 | F5:3 D5:1
        G5:1.5 F5:.5 D5:1 Bb4:1 | C5:1 Eb5:1 G5:2 | F5:1 A5:1 C6:1 A5:1 | Bb5:3 r:1""")
    tune_low = written("""
        D4:1.5 D4:.5 F4:1 F4:1 | D5:2 Bb4:1 F4:1
        Eb5:1.5 D5:.5 Bb4:1 Eb5:1 | D5:3 Bb4:1
        D5:1.5 D5:.5 Bb4:1 G4:1 | G4:1 Bb4:1 Eb5:2
        C5:1 F5:1 A5:1 F5:1 | F5:3 r:1""")
    middle = written("""
        Eb5:1 G5:1 Bb5:2 | D5:1 F5:1 Bb5:2 | C6:1 G5:1 F5:1 A5:1 | A5:1 Bb5:1 C6:2""")
    t_chords = ["Bb", "Bb", "Eb", "Bb", "Gm", "Eb", "F", "Bb"]
    form = [("intro", ["Bb", "Eb", "Bb", "F7"]), ("A", t_chords),
            ("A2", t_chords), ("mid", ["Eb", "Bb", "Cm F", "F7"]),
            ("A3", t_chords), ("end", ["Bb", "Bb"])]
    march = {"snare": "x..o x.oo x..o xooo", "kick": "x... .... x... ...."}

    def each_bar(part, i, last, b, sym, length):
        root = bass_pitch(sym, 34)
        if part == "end":
            if i == 0:
                strings.chord(b, 6, voicing(sym, 58) + [70], 100)
                tuba.note(b, 6, root, 105)
                horns.chord(b, 6, [58, 62, 65], 105)
                trombones.chord(b, 6, [46, 53], 105)
                for k in range(24):
                    timp.note(b + k / 8, 1 / 8, 46, 70 + k)
                timp.note(b + 3, 1, 34, 120)
                dr.drums(b, {"crash": "X", "kick": "x"}, 1)
            return
        tuba.note(b, 1, root, 100, .7)
        tuba.note(b + 2, 1, root + 7, 90, .7)
        strings.chord(b, length, voicing(sym, 58), 70, .98)
        if length == bar:
            dr.drums(b, march)
            timp.note(b, .5, 34 + (root - 34) % 12, 105)
            timp.note(b + 2, .5, 34 + (root - 34 + 7) % 12, 95)
        if i == 0:
            dr.drums(b, {"crash": "X"})

    score = {
        "intro": [cue(trumpets, call, vel=112),
                  cue(horns, call, vel=95, transpose=-12)],
        "A": [cue(horns, tune, vel=105)],
        "A2": [cue(trumpets, tune, vel=112), cue(horns, tune_low, vel=98)],
        "A3": [cue(trumpets, tune, vel=112), cue(horns, tune_low, vel=98),
               cue(trombones, tune, vel=100, transpose=-12)],
        "mid": [cue(trumpets, middle, vel=110),
                cue(trombones, "G3:2 Bb3:2 F3:2 D4:2 C4:2 A3:2 F3:4",
                    vel=100)],
    }
    beat = s.arrange(form, each_bar, score)
    trumpets.line(beat - 2 * bar, "Bb4:1/3 D5:1/3 F5:1/3 Bb5:4", 118)
    return s.write(out, beat, "Champion")


def champs(out):
    s = Song(128, seed=28, level=0.85)
    lead, counter, keys, bass, dr = s.band(
        ("Brass lead", BRASS, 105, 64, 50),
        ("Synth brass", SYNTH_BRASS, 80, 84, 50), ("Piano", PIANO, 78, 44, 40),
        ("Bass", FINGER_BASS, 105, 64, 10), ("Drums", DRUMS, 105, 64, 25))
    verse = written("""
        D5:.5 D5:.5 G5:.5 D5:.5 B4:1 G4:1 | F#5:.5 F#5:.5 A5:.5 F#5:.5 D5:2
        E5:.5 G5:.5 B5:1 A5:.5 G5:.5 E5:1 | G5:1 E5:.5 C5:.5 E5:2
        D5:.5 D5:.5 G5:.5 D5:.5 B5:1 A5:1 | A5:.5 A5:.5 F#5:.5 A5:.5 D6:2
        C6:.5 B5:.5 A5:.5 G5:.5 E5:1 C6:1 | B5:1 A5:1 F#5:1 A5:1""")
    chorus = written("""
        E5:1 G5:1 C6:1.5 B5:.5 | A5:1 F#5:1 D5:2
        G5:.5 A5:.5 B5:.5 D6:.5 B5:1 G5:1 | E5:1 G5:1 B5:2
        C6:1 B5:.5 A5:.5 G5:1 E5:1 | D5:1 F#5:1 A5:1 C6:1
        B5:2 A5:1 B5:1 | G5:3 r:1""")
    v_chords = ["G", "D/F#", "Em", "C", "G", "D", "C", "D"]
    c_chords = ["C", "D", "G", "Em", "C", "D", "G", "G"]
    groove = {"kick": "x...x...x...x...", "clap": "....x.......x...",
              "snare": "....x.......x..o", "hat": "xoxoxoxoxoxoxoxo"}
    stabs = [(.5, .3, 1), (1.5, .3, .9), (2.5, .3, 1), (3.5, .3, .9)]
    form = [("intro", ["G", "D/F#", "Em", "C"]), ("verse", v_chords),
            ("chorus", c_chords), ("verse2", v_chords), ("chorus2", c_chords),
            ("end", ["G", "G"])]

    def each_bar(part, i, last, b, sym, length):
        root = bass_pitch(sym, 31)
        if part == "end":
            if i == 0:
                lead.chord(b, 3, [67, 71, 74, 79], 112)
                counter.chord(b, 3, voicing(sym, 55), 100)
                bass.note(b, 3, root, 110)
                dr.drums(b, {"kick": "x", "crash": "X"}, 1)
            return
        octave_eighths(bass, b, root, (1, 3, 5, 7), .7)
        pattern_comp(counter, [(b, sym, length)], stabs, 60, 80, .8)
        if part.startswith("chorus"):
            keys.chord(b, 4, voicing(sym, 60), 70)
        drum_bar(dr, b, groove, (3, {"snare": "xxxx"}) if last else None,
                 "X" if i == 0 else None)

    chorus_cues = [cue(lead, chorus, vel=112)]
    score = {"verse": [cue(lead, verse, vel=105)],
             "verse2": [cue(lead, verse, vel=108),
                        cue(keys, verse, vel=70, transpose=12)],
             "chorus": chorus_cues, "chorus2": chorus_cues}
    return s.write(out, s.arrange(form, each_bar, score), "Champs")


def easycity(out):
    s = Song(92, seed=29, level=1.15)
    band = s.band(
        ("Vibraphone", VIBES, 95, 72, 70), ("Alto sax", ALTO_SAX, 88, 58, 60),
        ("Rhodes", RHODES, 90, 50, 60), ("Bass", ACOUSTIC_BASS, 105, 64, 20),
        ("Brushes", DRUMS, 80, 64, 45))
    vibes, sax, rhodes, bass, dr = band
    for t in band:
        t.swing = 1 / 6
    bar = s.bar
    a_tune = written("""
        A4:1 C5:.5 E5:1.5 D5:.5 C5:.5 | F5:1.5 E5:.5 D5:1 A4:1
        Bb4:.5 D5:.5 F5:.5 A5:1.5 G5:1 | E5:2 r:.5 C5:.5 D5:.5 E5:.5
        G5:1 E5:.5 C5:1.5 r:1 | F#5:1.5 A5:.5 C6:1 A5:1
        Bb5:.5 A5:.5 G5:.5 F5:.5 E5:.5 G5:.5 Bb5:1 | A5:3 r:1""")
    b_tune = written("""
        D5:.5 F5:.5 A5:1.5 G5:.5 F5:1 | Db5:.5 F5:.5 G5:1.5 F5:.5 Db5:1
        C5:1 E5:1 G5:1.5 E5:.5 | F#5:1.5 E5:.5 D5:1 C5:1
        Bb4:.5 D5:.5 F5:1 A5:1.5 G5:.5 | E5:1 G5:1 Bb5:1 A5:.5 G5:.5
        A5:1 F5:1 C5:2 | D5:1 E5:1 G5:1 F5:1""")
    a_chords = ["Fmaj7", "Dm7", "Gm7", "C7", "Am7", "D7", "Gm7 C7", "Fmaj7"]
    b_chords = ["Bbmaj7", "Bbm6", "Am7", "D7", "Gm7", "C7", "Fmaj7", "Gm7 C7"]
    # Eighth-note grid: ride "ding, ding-a ding", hi-hat foot on 2 and 4.
    brush = {"ride": "x.xox.xo", "phat": "..x...x.", "stick": "......g."}
    form = [("intro", ["Gm7 C7", "Gm7 C7"]), ("A", a_chords), ("B", b_chords),
            ("A2", a_chords), ("end", ["Fmaj9", "Fmaj9"])]

    def each_part(part, spans):
        if part == "end":
            b = spans[0][0]
            rhodes.chord(b, 6, [53, 57, 60, 64, 67], 80, .98, .08)
            bass.note(b, 6, 29, 95)
            vibes.line(b, "C6:1/3 A5:1/3 F5:1/3 E5:1/3 C5:1/3 A4:1/3 F4:6", 75)
            dr.drums(b, {"ride": "x", "phat": "x"}, 1, .8)
            return
        walking_bass(bass, spans)
        # Rhodes comps on one and anticipates beat three.
        pattern_comp(rhodes, spans, [(0, 1.5, 1), (2.5, 1.5, .85)], 53, 72, .9)
        for b, _, length in spans:
            if length == bar:
                dr.drums(b, brush, .5, .7)

    score = {
        "A": [cue(vibes, a_tune, vel=92)],
        # The sax sneaks in under the second half of the bridge.
        "B": [cue(vibes, b_tune, vel=90),
              cue(sax, b_tune[4:], 4, vel=70, transpose=-12)],
        "A2": [cue(sax, a_tune, vel=96)],
    }
    beat = s.arrange(form, score=score, each_part=each_part)
    return s.write(out, beat, "Easy city")


def fastlane(out):
    s = Song(150, seed=30, level=0.55)
    lead, gtr, pluck, bass, dr = s.band(
        ("Saw lead", SAW, 98, 64, 50), ("Guitar", DISTORTION, 85, 40, 30),
        ("Pluck arp", CHARANG, 70, 90, 60),
        ("Synth bass", SYNTH_BASS2, 105, 64, 10), ("Drums", DRUMS, 108, 64, 20))
    a_tune = written("""
        D5:.5 F5:.5 A5:.5 D6:.5 C6:.5 A5:.5 F5:.5 A5:.5 | Bb5:1 A5:.5 F5:.5 D5:1 F5:1
        G5:.5 E5:.5 C5:.5 E5:.5 G5:.5 C6:.5 E6:1 | C#6:1.5 A5:.5 E5:1 C#5:1
        D6:.5 C6:.5 A5:.5 F5:.5 D5:.5 F5:.5 A5:.5 D6:.5 | F6:1.5 D6:.5 Bb5:2
        E6:.5 D6:.5 C6:.5 G5:.5 E5:.5 G5:.5 C6:1 | A5:2 C#6:1 E6:1""")
    b_tune = written("""
        G5:4 | F5:4 | E5:2 G5:2 | A5:4
        Bb5:4 | D6:4 | C#6:4 | E6:4""")
    a_chords = ["Dm", "Bb", "C", "A", "Dm", "Bb", "C", "A"]
    b_chords = ["Gm", "Bb", "C", "Dm", "Gm", "Bb", "A", "A"]
    groove = {"kick": "x...x...x...x...", "clap": "....x.......x...",
              "hat": "xxxxxxxxxxxxxxxx", "ohat": "..x...x...x...x."}
    form = [("intro", ["Dm", "Bb", "C", "A"]), ("A", a_chords),
            ("B", b_chords), ("A2", a_chords), ("break", ["Dm", "Bb", "C", "A"]),
            ("A3", a_chords), ("end", ["Dm", "Dm"])]

    def each_bar(part, i, last, b, sym, length):
        root = bass_pitch(sym, 26)
        if part == "end":
            if i == 0:
                lead.chord(b, 3, [62, 69, 74], 110)
                gtr.chord(b, 3, [root + 12, root + 19, root + 24], 110)
                bass.note(b, 3, root, 110)
                dr.drums(b, {"kick": "x", "crash": "X"}, 1)
            return
        for k in range(16):
            up = 12 if k % 4 == 2 else 0
            bass.note(b + k * .25, .25, root + up, 100 if k % 4 == 0 else 80, .6)
        if part == "break":
            dr.drums(b, {"kick": "x...x...x...x...", "hat": "..x...x...x...x."})
            if i == 3:
                dr.drums(b, {"snare": "x.x.x.x.xxxxxxxx"})
            return
        drum_bar(dr, b, groove, crash="X" if i == 0 else None)
        if part in ("B", "A2", "A3"):
            for k in range(8):
                gtr.chord(b + k * .5, .5, [root + 24, root + 31, root + 36],
                          105 if k % 4 == 0 else 85, .7)
        if part in ("B", "A3"):
            arpeggio(pluck, [(b, sym, length)], .25,
                     [0, 1, 2, 3, 4, 3, 2, 1], 62, 90, 70, .5)

    score = {"A": [cue(lead, a_tune, vel=100, gate=.8)],
             "A2": [cue(lead, a_tune, vel=108, gate=.8)],
             "A3": [cue(lead, a_tune, vel=108, gate=.8)],
             "B": [cue(lead, b_tune, vel=100)]}
    return s.write(out, s.arrange(form, each_bar, score), "Fast lane")


def lastday(out):
    s = Song(72, seed=31, level=1.27)
    piano, melody, strings, cello = s.band(
        ("Piano", PIANO, 100, 60, 60), ("Piano melody", PIANO, 105, 64, 60),
        ("Strings", SLOW_STRINGS, 80, 76, 80), ("Cello", CELLO, 90, 44, 70))
    bar = s.bar
    a_tune = written("""
        A4:1.5 D5:.5 F5:1 E5:1 | D5:1.5 C5:.5 Bb4:2
        Bb4:1 D5:1 G5:1.5 F5:.5 | E5:2 C#5:1 A4:1
        A5:1.5 G5:.5 F5:1 E5:1 | E5:1.5 D5:.5 C5:1 E5:1
        G5:1.5 F5:.5 E5:1 D5:1 | C#5:3 r:1""")
    b_tune = written("""
        F5:1.5 G5:.5 A5:1 F5:1 | C6:2 A5:1 F5:1
        Bb5:1.5 A5:.5 G5:1 D5:1 | F5:2 E5:1 D5:1
        G5:1 Bb5:1 D6:1.5 C6:.5 | A5:2 F5:1 D5:1
        E5:1.5 D5:.5 C#5:1 E5:1 | D5:4""")
    cello_line = written("""
        D4:4 | F3:2 Bb3:2 | G3:2 Bb3:1 D4:1 | A3:2 C#4:2
        D4:2 E4:2 | F4:2 E4:1 C4:1 | Bb3:2 D4:2 | A3:4""")
    a_chords = ["Dm", "Bb", "Gm", "A", "Dm", "C", "Gm", "A7"]
    b_chords = ["Bb", "F", "Gm", "Dm", "Gm", "Dm/A", "A", "Dm"]
    form = [("intro", ["Dm", "Bb"]), ("A", a_chords), ("B", b_chords),
            ("end", ["Gm", "Dm"])]

    def each_bar(part, i, last, b, sym, length):
        root = bass_pitch(sym, 38)
        tones = chord_tones(sym, root + 7, root + 24)
        fig = [root, tones[0], tones[1], tones[2], tones[3], tones[2],
               tones[1], tones[0]]
        for k, p in enumerate(fig):
            piano.note(b + k * .5, .5 if k else 2, p, 72 if k else 80, 1.0)
        if part in ("B", "end"):
            strings.chord(b, length, voicing(sym, 57), 60, .98)
        if part == "end" and last:
            s.tempo(b, 60)

    score = {
        "A": [cue(melody, a_tune, vel=92, gate=.97)],
        "B": [cue(melody, b_tune, vel=95, gate=.97),
              cue(cello, cello_line, vel=85, gate=.98)],
        "end": [cue(melody, "D5:1.5 C5:.5 Bb4:1 G4:1 A4:4", vel=85, gate=.98),
                cue(cello, "G3:4 D3:4", vel=80, gate=.98)],
    }
    beat = s.arrange(form, each_bar, score)
    piano.chord(beat - bar + 2, 2, [50, 57, 62, 65], 60)
    return s.write(out, beat + 1, "Last day")


SONGS = [
    ("tresquo.mid", tresquo_theme), ("Humanoid.MID", humanoid),
    ("Impact.MID", impact), ("Go4yrgun.MID", go4yrgun),
    ("Sevilana.MID", sevilana), ("Bugs.MID", bugs), ("Astro.MID", astro),
    ("Champion.MID", champion), ("Champs.MID", champs),
    ("Easycity.MID", easycity), ("Fastlane.MID", fastlane),
    ("Lastday.MID", lastday),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "assets", "music")
    out_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else default)
    os.makedirs(out_dir, exist_ok=True)
    for name, compose in SONGS:
        seconds = compose(os.path.join(out_dir, name))
        print("%-14s %5.1f s" % (name, seconds))


if __name__ == "__main__":
    main()
