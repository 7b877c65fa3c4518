#!/usr/bin/env python3
"""Regenerate the game's sound effects in assets/sounds/.

Pure standard library; a fixed seed keeps the output byte-identical
between runs so the committed files can be checked against the script.

    python3 tools/sounds/make_sounds.py [output_dir]
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 44100
PEAK_DBFS = -3.0


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def mix_into(buf, samples, start_s):
    start = int(start_s * RATE)
    need = start + len(samples)
    if need > len(buf):
        buf.extend([0.0] * (need - len(buf)))
    for i, s in enumerate(samples):
        buf[start + i] += s


def lowpass(samples, cutoff):
    a = 1.0 - math.exp(-2.0 * math.pi * cutoff / RATE)
    out, y = [], 0.0
    for s in samples:
        y += a * (s - y)
        out.append(y)
    return out


def highpass(samples, cutoff):
    low = lowpass(samples, cutoff)
    return [s - l for s, l in zip(samples, low)]


def finish(samples, fade_in=0.002, fade_out=0.02, peak_dbfs=PEAK_DBFS):
    # Remove DC first so the fades land on true silence.
    mean = sum(samples) / len(samples)
    samples = [s - mean for s in samples]
    n_in = max(1, int(fade_in * RATE))
    n_out = max(1, int(fade_out * RATE))
    for i in range(n_in):
        samples[i] *= i / n_in
    for i in range(n_out):
        samples[-1 - i] *= i / n_out
    peak = max(abs(s) for s in samples) or 1.0
    gain = 10 ** (peak_dbfs / 20.0) / peak
    return [s * gain for s in samples]


def write_wav(path, samples):
    frames = b"".join(
        struct.pack("<h", max(-32767, min(32767, int(round(s * 32767)))))
        for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def struck(t, attack, decay):
    """Envelope of a struck sound: a linear attack, then exponential decay."""
    return min(1.0, t / attack) * math.exp(-t / decay)


def noise_burst(rng, seconds, attack, decay, lo, hi):
    n = int(seconds * RATE)
    raw = [rng.uniform(-1.0, 1.0) for _ in range(n)]
    band = lowpass(highpass(raw, lo), hi)
    return [s * struck(i / RATE, attack, decay) for i, s in enumerate(band)]


def carta(rng):
    """A card slapped on the cloth: a bright snap then a soft papery tail."""
    buf = silence(0.22)
    # The swish of the card sliding just before it lands.
    swish = noise_burst(rng, 0.07, 0.03, 0.02, 2500, 9000)
    mix_into(buf, [s * 0.35 for s in swish], 0.0)
    snap = noise_burst(rng, 0.15, 0.0008, 0.018, 900, 7000)
    mix_into(buf, snap, 0.045)
    # A faint low thump gives the table some body.
    thump = []
    for i in range(int(0.05 * RATE)):
        t = i / RATE
        thump.append(0.5 * math.sin(2 * math.pi * 140 * t) * math.exp(-t / 0.012))
    mix_into(buf, thump, 0.045)
    return finish(buf, fade_in=0.003, fade_out=0.03)


def bell(freq, seconds, decay, amp=1.0):
    out = []
    partials = ((1.0, 1.0), (2.0, 0.35), (3.0, 0.12), (4.2, 0.05))
    for i in range(int(seconds * RATE)):
        t = i / RATE
        v = sum(a * math.sin(2 * math.pi * freq * m * t) for m, a in partials)
        out.append(amp * struck(t, 0.004, decay) * v)
    return out


def notify():
    """Two rising bell notes: a friendly 'look at this'."""
    buf = silence(0.48)
    mix_into(buf, bell(880.0, 0.40, 0.10, 0.8), 0.0)      # A5
    mix_into(buf, bell(1318.5, 0.36, 0.12, 0.9), 0.09)    # E6
    return finish(buf, fade_in=0.002, fade_out=0.05, peak_dbfs=-4.0)


def reed(f_start, f_end, seconds, amp=1.0, vibrato=0.0):
    """Nasal square-ish tone with a pitch glide, a bit like a kazoo."""
    out, phase = [], 0.0
    n = int(seconds * RATE)
    for i in range(n):
        t = i / RATE
        frac = i / max(1, n - 1)
        f = f_start * (f_end / f_start) ** frac
        f *= 1.0 + vibrato * math.sin(2 * math.pi * 6.0 * t)
        phase += 2 * math.pi * f / RATE
        v = (math.sin(phase) + 0.4 * math.sin(3 * phase) / 3
             + 0.25 * math.sin(5 * phase) / 5 + 0.3 * math.sin(2 * phase) / 2)
        env = min(1.0, t / 0.008) * min(1.0, (seconds - t) / 0.03)
        out.append(amp * env * v)
    return out


def liscio():
    """A cheeky descending 'wah-wah-wah-waaah' for the stolen pile."""
    buf = silence(0.86)
    notes = ((784.0, 784.0, 0.0, 0.13),     # G5
             (659.3, 659.3, 0.15, 0.13),    # E5
             (523.3, 523.3, 0.30, 0.13),    # C5
             (493.9, 370.0, 0.45, 0.38))    # B4 sagging to F#4
    for f0, f1, start, dur in notes:
        vib = 0.012 if dur > 0.2 else 0.0
        mix_into(buf, reed(f0, f1, dur, 0.8, vib), start)
    # Dense square-ish tone: a lower peak keeps it as loud as the others.
    return finish(lowpass(buf, 3500), fade_in=0.003, fade_out=0.06,
                  peak_dbfs=-8.0)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "assets", "sounds")
    out_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else default)
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(20240611)
    for name, samples in (("carta.wav", carta(rng)),
                          ("notify.wav", notify()),
                          ("liscio.wav", liscio())):
        path = os.path.join(out_dir, name)
        write_wav(path, samples)
        print("%s  %.3f s" % (path, len(samples) / RATE))


if __name__ == "__main__":
    main()
