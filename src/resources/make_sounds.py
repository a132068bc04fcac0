#!/usr/bin/env python3
"""Makes the two built-in sounds, burp.wav and crunch.wav, next to this script.

Both are plain 44-byte-header wave files: uncompressed 8-bit mono samples at
11025 samples/s. The burp is a low, wobbling, buzzy tone; the crunch a few
short bursts of noise. The output is the same on every run (a fixed-seed
generator of our own), so the committed files can be made again at will.
Not part of the build: run it by hand when the sounds should change.
"""
import math
import os
import struct

RATE = 11025
BURP_BYTES = 2825
CRUNCH_BYTES = 2585


def wave_file(samples):
    data = bytes(samples)
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE, 1, 8)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body


def to_byte(value):
    return max(0, min(255, int(round(128 + value))))


class Noise:
    """A small linear congruential generator: the same numbers everywhere."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x7FFFFFFF * 2 - 1


def burp():
    samples = []
    phase = 0.0
    for i in range(BURP_BYTES):
        t = i / RATE
        # The pitch sags and wobbles like a throat letting go.
        pitch = 95 - 30 * t / 0.256 + 18 * math.sin(2 * math.pi * 9 * t)
        phase += pitch / RATE
        cycle = phase % 1.0
        buzz = (2 * cycle - 1) * 0.6 + math.sin(2 * math.pi * phase) * 0.4
        attack = min(1.0, i / (RATE * 0.015))
        release = min(1.0, (BURP_BYTES - 1 - i) / (RATE * 0.04))
        swell = 0.75 + 0.25 * math.sin(2 * math.pi * 4 * t)
        samples.append(to_byte(100 * buzz * attack * release * swell))
    return samples


def crunch():
    noise = Noise(20240601)
    # Start, length and loudness of each bite, in samples.
    bursts = [(0, 420, 1.0), (520, 300, 0.8), (900, 520, 0.95), (1500, 260, 0.7), (1850, 600, 0.85),
              (2350, 235, 0.5)]
    level = [0.0] * CRUNCH_BYTES
    for start, length, loudness in bursts:
        for j in range(length):
            if start + j < CRUNCH_BYTES:
                level[start + j] = max(level[start + j], loudness * math.exp(-4.0 * j / length))
    samples = []
    previous = 0.0
    for i in range(CRUNCH_BYTES):
        raw = noise.next()
        # A touch of smoothing keeps the hiss from sounding like static.
        previous = 0.6 * raw + 0.4 * previous
        fade = min(1.0, (CRUNCH_BYTES - 1 - i) / (RATE * 0.005))
        samples.append(to_byte(115 * previous * level[i] * fade))
    return samples


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, samples, expected in (('burp.wav', burp(), 2869), ('crunch.wav', crunch(), 2629)):
        image = wave_file(samples)
        assert len(image) == expected, (name, len(image))
        with open(os.path.join(here, name), 'wb') as out:
            out.write(image)


if __name__ == '__main__':
    main()
