#!/usr/bin/env python3
"""Synthesises the game's seven sounds into resources/sounds/: the six hit
sounds a player can choose from and the opening jingle. All are 16-bit PCM,
mono, 22050 Hz. Hit sounds are kept short (at most a quarter of a second)
because a fast typist restarts them several times a second.

The noise comes from a seeded generator, so the files are the same on every run.

    python3 scripts/make_sounds.py
"""

import math
import os
import random
import struct
import wave

RATE = 22050
SOUNDS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "sounds")
TWO_PI = 2 * math.pi


def fade(i, n, edge=0.004):
    """A few milliseconds of fade at both ends, so that no sound clicks."""
    k = int(edge * RATE)
    return min(1.0, i / k, (n - 1 - i) / k)


class Noise:
    """White noise through a one-pole low-pass; `smooth` near 1 gives a rumble."""

    def __init__(self, seed, smooth):
        self.rng, self.smooth, self.value = random.Random(seed), smooth, 0.0

    def next(self):
        self.value += (1.0 - self.smooth) * (self.rng.uniform(-1.0, 1.0) - self.value)
        return self.value


def bane():
    """A springy boing: a tone that wobbles around a falling pitch."""
    n = int(0.24 * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        freq = 260 * (1 + 0.35 * math.exp(-t * 9)) * (1 + 0.22 * math.exp(-t * 6) * math.sin(TWO_PI * 28 * t))
        phase += TWO_PI * freq / RATE
        tone = math.sin(phase) + 0.3 * math.sin(2 * phase)
        out.append(0.6 * tone * math.exp(-t * 9) * fade(i, n))
    return out


def raser():
    """A laser zap: a bright tone sweeping quickly down."""
    n = int(0.20 * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        freq = 180 + 2400 * math.exp(-t * 22)
        phase += TWO_PI * freq / RATE
        # A softened square wave: odd harmonics only.
        tone = math.sin(phase) + math.sin(3 * phase) / 3 + math.sin(5 * phase) / 5
        out.append(0.45 * tone * math.exp(-t * 7) * fade(i, n))
    return out


def rock():
    """A thud and a crumble: a low knock, then a scatter of gritty cracks."""
    n = int(0.25 * RATE)
    rumble, grit = Noise(3, 0.92), Noise(4, 0.35)
    rng = random.Random(5)
    cracks = sorted(rng.uniform(0.02, 0.18) for _ in range(9))
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        phase += TWO_PI * (95 * math.exp(-t * 6) + 45) / RATE
        thud = math.sin(phase) * math.exp(-t * 22)
        crack = sum(math.exp(-(t - c) * 160) for c in cracks if t >= c)
        out.append((0.7 * thud + 1.6 * rumble.next() * math.exp(-t * 12)
                    + 0.35 * grit.next() * crack) * fade(i, n))
    return out


def glass():
    """A glassy ping: a few high, not quite harmonic partials ringing out."""
    n = int(0.25 * RATE)
    partials = [(1760, 1.0, 14), (4290, 0.45, 20), (7040, 0.2, 30), (2650, 0.25, 18)]
    out = []
    for i in range(n):
        t = i / RATE
        tone = sum(a * math.sin(TWO_PI * f * t) * math.exp(-t * d) for f, a, d in partials)
        out.append(0.45 * tone * fade(i, n))
    return out


def gun():
    """A bang: a sharp burst of noise over a short low boom."""
    n = int(0.25 * RATE)
    blast, body = Noise(7, 0.25), Noise(8, 0.90)
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        phase += TWO_PI * (70 + 90 * math.exp(-t * 40)) / RATE
        boom = math.sin(phase) * math.exp(-t * 14)
        out.append((0.9 * blast.next() * math.exp(-t * 45) + 2.0 * body.next() * math.exp(-t * 16)
                    + 0.5 * boom) * fade(i, n, 0.001))
    return out


def punch():
    """A punch's thump: a dull, quickly falling low tone with a slap on top."""
    n = int(0.16 * RATE)
    slap = Noise(11, 0.6)
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        phase += TWO_PI * (55 + 120 * math.exp(-t * 35)) / RATE
        thump = math.sin(phase) * math.exp(-t * 20)
        out.append((0.9 * thump + 0.5 * slap.next() * math.exp(-t * 90)) * fade(i, n, 0.001))
    return out


def opening():
    """A short cheerful jingle: a rising arpeggio in C major and a bright chord."""
    notes = [  # (start s, length s, MIDI note, volume)
        (0.00, 0.16, 72, 1.0), (0.15, 0.16, 76, 1.0), (0.30, 0.16, 79, 1.0), (0.45, 0.16, 84, 1.0),
        (0.62, 0.12, 81, 1.0), (0.74, 0.30, 84, 1.0),
        (1.06, 0.70, 72, 0.4), (1.06, 0.70, 76, 0.4), (1.06, 0.70, 79, 0.4), (1.06, 0.70, 84, 0.5),
    ]
    n = int(1.85 * RATE)
    out = [0.0] * n
    for start, length, note, volume in notes:
        freq = 440 * 2 ** ((note - 69) / 12)
        first = int(start * RATE)
        span = int((length + 0.12) * RATE)
        for j in range(min(span, n - first)):
            t = j / RATE
            # A plucked, slightly hollow tone: quick attack, gentle decay, a short release.
            decay = 3.0 if length > 0.5 else 6.0
            env = min(1.0, t / 0.01, (span - j) / (0.02 * RATE)) * math.exp(-t * decay)
            tone = math.sin(TWO_PI * freq * t) + 0.25 * math.sin(TWO_PI * 2 * freq * t) \
                + 0.12 * math.sin(TWO_PI * 3 * freq * t)
            out[first + j] += volume * env * tone
    return [v * fade(i, n, 0.02) for i, v in enumerate(out)]


def write_wav(path, signal):
    """Scales the signal to a peak of 90 % of full scale and writes it."""
    peak = max(abs(v) for v in signal)
    gain = 0.9 * 32767 / peak
    data = b"".join(struct.pack("<h", round(v * gain)) for v in signal)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


if __name__ == "__main__":
    os.makedirs(SOUNDS, exist_ok=True)
    for name, make in [("bane", bane), ("raser", raser), ("rock", rock), ("glass", glass),
                       ("gun", gun), ("punch", punch), ("opening", opening)]:
        write_wav(os.path.join(SOUNDS, name + ".wav"), make())
