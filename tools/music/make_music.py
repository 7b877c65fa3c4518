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


def chord_parts(symbol):
    """Returns (root pitch class, intervals, bass pitch class)."""
    main, _, slash = symbol.partition("/")
    i = 1
    while i < len(main) and main[i] in "#b":
        i += 1
    root = pitch(main[:i] + "0") % 12
    intervals = CHORD_SHAPES[main[i:]]
    bass = pitch(slash + "0") % 12 if slash else root
    return root, intervals, bass


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
        t = Track(self, name, self.free_channels.pop(0), program,
                  volume, pan, reverb)
        self.tracks.append(t)
        return t

    def drum_track(self, name="Drums", volume=100, reverb=30):
        t = Track(self, name, 9, None, volume, 64, reverb)
        self.tracks.append(t)
        return t

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


# ---------------------------------------------------------------------------
# The game's theme: a tarantella in A minor with a C major middle section.

THEME_A = ["E5:.5 A5:.5 B5:.5 C6:1 B5:.5", "A5:.5 G#5:.5 A5:.5 E5:1.5",
           "F5:.5 E5:.5 D5:.5 E5:.5 D5:.5 C5:.5", "B4:.5 C5:.5 D5:.5 E5:1.5",
           "E5:.5 A5:.5 B5:.5 C6:1 D6:.5", "F6:.5 E6:.5 D6:.5 C6:1 A5:.5",
           "B5:.5 G#5:.5 E5:.5 D5:.5 E5:.5 G#5:.5", "A5:1.5 r:1.5"]
THEME_A_CHORDS = ["Am", "Am", "Dm", "E7", "Am", "F", "E7", "Am"]
THEME_B = ["G5:1 E5:.5 C5:1 E5:.5", "F5:.5 E5:.5 D5:.5 G5:1.5",
           "F5:1 D5:.5 B4:1 D5:.5", "G5:.5 F5:.5 E5:.5 C5:1.5",
           "A5:1 F5:.5 C5:1 F5:.5", "E5:.5 F5:.5 G5:.5 C6:1.5",
           "B5:.5 A5:.5 G5:.5 F5:.5 E5:.5 D5:.5",
           "E5:.5 F5:.5 E5:.5 D5:.5 C5:.5 B4:.5"]
THEME_B_CHORDS = ["C", "G7", "G7", "C", "F", "C", "G7", "E7"]
# The same tune a diatonic third lower, for the second voice.
THEME_B_THIRDS = ["E5:1 C5:.5 A4:1 C5:.5", "D5:.5 C5:.5 B4:.5 E5:1.5",
                  "D5:1 B4:.5 G4:1 B4:.5", "E5:.5 D5:.5 C5:.5 A4:1.5",
                  "F5:1 D5:.5 A4:1 D5:.5", "C5:.5 D5:.5 E5:.5 A5:1.5",
                  "G5:.5 F5:.5 E5:.5 D5:.5 C5:.5 B4:.5",
                  "G#4:.5 A4:.5 G#4:.5 B4:.5 A4:.5 G#4:.5"]


def play_bars(track, start, bar_len, cells, **kw):
    """One written bar per cell; a miscounted bar is an error, not a drift."""
    for i, cell in enumerate(cells):
        end = track.line(start + i * bar_len, cell, **kw)
        if abs(end - (start + (i + 1) * bar_len)) > 1e-6:
            raise ValueError("bar does not add up: %r" % cell)
    return start + len(cells) * bar_len


def tresquo_theme(out):
    s = Song(180, (6, 8), seed=11, level=1.1)
    mando = s.track("Mandolin", STEEL, 105, 80, 50)
    accord = s.track("Accordion", ACCORDION, 88, 48, 50)
    squeeze = s.track("Accordion melody", ACCORDION, 96, 56, 50)
    bass = s.track("Bass", ACOUSTIC_BASS, 105, 64, 20)
    perc = s.drum_track("Tambourine", 85)
    bar = s.bar
    form = (["intro"] + ["A", "A2", "B", "B2", "A", "A2"] + ["coda"])
    beat = 0.0
    for part in form:
        if part == "intro":
            chords = ["Am", "E7", "Am", "E7"]
        elif part.startswith("A"):
            chords = THEME_A_CHORDS
        elif part.startswith("B"):
            chords = THEME_B_CHORDS
        else:
            chords = ["Am", "E7", "Am", "Am"]
        spans = bars(chords, beat, bar)
        if part == "coda":
            spans = spans[:3]
        # Oom-pa-pa of the tarantella: bass on the dotted beats, chords between.
        pattern_bass(bass, spans, [(0, .5, 0), (1.5, .5, 7)], 40, 100)
        pattern_comp(accord, spans, [(.5, .4, 1), (1, .4, .8), (2, .4, 1),
                                     (2.5, .4, .8)], 57, 62)
        for i in range(len(spans)):
            perc.drums(spans[i][0], {"tamb": "xgo xgo"}, 0.5)
        if part == "A":
            play_bars(mando, beat, bar, THEME_A, vel=100, tremolo=0.25)
        elif part == "A2":
            play_bars(squeeze, beat, bar, THEME_A, vel=92, transpose=-12)
            play_bars(mando, beat, bar, THEME_A, vel=96, tremolo=0.25)
        elif part == "B":
            play_bars(squeeze, beat, bar, THEME_B, vel=95)
        elif part == "B2":
            play_bars(mando, beat, bar, THEME_B, vel=100, tremolo=0.25)
            play_bars(squeeze, beat, bar, THEME_B_THIRDS, vel=86)
        elif part == "coda":
            mando.line(beat, "E5:.5 A5:.5 C6:.5 E6:1.5", 105)
            mando.line(beat + bar, "D6:.5 B5:.5 G#5:.5 E5:1.5", 100)
            mando.line(beat + 2 * bar, "A5/C6/E6:1", 92)
            accord.chord(beat + 2 * bar, 1, [45, 57, 60, 64], 72)
            bass.note(beat + 2 * bar, 1, 33, 100)
            perc.drums(beat + 2 * bar, {"crash": "o"}, 1)
        beat += len(chords) * bar
    return s.write(out, beat, "Tresquo")


