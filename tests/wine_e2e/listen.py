#!/usr/bin/env python3
"""Says what a recording of the test sink holds and checks it against what should be heard.

    listen.py RECORDING [EXPECTED...]

RECORDING is raw audio as the tests record it: signed 16-bit little-endian, 6 channels
(front-left, front-right, front-center, lfe, rear-left, rear-right), 48 kHz. The recording is
cut into 50 ms windows; runs of windows with the same channels carrying signal make the
sounds heard, each with its channels, its length, its pitch and its level. Silence before the
first sound and after the last one is left out, and so are runs of at most two windows between
two others (a window that holds the end of one sound and the start of the next) and silences
of at most three windows within one sound (a gap where the player fell behind).

A sound is named when it is one of the program's test tones on its own channel at its pitch,
or the rotation clip (its hum on several channels, swelling once per loop). Each EXPECTED word
stands for one sound or silence, in order:

    NAME[:MIN-MAX][*LEVEL][?]

NAME is a tone (LF, CTR, RF, RS, LFE, LS), "clip" or "_" (silence); MIN-MAX bounds its length
in seconds (either side may be left empty); LEVEL is its level relative to the first sound
heard; a word ending in "?" may be missing. Prints what was heard; exits 1 when
it differs from EXPECTED.
"""

import sys

import numpy as np

RATE = 48000
CHANNELS = 6
CHANNEL_NAMES = ["front-left", "front-right", "front-center", "lfe", "rear-left", "rear-right"]
WINDOW = RATE // 20
# A channel carries signal above -50 dB of full scale.
SIGNAL_RMS = 32768 * 10 ** (-50 / 20)

# The program's test tones: output channel and pitch.
TONES = {
    "LF": (0, 261.65),
    "CTR": (2, 293.67),
    "RF": (1, 329.67),
    "RS": (5, 349.22),
    "LFE": (3, 392.00),
    "LS": (4, 439.96),
}
# Neighbouring tones are 6 % apart or more.
PITCH_TOLERANCE = 0.03
# The rotation clip: a hum at 440 Hz on every channel the server spreads a mono sound over,
# swelling once per loop of 13,328 samples at 22,050 samples/s.
CLIP_PITCH = 440.08
CLIP_LOOP = 13328 / 22050
CLIP_LOOP_TOLERANCE = 0.03
LEVEL_TOLERANCE = 0.0075


class Sound:
    def __init__(self, channels, first, last):
        self.channels = channels  # frozenset of channel numbers; empty for silence
        self.first = first  # window numbers, inclusive
        self.last = last

    @property
    def windows(self):
        return self.last - self.first + 1

    @property
    def seconds(self):
        return self.windows * WINDOW / RATE


def read(path):
    data = np.fromfile(path, dtype="<i2")
    frames = len(data) // CHANNELS
    return data[: frames * CHANNELS].reshape(frames, CHANNELS).astype(np.float64)


def runs(samples):
    """Sounds: runs of windows with the same channels carrying signal."""
    count = len(samples) // WINDOW
    found = []
    for w in range(count):
        block = samples[w * WINDOW : (w + 1) * WINDOW]
        rms = np.sqrt((block**2).mean(axis=0))
        channels = frozenset(int(c) for c in np.nonzero(rms > SIGNAL_RMS)[0])
        if found and found[-1].channels == channels:
            found[-1].last = w
        else:
            found.append(Sound(channels, w, w))
    return found


def settle(sounds):
    """Leaves out the edges' silence and the short runs between sounds, then joins equal runs."""
    changed = True
    while changed:
        changed = False
        while sounds and not sounds[0].channels:
            sounds.pop(0)
        while sounds and not sounds[-1].channels:
            sounds.pop()
        for i in range(1, len(sounds) - 1):
            if (not sounds[i].channels and sounds[i].windows <= 3
                    and sounds[i - 1].channels == sounds[i + 1].channels):
                sounds[i - 1].last = sounds[i].last
                sounds.pop(i)
                changed = True
                break
            if sounds[i].windows <= 2 and sounds[i - 1].windows > 2 and sounds[i + 1].windows > 2:
                # Half of it to each side.
                sounds[i - 1].last += (sounds[i].windows + 1) // 2
                sounds[i + 1].first = sounds[i - 1].last + 1
                sounds.pop(i)
                changed = True
                break
        for i in range(1, len(sounds)):
            if sounds[i].channels == sounds[i - 1].channels:
                sounds[i - 1].last = sounds[i].last
                sounds.pop(i)
                changed = True
                break
    return sounds


def interior(samples, sound):
    """The sound's samples without its first and last window, where it may start or end."""
    first, last = sound.first, sound.last + 1
    if sound.windows > 2:
        first, last = first + 1, last - 1
    return samples[first * WINDOW : last * WINDOW]


