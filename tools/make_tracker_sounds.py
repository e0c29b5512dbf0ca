#!/usr/bin/env python3
"""Writes the session tracker's alarm sounds (tracker/sounds/*.wav).

The sounds are synthesised here, so the program ships nothing made by others:
short sine tones with soft attack and decay, 22050 Hz, 16-bit mono.
Run it again only to change a sound: python3 tools/make_tracker_sounds.py
"""
import math
import os
import struct
import wave

RATE = 22050


def tone(freq, seconds, volume=0.5, harmonics=(1.0, 0.3, 0.12)):
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.008)
        decay = math.exp(-4.0 * t / seconds)
        v = sum(a * math.sin(2 * math.pi * freq * (k + 1) * t) for k, a in enumerate(harmonics))
        out.append(volume * attack * decay * v / sum(harmonics))
    return out


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def write(name, samples):
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "tracker", "sounds", name)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        frames = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32000)) for s in samples)
        w.writeframes(frames)


# Hands: two quick pips, like chips tapped on the table.
write("hands.wav", tone(1320, 0.09) + silence(0.05) + tone(1320, 0.12))
# Take profit: a rising major arpeggio.
write("takeprofit.wav", tone(784, 0.12) + tone(988, 0.12) + tone(1175, 0.12) + tone(1568, 0.3))
# Stop loss: a falling minor third, lower and longer.
write("stoploss.wav", tone(587, 0.2, 0.55) + tone(494, 0.2, 0.55) + tone(392, 0.45, 0.55))
# Time: three bell strokes.
bell = (1.0, 0.5, 0.25, 0.12)
write("time.wav", tone(1047, 0.25, 0.5, bell) + tone(1047, 0.25, 0.5, bell) + tone(1047, 0.5, 0.5, bell))