def tresquo_waltz(out):
    """The theme again as a slower café waltz in D minor."""
    s = Song(150, (3, 4), seed=12, level=1.2)
    violin = s.track("Violin", VIOLIN, 100, 72, 70)
    clar = s.track("Clarinet", CLARINET, 98, 56, 60)
    piano = s.track("Piano", PIANO, 80, 50, 50)
    strings = s.track("Strings", STRINGS, 60, 80, 70)
    bass = s.track("Bass", PIZZICATO, 100, 64, 40)
    bar, down = s.bar, -7
    beat = 0.0
    waltz = [(1, .8, 1), (2, .8, .85)]

    def accompany(chords, start):
        spans = bars([transpose_symbol(c, down) for c in chords], start, bar)
        pattern_bass(bass, spans, [(0, 1, 0)], 38, 100)
        pattern_comp(piano, spans, waltz, 55, 60)
        pad(strings, spans, 53, 50)
        return end_of(spans)

    beat = accompany(["Am", "Dm", "E7", "Am"], beat)
    piano.line(bar * 3, "A4:.5 C5:.5 E5:.5 A5:.5 C6:.5 E6:.5", 70, down)
    for part in ("A", "B", "A2", "B2", "A3"):
        chords = THEME_A_CHORDS if part.startswith("A") else THEME_B_CHORDS
        start = beat
        beat = accompany(chords, beat)
        tune = THEME_A if part.startswith("A") else THEME_B
        if part == "A":
            play_bars(violin, start, bar, tune, vel=95, transpose=down)
        elif part == "B":
            play_bars(clar, start, bar, tune, vel=95, transpose=down)
        elif part == "A2":
            play_bars(clar, start, bar, tune, vel=90, transpose=down)
            play_bars(violin, start, bar, tune, vel=80, transpose=down + 12)
        elif part == "B2":
            play_bars(violin, start, bar, tune, vel=96, transpose=down)
            play_bars(clar, start, bar, THEME_B_THIRDS, vel=82, transpose=down)
        else:
            # Last pass slows into the final chord.
            play_bars(violin, start, bar, tune[:7], vel=92, transpose=down)
            s.tempo(start + 5 * bar, 138)
            s.tempo(start + 6 * bar, 124)
            s.tempo(start + 7 * bar, 108)
    violin.line(beat - bar, "D5:3", 90)
    clar.line(beat - bar, "A4:3", 80)
    strings.chord(beat, 3, [50, 57, 62, 65], 65)
    piano.chord(beat, 3, [38, 50, 57, 62, 65, 69], 75, strum=0.05)
    bass.note(beat, 1, 38, 100)
    return s.write(out, beat + 2 * bar, "Tresquo (waltz)")