def pitch(signal):
    """The strongest frequency above 60 Hz, to a fraction of a hertz."""
    signal = (signal - signal.mean()) * np.hanning(len(signal))
    size = max(len(signal), 4 * RATE)
    spectrum = np.abs(np.fft.rfft(signal, n=size))
    low = int(60 * size / RATE)
    k = low + int(np.argmax(spectrum[low:]))
    a, b, c = spectrum[k - 1], spectrum[k], spectrum[k + 1]
    shift = 0.5 * (a - c) / (a - 2 * b + c) if a - 2 * b + c != 0 else 0.0
    return (k + shift) * RATE / size


def loop_length(signal):
    """The period of the signal's loudness, 0.3 to 1 s; None when shorter than two seconds."""
    step = RATE // 100
    envelope = np.sqrt((signal[: len(signal) // step * step].reshape(-1, step) ** 2).mean(axis=1))
    envelope -= envelope.mean()
    if len(envelope) < 2 * 100:
        return None
    lags = range(30, 101)
    scores = [np.dot(envelope[:-lag], envelope[lag:]) / (len(envelope) - lag) for lag in lags]
    return lags[int(np.argmax(scores))] * step / RATE


def describe(samples, sound):
    """Fills in the sound's name, pitch, level and, for the clip, its loop."""
    sound.name, sound.pitch, sound.level, sound.loop = "_", None, 0.0, None
    if not sound.channels:
        return sound
    part = interior(samples, sound)
    # The level: what all but the highest 0.5 % of the samples stay under. It scales with the
    # sound and, unlike the mean power, hardly moves when the player leaves gaps.
    levels = {c: float(np.percentile(np.abs(part[:, c]), 99.5)) for c in sound.channels}
    loudest = max(levels, key=levels.get)
    sound.level = levels[loudest]
    sound.pitch = pitch(part[:, loudest])
    near = lambda f: abs(sound.pitch - f) <= f * PITCH_TOLERANCE
    sound.name = "?"
    if len(sound.channels) == 1:
        for name, (channel, frequency) in TONES.items():
            if sound.channels == {channel} and near(frequency):
                sound.name = name
    elif near(CLIP_PITCH):
        sound.loop = loop_length(part[:, loudest])
        if sound.loop is not None and abs(sound.loop - CLIP_LOOP) <= CLIP_LOOP_TOLERANCE:
            sound.name = "clip"
    return sound


def heard(path):
    samples = read(path)
    return [describe(samples, s) for s in settle(runs(samples))]


def line(sound):
    start = sound.first * WINDOW / RATE
    text = f"{start:7.2f} s  {sound.seconds:5.2f} s  {sound.name:5}"
    if sound.channels:
        names = ",".join(CHANNEL_NAMES[c] for c in sorted(sound.channels))
        text += f"  {sound.pitch:7.2f} Hz  level {sound.level:7.0f}  on {names}"
    if sound.loop is not None:
        text += f"  loops every {sound.loop:.2f} s"
    return text


def parse(word):
    """NAME[:MIN-MAX][*LEVEL][?] -> (name, min, max, level, optional)."""
    optional = word.endswith("?")
    word = word.rstrip("?")
    level = None
    if "*" in word:
        word, level = word.split("*")
        level = float(level)
    low = high = None
    if ":" in word:
        word, bounds = word.split(":")
        low, high = bounds.split("-")
        low = float(low) if low else None
        high = float(high) if high else None
    return word, low, high, level, optional


def mismatch(expected, sound, reference):
    name, low, high, level, _ = expected
    if sound.name != name:
        return f"heard {sound.name}"
    if low is not None and sound.seconds < low:
        return f"expected at least {low} s"
    if high is not None and sound.seconds > high:
        return f"expected at most {high} s"
    if level is not None:
        ratio = sound.level / reference
        if abs(ratio - level) > level * LEVEL_TOLERANCE:
            return f"expected level {level:.4f} of the first, heard {ratio:.4f}"
    return None


def check(sounds, words):
    """Problems of the closest reading of SOUNDS as WORDS; none when they match."""
    expected = [parse(w) for w in words]
    reference = next((s.level for s in sounds if s.channels), 1.0)
    best = (-1, [])

    def match(w, s):
        nonlocal best
        if w == len(expected):
            if s == len(sounds):
                return True
            problem = (s, [f"sound {s + 1} and on: more than expected"])
        elif s == len(sounds):
            if all(e[4] for e in expected[w:]):
                return True
            problem = (s, [f"missing: {' '.join(words[w:])}"])
        else:
            why = mismatch(expected[w], sounds[s], reference)
            if why is None and match(w + 1, s + 1):
                return True
            problem = (s, [f"sound {s + 1} ({words[w]}): {why}"] if why else [])
        if expected[w:] and expected[w][4] and match(w + 1, s):
            return True
        if problem[0] > best[0] and problem[1]:
            best = problem
        return False

    return [] if match(0, 0) else best[1]


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    sounds = heard(argv[1])
    print("heard:" if sounds else "heard: nothing")
    for sound in sounds:
        print(line(sound))
    if len(argv) == 2:
        return 0
    print("expected: " + " ".join(argv[2:]))
    problems = check(sounds, argv[2:])
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