def transpose_symbol(symbol, semis):
    names = ["C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]
    main, _, slash = symbol.partition("/")
    i = 1
    while i < len(main) and main[i] in "#b":
        i += 1
    root = names[(pitch(main[:i] + "0") + semis) % 12]
    out = root + main[i:]
    if slash:
        out += "/" + names[(pitch(slash + "0") + semis) % 12]
    return out


# ---------------------------------------------------------------------------
# Menu tunes.

def humanoid(out):
    s = Song(120, seed=21, level=0.87)
    lead = s.track("Lead", SQUARE, 92, 64, 45)
    arp = s.track("Sequencer", SAW, 70, 40, 40)
    padt = s.track("Pad", POLYSYNTH, 62, 88, 70)
    bass = s.track("Bass", SYNTH_BASS1, 100, 64, 10)
    dr = s.drum_track("Drum machine", 95, 15)
    bar = s.bar
    a_chords = ["Em", "Em", "C", "D", "Em", "Em", "C", "D"]
    b_chords = ["Am", "Am", "C", "C", "D", "D", "B", "B"]
    a_tune = ["E5:.5 r:.5 E5:.25 E5:.25 G5:.5 r:.5 B5:.5 A5:.5 G5:.5",
              "F#5:1 E5:.5 D5:.5 E5:2",
              "E5:.5 r:.5 E5:.25 E5:.25 G5:.5 r:.5 C6:.5 B5:.5 G5:.5",
              "A5:1.5 F#5:.5 D5:2",
              "E5:.5 r:.5 E5:.25 E5:.25 G5:.5 r:.5 B5:.5 A5:.5 G5:.5",
              "F#5:1 E5:.5 D5:.5 E5:2",
              "G5:.5 G5:.5 A5:.5 B5:.5 C6:1 B5:.5 A5:.5",
              "F#5:.5 D5:.5 F#5:.5 A5:.5 B5:2"]
    b_tune = ["A4:.5 A5:.5 r:.5 A4:.5 G5:1 E5:1",
              "C5:.5 C6:.5 r:.5 C5:.5 B5:1 A5:1",
              "G4:.5 G5:.5 r:.5 G4:.5 E5:1 C5:1", "E5:2 G5:2",
              "F#5:.5 A5:.5 D6:1 C6:.5 A5:.5 F#5:1", "A5:4",
              "B5:.5 A5:.5 F#5:.5 D#5:.5 B4:1 D#5:1", "F#5:4"]
    beat_pat = {"kick": "x...x...x...x...", "snare": "....x.......x...",
                "clap": "....o.......o...", "hat": "x.o.x.o.x.o.x.oo"}
    form = [("intro", ["Em", "Em", "C", "D"]), ("seq", a_chords),
            ("A", a_chords), ("B", b_chords), ("A", a_chords),
            ("outro", ["Em", "C", "D", "Em"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, _) in enumerate(spans):
            last = part == "outro" and i == len(spans) - 1
            if last:
                dr.drums(b, {"kick": "x", "crash": "x"}, 1)
                bass.note(b, 2, bass_pitch(sym, 28), 100)
                padt.chord(b, 3, voicing(sym, 52), 70)
                lead.line(b, "E5/B5:2", 85)
                continue
            fill = part != "intro" and i == len(spans) - 1
            dr.drums(b, beat_pat)
            if fill:
                dr.drums(b + 3, {"snare": "xoxx"})
            if i == 0 and part != "intro":
                dr.drums(b, {"crash": "x"})
            root = bass_pitch(sym, 28)
            for k in range(8):
                bass.note(b + k * .5, .5, root + (12 if k % 2 else 0), 100, .6)
            if part != "intro":
                arpeggio(arp, [(b, sym, bar)], .25, [0, 2, 4, 2, 1, 3, 5, 3],
                         52, 88, 62, .55)
            if part in ("B", "outro"):
                padt.chord(b, bar, voicing(sym, 55), 55, .98)
        if part == "A":
            play_bars(lead, beat, bar, a_tune, vel=96, gate=.7)
        elif part == "B":
            play_bars(lead, beat, bar, b_tune, vel=96, gate=.8)
        beat = end_of(spans)
    return s.write(out, beat, "Humanoid")


def impact(out):
    s = Song(96, seed=22, level=0.85)
    horns = s.track("Horns", HORN, 110, 54, 60)
    trumpets = s.track("Trumpets", TRUMPET, 100, 74, 60)
    brass = s.track("Brass hits", BRASS, 105, 64, 50)
    trombone = s.track("Trombones", TROMBONE, 100, 40, 50)
    low = s.track("Low strings", STRINGS, 100, 64, 50)
    timp = s.track("Timpani", TIMPANI, 110, 64, 60)
    hit = s.track("Orchestra hit", ORCH_HIT, 90, 64, 60)
    dr = s.drum_track("Drums", 110, 40)
    bar = s.bar
    tune = ["C5:1.5 G4:.5 C5:1 D5:1", "Eb5:2 D5:1 C5:1",
            "Eb5:1.5 C5:.5 Ab4:1 C5:1", "D5:2 F5:2",
            "G5:1.5 F5:.5 Eb5:1 D5:1", "C5:1.5 D5:.5 Eb5:2",
            "F5:1 Ab5:1 G5:1 F5:1", "G5:2 D5:1 B4:1"]
    harmony = ["G4:1.5 Eb4:.5 G4:1 Bb4:1", "G4:2 F4:1 Eb4:1",
               "C5:1.5 Ab4:.5 Eb4:1 Ab4:1", "Bb4:2 D5:2",
               "Eb5:1.5 D5:.5 C5:1 Bb4:1", "G4:1.5 Bb4:.5 C5:2",
               "C5:1 F5:1 Eb5:1 C5:1", "D5:2 B4:1 G4:1"]
    a_chords = ["Cm", "Cm", "Ab", "Bb", "Cm", "Cm", "Fm", "G"]
    groove = {"kick": "x..x..x.x...x...", "snare": "....X.......X..o"}
    hits = [(0, .75, 1), (1.5, .4, .9), (2.5, .4, .9), (3, .75, 1)]
    form = [("intro", ["Cm", "Cm", "Ab", "Bb"]), ("A", a_chords),
            ("A2", a_chords), ("bridge", ["Ab", "Bb", "Ab", "G"]),
            ("end", ["Cm", "Cm"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, _) in enumerate(spans):
            root = bass_pitch(sym, 36)
            if part == "end" and i == 1:
                for tr, ps in ((brass, voicing(sym, 48)), (hit, [48, 60, 63, 67])):
                    tr.chord(b, 1, ps, 120)
                timp.note(b, 1, 36, 120)
                low.note(b, 2, 36, 110)
                dr.drums(b, {"kick": "x", "crash": "X"}, 1)
                continue
            for k in range(8):
                low.note(b + k * .5, .5, root + (12 if k in (3, 7) else 0), 100, .7)
            dr.drums(b, groove)
            if i == len(spans) - 1 and part != "end":
                dr.drums(b + 2, {"htom": "x.x.", "mtom": ".x.x", "ltom": "....xxxx"})
            if i == 0 or part == "bridge":
                dr.drums(b, {"crash": "X"})
                hit.chord(b, .5, voicing(sym, 60), 110)
            timp.note(b, .5, root + 12 if root < 41 else root, 110)
            timp.note(b + 3, .5, bass_pitch(sym, 36) + 7, 100)
            if part in ("intro", "bridge") or (part == "A2" and i % 2):
                pattern_comp(brass, [(b, sym, bar)], hits, 55, 112, .7)
            if part == "end":
                pattern_comp(brass, [(b, sym, bar)], [(0, 2, 1)], 55, 110)
        if part == "A":
            play_bars(horns, beat, bar, tune, vel=110)
            play_bars(trombone, beat, bar, tune, vel=100, transpose=-12)
        elif part == "A2":
            play_bars(trumpets, beat, bar, tune, vel=112)
            play_bars(horns, beat, bar, harmony, vel=100)
            play_bars(trombone, beat, bar, tune, vel=105, transpose=-12)
        elif part == "bridge":
            trombone.line(beat, "Ab3:2 C4:2 Bb3:2 D4:2 Ab3:2 C4:2 G3:2 B3:2", 110)
            trumpets.line(beat + 2 * bar, "Eb5:1 C5:1 Ab4:1 C5:1 D5:2 G5:2", 112)
        elif part == "end":
            horns.line(beat, "C5/G5:4", 110)
            trumpets.line(beat, "Eb5/C6:4", 105)
        beat = end_of(spans)
    return s.write(out, beat + bar / 2, "Impact")


def go4yrgun(out):
    s = Song(140, seed=23, level=0.93)
    lead = s.track("Lead guitar", OVERDRIVE, 96, 76, 50)
    rhythm = s.track("Rhythm guitar", DISTORTION, 92, 44, 30)
    bass = s.track("Bass", PICK_BASS, 105, 64, 10)
    dr = s.drum_track("Drums", 110, 25)
    bar = s.bar
    verse = ["B4:.5 B4:.5 D5:.5 E5:1 r:.5 D5:.5 B4:.5", "G4:1 A4:.5 B4:2.5",
             "C5:.5 C5:.5 E5:.5 G5:1 r:.5 E5:.5 C5:.5", "D5:1 F#5:1 A5:2",
             "B4:.5 B4:.5 D5:.5 E5:1 r:.5 D5:.5 B4:.5", "G4:1 A4:.5 B4:2.5",
             "E5:.5 G5:.5 E5:.5 C5:1 r:.5 B4:1", "A4:1 B4:1 D5:2"]
    chorus = ["E5:2 G5:2", "F#5:2 A5:2", "B5:3 A5:.5 G5:.5", "E5:4",
              "E5:1 G5:1 C6:2", "B5:1 A5:1 F#5:2", "D#5:2 F#5:2", "B5:4"]
    v_chords = ["E5", "E5", "C5", "D5", "E5", "E5", "C5", "D5"]
    c_chords = ["C5", "D5", "E5", "E5", "C5", "D5", "B5", "B5"]
    rock = {"kick": "x.....x.x.......", "snare": "....x.......x...",
            "hat": "x.x.x.x.x.x.x.x."}
    form = [("intro", ["E5", "E5", "C5 D5", "E5"]), ("verse", v_chords),
            ("chorus", c_chords), ("verse", v_chords), ("chorus", c_chords),
            ("end", ["E5", "E5"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for b, sym, length in spans:
            root = bass_pitch(sym, 28)
            power = [root + 12, root + 19, root + 24]
            if part == "end":
                if b == beat:
                    rhythm.chord(b, 4, power, 115)
                    bass.note(b, 4, root, 110)
                    lead.line(b, "E4/B4/E5:4", 105)
                    dr.drums(b, {"kick": "x...x..", "crash": "X......",
                                 "snare": "....x.."}, .25)
                continue
            for k in range(int(length * 2)):
                accent = 115 if k % 4 == 0 else 92
                rhythm.chord(b + k * .5, .5, power, accent, .6 if k % 4 else .9)
                bass.note(b + k * .5, .5, root, accent, .8)
        if part != "end":
            for i in range(len(chords)):
                b = beat + i * bar
                dr.drums(b, rock)
                if i == 0:
                    dr.drums(b, {"crash": "X"})
                if i == len(chords) - 1:
                    dr.drums(b + 3, {"snare": "xxxx"})
        if part == "verse":
            play_bars(lead, beat, bar, verse, vel=100)
        elif part == "chorus":
            play_bars(lead, beat, bar, chorus, vel=110)
        beat = end_of(spans)
    return s.write(out, beat, "Go for your gun")


GUITAR = {"Am": "A2 E3 A3 C4 E4", "G": "G2 B2 D3 G3 B3 G4",
          "F": "F2 C3 F3 A3 C4 F4", "E": "E2 B2 E3 G#3 B3 E4",
          "Dm": "D3 A3 D4 F4", "E7": "E2 B2 D3 G#3 B3 E4"}


def sevilana(out):
    s = Song(150, (3, 4), seed=24, level=0.88)
    violin = s.track("Violin", VIOLIN, 100, 76, 60)
    solo = s.track("Guitar melody", NYLON, 112, 56, 40)
    guitar = s.track("Guitar", NYLON, 96, 44, 40)
    bass = s.track("Bass", ACOUSTIC_BASS, 80, 64, 20)
    perc = s.drum_track("Castanets and palmas", 100, 35)
    bar = s.bar
    a_tune = ["A5:1 C6:.5 B5:.5 A5:1", "B5:1 D6:.5 C6:.5 B5:1",
              "A5:.5 B5:.5 A5:.5 G5:.5 F5:1", "G#5:.5 F5:.5 E5:2",
              "C6:1 E6:.5 D6:.5 C6:1", "D6:.5 C6:.5 B5:.5 A5:.5 G5:1",
              "F5:.5 G5:.5 A5:.5 G5:.5 F5:.5 E5:.5", "E5:3"]
    b_tune = ["D5:1 F5:1 A5:1", "C6:1.5 B5:.5 A5:1",
              "B5:.5 A5:.5 G#5:1 F5:1", "E5:1 A5:2",
              "F5:.5 E5:.5 D5:.5 F5:.5 A5:1", "E5:.5 D5:.5 C5:.5 E5:.5 A5:1",
              "A5:.5 G5:.5 F5:.5 E5:.5 F5:1", "E5:3"]
    a_chords = ["Am", "G", "F", "E", "Am", "G", "F", "E"]
    b_chords = ["Dm", "Am", "E7", "Am", "Dm", "Am", "F", "E"]
    form = [("intro", ["Am", "G", "F", "E"]), ("A", a_chords), ("B", b_chords),
            ("inter", ["Am", "G", "F", "E"]), ("A2", a_chords), ("B2", b_chords),
            ("end", ["F", "E", "E"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, _) in enumerate(spans):
            shape = [pitch(n) for n in GUITAR[sym].split()]
            if part == "end" and i == 2:
                guitar.chord(b, 2, shape, 118, strum=.03)
                bass.note(b, 1, bass_pitch(sym, 28), 100)
                perc.drums(b, {"castanet": "X", "clap": "X"}, 1)
                continue
            # Rasgueado: a rolled accent on one, quick strokes after.
            guitar.chord(b, 1, shape, 110, .9, .025)
            guitar.chord(b + 1, .5, shape[1:], 80, .8, .012)
            guitar.chord(b + 1.5, .5, list(reversed(shape[1:])), 70, .8, .012)
            guitar.chord(b + 2, 1, shape, 95, .9, .02)
            bass.note(b, 1, bass_pitch(sym, 28 + 12), 95)
            perc.drums(b, {"castanet": "x.oxx.", "clap": "x.o.o."}, .5)
        if part == "A":
            play_bars(solo, beat, bar, a_tune, vel=110, transpose=-12)
        elif part == "B":
            play_bars(violin, beat, bar, b_tune, vel=100)
        elif part == "A2":
            play_bars(violin, beat, bar, a_tune, vel=100)
            play_bars(solo, beat, bar, a_tune, vel=95, transpose=-12)
        elif part == "B2":
            play_bars(violin, beat, bar, b_tune, vel=105)
        elif part == "end":
            violin.line(beat, "A5:.5 G5:.5 F5:.5 E5:.5 D5:.5 C5:.5 B4:3 G#4/E5:1", 105)
        beat = end_of(spans)
    return s.write(out, beat, "Sevillana")


def bugs(out):
    s = Song(132, seed=25, level=1.05)
    marimba = s.track("Marimba", MARIMBA, 110, 50, 40)
    xylo = s.track("Xylophone", XYLO, 90, 80, 40)
    pizz = s.track("Pizzicato", PIZZICATO, 105, 70, 50)
    bassoon = s.track("Bassoon", BASSOON, 100, 60, 30)
    perc = s.drum_track("Woodblocks", 90, 25)
    bar = s.bar
    a_tune = ["C5:.25 r:.25 E5:.25 r:.25 G5:.5 F#5:.5 G5:.25 r:1.75",
              "F5:.25 r:.25 D5:.25 r:.25 B4:.5 A#4:.5 B4:.25 r:.75 G4:.5 r:.5",
              "E5:.5 D#5:.5 E5:.5 G5:.5 C6:.5 r:.5 B5:.25 A5:.25 G5:.5",
              "F5:.5 E5:.5 D5:.5 C5:.5 B4:.5 r:.5 G4:.5 r:.5",
              "A5:.25 r:.25 A5:.25 r:.25 G#5:.25 r:.25 A5:.25 r:.25 C6:.5 A5:.5 F5:1",
              "G5:.25 r:.25 G5:.25 r:.25 F#5:.25 r:.25 G5:.25 r:.25 E5:.5 C5:.5 G4:1",
              "F#5:.5 A5:.5 C6:.5 A5:.5 F#5:.5 D5:.5 C5:.5 A4:.5",
              "G4:.25 r:.25 B4:.25 r:.25 D5:.25 r:.25 F5:.25 r:.25 G5:.5 r:1.5"]
    b_tune = ["A4:.5 r:.5 C5:.5 r:.5 E5:.5 D#5:.5 E5:1",
              "G#4:.5 r:.5 B4:.5 r:.5 D5:.5 C#5:.5 D5:1",
              "C5:.5 B4:.5 A4:.5 C5:.5 E5:.5 A5:.5 G#5:.5 A5:.5",
              "B5:.5 r:.5 G#5:.5 r:.5 E5:1 r:1",
              "F5:.5 r:.5 A5:.5 r:.5 D6:.5 C#6:.5 D6:1",
              "C6:.5 B5:.5 A5:.5 G#5:.5 A5:.5 r:.5 E5:1",
              "D#5:.5 F#5:.5 A5:.5 B5:.5 A5:.5 F#5:.5 D#5:.5 B4:.5",
              "E5:.5 r:.5 G#5:.5 r:.5 B5:.5 r:.5 G5:.25 F5:.25 D5:.5"]
    a_chords = ["C", "G7", "C", "G7", "F", "C", "D7", "G7"]
    b_chords = ["Am", "E7", "Am", "E7", "Dm", "Am", "B7", "E7"]
    blocks = {"wood": "x..x..x.....x...", "lwood": "......x.x.....x."}
    form = [("intro", ["C", "G7"]), ("A", a_chords), ("A2", a_chords),
            ("B", b_chords), ("A", a_chords), ("end", ["C", "C"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, _) in enumerate(spans):
            root = bass_pitch(sym, 36)
            if part == "end" and i == 1:
                bassoon.note(b, 1, 36, 105)
                marimba.chord(b, 1, [60, 64, 67, 72], 110)
                perc.drums(b, {"wood": "x"}, 1)
                continue
            # Tiptoeing bassoon: root and fifth, short and dry.
            for k, iv in enumerate((0, 7, 0, 7)):
                bassoon.note(b + k, .5, root + iv, 95, .45)
            pattern_comp(pizz if part != "B" else marimba, [(b, sym, bar)],
                         [(.5, .25, 1), (1.5, .25, .8), (2.5, .25, 1),
                          (3.5, .25, .8)], 60, 62, .6)
            perc.drums(b, blocks)
        if part == "A":
            play_bars(marimba, beat, bar, a_tune, vel=110, gate=.6)
        elif part == "A2":
            play_bars(xylo, beat, bar, a_tune, vel=100, gate=.6)
            play_bars(marimba, beat, bar, a_tune, vel=90, transpose=-12, gate=.6)
        elif part == "B":
            play_bars(pizz, beat, bar, b_tune, vel=115, gate=.5)
        elif part == "end":
            marimba.line(beat, "C6:.25 B5:.25 A#5:.25 A5:.25 G#5:.25 G5:.25 "
                         "F#5:.25 F5:.25 E5:.25 D#5:.25 D5:.25 C#5:.25 r:1", 100)
        beat = end_of(spans)
    return s.write(out, beat, "Bugs")


def astro(out):
    s = Song(72, seed=26, level=1.1)
    voice = s.track("Voices", OOHS, 90, 64, 100)
    arp = s.track("Crystal", CRYSTAL, 85, 40, 90)
    echo = s.track("Crystal echo", CRYSTAL, 55, 96, 110)
    warm = s.track("Pad", WARM_PAD, 80, 64, 100)
    sweep = s.track("Sweep", SWEEP_PAD, 60, 64, 110)
    bass = s.track("Bass", SYNTH_BASS2, 72, 64, 60)
    bar = s.bar
    prog = ["Dmaj7", "E/D", "Bm7", "Gmaj7", "Dmaj7", "E/D", "Gmaj7", "Asus4"]
    tune = ["A5:2 F#5:1 E5:1", "G#5:3 B5:1", "A5:2 F#5:2", "D5:1 E5:1 F#5:2",
            "C#6:2 A5:2", "B5:2 G#5:1 E5:1", "F#5:4", "D5:2 E5:2"]
    form = [("intro", ["Dmaj7", "Dmaj7"]), ("arp", prog), ("tune", prog),
            ("outro", ["Dmaj7", "Dmaj7"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, length) in enumerate(spans):
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
        if part == "tune":
            play_bars(voice, beat, bar, tune, vel=90, gate=.98)
        elif part == "outro":
            voice.line(beat, "A5:4 F#5:3", 80, gate=.98)
        beat = end_of(spans)
    return s.write(out, beat, "Astro")


def champion(out):
    s = Song(108, seed=27, level=0.85)
    trumpets = s.track("Trumpets", TRUMPET, 110, 70, 60)
    horns = s.track("Horns", HORN, 100, 50, 60)
    trombones = s.track("Trombones", TROMBONE, 100, 40, 50)
    tuba = s.track("Tuba", TUBA, 95, 60, 40)
    strings = s.track("Strings", STRINGS, 85, 80, 70)
    timp = s.track("Timpani", TIMPANI, 110, 64, 60)
    dr = s.drum_track("Percussion", 100, 50)
    bar = s.bar
    call = ["F4:1/3 F4:1/3 F4:1/3 Bb4:1 D5:1/3 D5:1/3 D5:1/3 F5:1",
            "Eb5:1/3 Eb5:1/3 Eb5:1/3 G5:1 F5:2",
            "F5:1/3 F5:1/3 F5:1/3 Bb5:1 A5:1/3 G5:1/3 F5:1/3 Eb5:1",
            "D5:1 C5:1 F5:2"]
    tune = ["Bb4:1.5 F4:.5 Bb4:1 D5:1", "F5:2 D5:1 Bb4:1",
            "G5:1.5 F5:.5 Eb5:1 G5:1", "F5:3 D5:1",
            "G5:1.5 F5:.5 D5:1 Bb4:1", "C5:1 Eb5:1 G5:2",
            "F5:1 A5:1 C6:1 A5:1", "Bb5:3 r:1"]
    tune_low = ["D4:1.5 D4:.5 F4:1 F4:1", "D5:2 Bb4:1 F4:1",
                "Eb5:1.5 D5:.5 Bb4:1 Eb5:1", "D5:3 Bb4:1",
                "D5:1.5 D5:.5 Bb4:1 G4:1", "G4:1 Bb4:1 Eb5:2",
                "C5:1 F5:1 A5:1 F5:1", "F5:3 r:1"]
    middle = ["Eb5:1 G5:1 Bb5:2", "D5:1 F5:1 Bb5:2", "C6:1 G5:1 F5:1 A5:1",
              "A5:1 Bb5:1 C6:2"]
    t_chords = ["Bb", "Bb", "Eb", "Bb", "Gm", "Eb", "F", "Bb"]
    form = [("intro", ["Bb", "Eb", "Bb", "F7"]), ("A", t_chords),
            ("A2", t_chords), ("mid", ["Eb", "Bb", "Cm F", "F7"]),
            ("A3", t_chords), ("end", ["Bb", "Bb"])]
    march = {"snare": "x..o x.oo x..o xooo", "kick": "x... .... x... ...."}
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, length) in enumerate(spans):
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
                continue
            tuba.note(b, 1, root, 100, .7)
            tuba.note(b + 2, 1, root + 7, 90, .7)
            strings.chord(b, length, voicing(sym, 58), 70, .98)
            if length == bar:
                dr.drums(b, march)
                timp.note(b, .5, 34 + (root - 34) % 12, 105)
                timp.note(b + 2, .5, 34 + (root - 34 + 7) % 12, 95)
            if i == 0:
                dr.drums(b, {"crash": "X"})
        if part == "intro":
            play_bars(trumpets, beat, bar, call, vel=112)
            play_bars(horns, beat, bar, call, vel=95, transpose=-12)
        elif part in ("A", "A2", "A3"):
            play_bars(trumpets if part != "A" else horns, beat, bar, tune,
                      vel=112 if part != "A" else 105)
            if part != "A":
                play_bars(horns, beat, bar, tune_low, vel=98)
            if part == "A3":
                play_bars(trombones, beat, bar, tune, vel=100, transpose=-12)
        elif part == "mid":
            play_bars(trumpets, beat, bar, middle, vel=110)
            trombones.line(beat, "G3:2 Bb3:2 F3:2 D4:2 C4:2 A3:2 F3:4", 100)
        beat = end_of(spans)
    trumpets.line(beat - 2 * bar, "Bb4:1/3 D5:1/3 F5:1/3 Bb5:4", 118)
    return s.write(out, beat, "Champion")


def champs(out):
    s = Song(128, seed=28, level=0.85)
    lead = s.track("Brass lead", BRASS, 105, 64, 50)
    counter = s.track("Synth brass", SYNTH_BRASS, 80, 84, 50)
    keys = s.track("Piano", PIANO, 78, 44, 40)
    bass = s.track("Bass", FINGER_BASS, 105, 64, 10)
    dr = s.drum_track("Drums", 105, 25)
    bar = s.bar
    verse = ["D5:.5 D5:.5 G5:.5 D5:.5 B4:1 G4:1",
             "F#5:.5 F#5:.5 A5:.5 F#5:.5 D5:2",
             "E5:.5 G5:.5 B5:1 A5:.5 G5:.5 E5:1", "G5:1 E5:.5 C5:.5 E5:2",
             "D5:.5 D5:.5 G5:.5 D5:.5 B5:1 A5:1",
             "A5:.5 A5:.5 F#5:.5 A5:.5 D6:2",
             "C6:.5 B5:.5 A5:.5 G5:.5 E5:1 C6:1", "B5:1 A5:1 F#5:1 A5:1"]
    chorus = ["E5:1 G5:1 C6:1.5 B5:.5", "A5:1 F#5:1 D5:2",
              "G5:.5 A5:.5 B5:.5 D6:.5 B5:1 G5:1", "E5:1 G5:1 B5:2",
              "C6:1 B5:.5 A5:.5 G5:1 E5:1", "D5:1 F#5:1 A5:1 C6:1",
              "B5:2 A5:1 B5:1", "G5:3 r:1"]
    v_chords = ["G", "D/F#", "Em", "C", "G", "D", "C", "D"]
    c_chords = ["C", "D", "G", "Em", "C", "D", "G", "G"]
    groove = {"kick": "x...x...x...x...", "clap": "....x.......x...",
              "snare": "....x.......x..o", "hat": "xoxoxoxoxoxoxoxo"}
    form = [("intro", ["G", "D/F#", "Em", "C"]), ("verse", v_chords),
            ("chorus", c_chords), ("verse2", v_chords), ("chorus2", c_chords),
            ("end", ["G", "G"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, length) in enumerate(spans):
            root = bass_pitch(sym, 31)
            if part == "end":
                if i == 0:
                    lead.chord(b, 3, [67, 71, 74, 79], 112)
                    counter.chord(b, 3, voicing(sym, 55), 100)
                    bass.note(b, 3, root, 110)
                    dr.drums(b, {"kick": "x", "crash": "X"}, 1)
                continue
            for k in range(8):
                bass.note(b + k * .5, .5, root + (12 if k % 2 else 0), 100, .7)
            pattern_comp(counter, [(b, sym, length)],
                         [(.5, .3, 1), (1.5, .3, .9), (2.5, .3, 1), (3.5, .3, .9)],
                         60, 80, .8)
            if part.startswith("chorus"):
                keys.chord(b, 4, voicing(sym, 60), 70)
            dr.drums(b, groove)
            if i == 0:
                dr.drums(b, {"crash": "X"})
            if i == len(spans) - 1:
                dr.drums(b + 3, {"snare": "xxxx"})
        if part == "verse":
            play_bars(lead, beat, bar, verse, vel=105)
        elif part == "verse2":
            play_bars(lead, beat, bar, verse, vel=108)
            play_bars(keys, beat, bar, verse, vel=70, transpose=12)
        elif part.startswith("chorus"):
            play_bars(lead, beat, bar, chorus, vel=112)
        beat = end_of(spans)
    return s.write(out, beat, "Champs")


def easycity(out):
    s = Song(92, seed=29, level=1.15)
    vibes = s.track("Vibraphone", VIBES, 95, 72, 70)
    sax = s.track("Alto sax", ALTO_SAX, 88, 58, 60)
    rhodes = s.track("Rhodes", RHODES, 90, 50, 60)
    bass = s.track("Bass", ACOUSTIC_BASS, 105, 64, 20)
    dr = s.drum_track("Brushes", 80, 45)
    for t in (vibes, sax, rhodes, bass, dr):
        t.swing = 1 / 6
    bar = s.bar
    a_tune = ["A4:1 C5:.5 E5:1.5 D5:.5 C5:.5", "F5:1.5 E5:.5 D5:1 A4:1",
              "Bb4:.5 D5:.5 F5:.5 A5:1.5 G5:1", "E5:2 r:.5 C5:.5 D5:.5 E5:.5",
              "G5:1 E5:.5 C5:1.5 r:1", "F#5:1.5 A5:.5 C6:1 A5:1",
              "Bb5:.5 A5:.5 G5:.5 F5:.5 E5:.5 G5:.5 Bb5:1", "A5:3 r:1"]
    b_tune = ["D5:.5 F5:.5 A5:1.5 G5:.5 F5:1", "Db5:.5 F5:.5 G5:1.5 F5:.5 Db5:1",
              "C5:1 E5:1 G5:1.5 E5:.5", "F#5:1.5 E5:.5 D5:1 C5:1",
              "Bb4:.5 D5:.5 F5:1 A5:1.5 G5:.5", "E5:1 G5:1 Bb5:1 A5:.5 G5:.5",
              "A5:1 F5:1 C5:2", "D5:1 E5:1 G5:1 F5:1"]
    a_chords = ["Fmaj7", "Dm7", "Gm7", "C7", "Am7", "D7", "Gm7 C7", "Fmaj7"]
    b_chords = ["Bbmaj7", "Bbm6", "Am7", "D7", "Gm7", "C7", "Fmaj7", "Gm7 C7"]
    # Eighth-note grid: ride "ding, ding-a ding", hi-hat foot on 2 and 4.
    brush = {"ride": "x.xox.xo", "phat": "..x...x.", "stick": "......g."}
    form = [("intro", ["Gm7 C7", "Gm7 C7"]), ("A", a_chords), ("B", b_chords),
            ("A2", a_chords), ("end", ["Fmaj9", "Fmaj9"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        if part == "end":
            b = spans[0][0]
            rhodes.chord(b, 6, [53, 57, 60, 64, 67], 80, .98, .08)
            bass.note(b, 6, 29, 95)
            vibes.line(b, "C6:1/3 A5:1/3 F5:1/3 E5:1/3 C5:1/3 A4:1/3 F4:6", 75)
            dr.drums(b, {"ride": "x", "phat": "x"}, 1, .8)
            beat = end_of(spans)
            continue
        walking_bass(bass, spans)
        # Rhodes comps on one and anticipates beat three.
        pattern_comp(rhodes, spans, [(0, 1.5, 1), (2.5, 1.5, .85)], 53, 72, .9)
        for b, _, length in spans:
            if length == bar:
                dr.drums(b, brush, .5, .7)
        if part == "A":
            play_bars(vibes, beat, bar, a_tune, vel=92)
        elif part == "B":
            play_bars(vibes, beat, bar, b_tune, vel=90)
            # The sax sneaks in under the second half of the bridge.
            play_bars(sax, beat + 4 * bar, bar, b_tune[4:], vel=70,
                      transpose=-12)
        elif part == "A2":
            play_bars(sax, beat, bar, a_tune, vel=96)
        beat = end_of(spans)
    return s.write(out, beat, "Easy city")


def fastlane(out):
    s = Song(150, seed=30, level=0.55)
    lead = s.track("Saw lead", SAW, 98, 64, 50)
    gtr = s.track("Guitar", DISTORTION, 85, 40, 30)
    pluck = s.track("Pluck arp", CHARANG, 70, 90, 60)
    bass = s.track("Synth bass", SYNTH_BASS2, 105, 64, 10)
    dr = s.drum_track("Drums", 108, 20)
    bar = s.bar
    a_tune = ["D5:.5 F5:.5 A5:.5 D6:.5 C6:.5 A5:.5 F5:.5 A5:.5",
              "Bb5:1 A5:.5 F5:.5 D5:1 F5:1",
              "G5:.5 E5:.5 C5:.5 E5:.5 G5:.5 C6:.5 E6:1",
              "C#6:1.5 A5:.5 E5:1 C#5:1",
              "D6:.5 C6:.5 A5:.5 F5:.5 D5:.5 F5:.5 A5:.5 D6:.5",
              "F6:1.5 D6:.5 Bb5:2", "E6:.5 D6:.5 C6:.5 G5:.5 E5:.5 G5:.5 C6:1",
              "A5:2 C#6:1 E6:1"]
    b_tune = ["G5:4", "F5:4", "E5:2 G5:2", "A5:4", "Bb5:4", "D6:4", "C#6:4",
              "E6:4"]
    a_chords = ["Dm", "Bb", "C", "A", "Dm", "Bb", "C", "A"]
    b_chords = ["Gm", "Bb", "C", "Dm", "Gm", "Bb", "A", "A"]
    groove = {"kick": "x...x...x...x...", "clap": "....x.......x...",
              "hat": "xxxxxxxxxxxxxxxx", "ohat": "..x...x...x...x."}
    form = [("intro", ["Dm", "Bb", "C", "A"]), ("A", a_chords),
            ("B", b_chords), ("A2", a_chords), ("break", ["Dm", "Bb", "C", "A"]),
            ("A3", a_chords), ("end", ["Dm", "Dm"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for i, (b, sym, length) in enumerate(spans):
            root = bass_pitch(sym, 26)
            if part == "end":
                if i == 0:
                    lead.chord(b, 3, [62, 69, 74], 110)
                    gtr.chord(b, 3, [root + 12, root + 19, root + 24], 110)
                    bass.note(b, 3, root, 110)
                    dr.drums(b, {"kick": "x", "crash": "X"}, 1)
                continue
            for k in range(16):
                up = 12 if k % 4 == 2 else 0
                bass.note(b + k * .25, .25, root + up, 100 if k % 4 == 0 else 80, .6)
            if part == "break":
                dr.drums(b, {"kick": "x...x...x...x...", "hat": "..x...x...x...x."})
                if i == 3:
                    dr.drums(b, {"snare": "x.x.x.x.xxxxxxxx"})
                continue
            dr.drums(b, groove)
            if i == 0:
                dr.drums(b, {"crash": "X"})
            if part in ("B", "A2", "A3"):
                for k in range(8):
                    gtr.chord(b + k * .5, .5, [root + 24, root + 31, root + 36],
                              105 if k % 4 == 0 else 85, .7)
            if part in ("B", "A3"):
                arpeggio(pluck, [(b, sym, length)], .25,
                         [0, 1, 2, 3, 4, 3, 2, 1], 62, 90, 70, .5)
        if part in ("A", "A2", "A3"):
            play_bars(lead, beat, bar, a_tune, vel=100 if part == "A" else 108,
                      gate=.8)
        elif part == "B":
            play_bars(lead, beat, bar, b_tune, vel=100)
        beat = end_of(spans)
    return s.write(out, beat, "Fast lane")


def lastday(out):
    s = Song(72, seed=31, level=1.27)
    piano = s.track("Piano", PIANO, 100, 60, 60)
    melody = s.track("Piano melody", PIANO, 105, 64, 60)
    strings = s.track("Strings", SLOW_STRINGS, 80, 76, 80)
    cello = s.track("Cello", CELLO, 90, 44, 70)
    bar = s.bar
    a_tune = ["A4:1.5 D5:.5 F5:1 E5:1", "D5:1.5 C5:.5 Bb4:2",
              "Bb4:1 D5:1 G5:1.5 F5:.5", "E5:2 C#5:1 A4:1",
              "A5:1.5 G5:.5 F5:1 E5:1", "E5:1.5 D5:.5 C5:1 E5:1",
              "G5:1.5 F5:.5 E5:1 D5:1", "C#5:3 r:1"]
    b_tune = ["F5:1.5 G5:.5 A5:1 F5:1", "C6:2 A5:1 F5:1",
              "Bb5:1.5 A5:.5 G5:1 D5:1", "F5:2 E5:1 D5:1",
              "G5:1 Bb5:1 D6:1.5 C6:.5", "A5:2 F5:1 D5:1",
              "E5:1.5 D5:.5 C#5:1 E5:1", "D5:4"]
    cello_line = ["D4:4", "F3:2 Bb3:2", "G3:2 Bb3:1 D4:1", "A3:2 C#4:2",
                  "D4:2 E4:2", "F4:2 E4:1 C4:1", "Bb3:2 D4:2", "A3:4"]
    a_chords = ["Dm", "Bb", "Gm", "A", "Dm", "C", "Gm", "A7"]
    b_chords = ["Bb", "F", "Gm", "Dm", "Gm", "Dm/A", "A", "Dm"]
    form = [("intro", ["Dm", "Bb"]), ("A", a_chords), ("B", b_chords),
            ("end", ["Gm", "Dm"])]
    beat = 0.0
    for part, chords in form:
        spans = bars(chords, beat, bar)
        for b, sym, length in spans:
            root = bass_pitch(sym, 38)
            tones = chord_tones(sym, root + 7, root + 24)
            fig = [root, tones[0], tones[1], tones[2], tones[3], tones[2],
                   tones[1], tones[0]]
            for k, p in enumerate(fig):
                piano.note(b + k * .5, .5 if k else 2, p, 72 if k else 80, 1.0)
            if part in ("B", "end"):
                strings.chord(b, length, voicing(sym, 57), 60, .98)
        if part == "A":
            play_bars(melody, beat, bar, a_tune, vel=92, gate=.97)
        elif part == "B":
            play_bars(melody, beat, bar, b_tune, vel=95, gate=.97)
            play_bars(cello, beat, bar, cello_line, vel=85, gate=.98)
        elif part == "end":
            melody.line(beat, "D5:1.5 C5:.5 Bb4:1 G4:1 A4:4", 85, gate=.98)
            cello.line(beat, "G3:4 D3:4", 80, gate=.98)
            s.tempo(beat + bar, 60)
        beat = end_of(spans)
    piano.chord(beat - bar + 2, 2, [50, 57, 62, 65], 60)
    return s.write(out, beat + 1, "Last day")


SONGS = [
    ("tresquo.mid", tresquo_theme), ("Humanoid.MID", humanoid),
    ("Impact.MID", impact), ("Go4yrgun.MID", go4yrgun),
    ("Sevilana.MID", sevilana), ("Bugs.MID", bugs), ("Astro.MID", astro),
    ("Champion.MID", champion), ("Champs.MID", champs),
    ("Easycity.MID", easycity), ("Fastlane.MID", fastlane),
    ("Lastday.MID", lastday), ("Tresquo.MID", tresquo_waltz),
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
