# Synthesises Horalia's six short sounds (clicks, right/wrong answer,
# level-up fanfare, opening jingle) with numpy and writes them as canonical
# 44-byte-header PCM WAVE files at their fixed rates, depths and lengths.

import numpy as np

from common import save_wav

A4 = 440.0


def note_hz(name):
    """'C5', 'F#4', 'Bb4' ... to frequency (equal temperament)."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    n = steps[name[0]]
    rest = name[1:]
    if rest[0] == "#":
        n += 1
        rest = rest[1:]
    elif rest[0] == "b":
        n -= 1
        rest = rest[1:]
    octave = int(rest)
    return A4 * 2 ** ((n + 12 * (octave - 4)) / 12)


def env_adsr(n, rate, a=0.005, d=0.06, s=0.55, r=0.08):
    t = np.arange(n) / rate
    e = np.ones(n) * s
    na, nd, nr = int(a * rate), int(d * rate), int(r * rate)
    na = max(1, min(na, n))
    e[:na] = np.linspace(0, 1, na, endpoint=False)
    nd = max(1, min(nd, n - na))
    e[na:na + nd] = np.linspace(1, s, nd, endpoint=False)
    nr = max(1, min(nr, n))
    e[n - nr:] *= np.linspace(1, 0, nr)
    return e


def bell(freq, dur, rate, bright=1.0):
    """A soft marimba/glockenspiel-like tone: sine partials with decay."""
    n = int(dur * rate)
    t = np.arange(n) / rate
    x = (np.sin(2 * np.pi * freq * t) * np.exp(-t * 3.0)
         + 0.35 * bright * np.sin(2 * np.pi * 2 * freq * t) * np.exp(-t * 6.0)
         + 0.12 * bright * np.sin(2 * np.pi * 3.01 * freq * t) * np.exp(-t * 10.0))
    att = min(n, int(0.004 * rate))
    x[:att] *= np.linspace(0, 1, att)
    rel = min(n, int(0.03 * rate))
    x[n - rel:] *= np.linspace(1, 0, rel)
    return x


def square_soft(freq, dur, rate, harmonics=7):
    n = int(dur * rate)
    t = np.arange(n) / rate
    x = np.zeros(n)
    for k in range(1, harmonics * 2, 2):
        if k * freq >= rate / 2:
            break
        x += np.sin(2 * np.pi * k * freq * t) / k
    return x


def sequence(notes, rate, total, tone=bell):
    """notes: list of (start_s, name_or_names, dur_s, gain)."""
    out = np.zeros(int(round(total * rate)) if isinstance(total, float) else total)
    for start, names, dur, gain in notes:
        if isinstance(names, str):
            names = [names]
        for nm in names:
            s = tone(note_hz(nm), dur, rate)
            i = int(round(start * rate))
            j = min(len(out), i + len(s))
            out[i:j] += gain * s[: j - i] / len(names) ** 0.5
    return out


def fade(x, rate, fin=0.004, fout=0.02):
    x = x.copy()
    a = max(1, int(fin * rate))
    b = max(1, int(fout * rate))
    x[:a] *= np.linspace(0, 1, a)
    x[-b:] *= np.linspace(1, 0, b)
    return x


def normalise(x, rms=None, peak=0.85):
    """Scale to a target RMS, but never beyond the peak limit."""
    g = peak / np.max(np.abs(x))
    if rms is not None:
        g = min(g, rms / np.sqrt(np.mean(x ** 2)))
    return x * g


def soften(x, drive=2.0):
    """Gentle saturation: tames the loudest chord peaks so a tune can sit at
    the same loudness as the others without clipping."""
    x = x / np.max(np.abs(x))
    return np.tanh(drive * x) / np.tanh(drive)


def fit(x, n):
    if len(x) >= n:
        return x[:n]
    return np.concatenate([x, np.zeros(n - len(x))])


def click():
    # 638-byte file: 297 samples at 11025 Hz.  A crisp wooden tick.
    rate, n = 11025, 297
    t = np.arange(n) / rate
    rng = np.random.default_rng(7)
    x = (np.sin(2 * np.pi * 1850 * t) * np.exp(-t * 260)
         + 0.6 * np.sin(2 * np.pi * 3100 * t) * np.exp(-t * 420)
         + 0.25 * rng.standard_normal(n) * np.exp(-t * 900))
    x[-20:] *= np.linspace(1, 0, 20)
    save_wav("click.wav", normalise(x, peak=0.7), rate, 16)


def switch():
    # 5,824-byte file: 2,890 samples at 22050 Hz.  A soft two-step "tick-tock".
    rate, n = 22050, 2890
    t = np.arange(n) / rate
    x = np.sin(2 * np.pi * 1320 * t) * np.exp(-t * 90)
    t2 = t - 0.045
    m = t2 >= 0
    x[m] += 0.8 * np.sin(2 * np.pi * 990 * t2[m]) * np.exp(-t2[m] * 80)
    x += 0.35 * np.sin(2 * np.pi * 2640 * t) * np.exp(-t * 200)
    x = fade(x, rate, fin=0.001, fout=0.01)
    save_wav("switch.wav", normalise(x, peak=0.6), rate, 16)


def wrong():
    # about 69 ms at 22050 Hz: a gentle low "bup".
    rate, n = 22050, 1522
    t = np.arange(n) / rate
    f = 220 - 60 * t / t[-1]
    ph = 2 * np.pi * np.cumsum(f) / rate
    x = np.sin(ph) + 0.3 * np.sin(2 * ph) + 0.15 * np.sin(3 * ph)
    x *= 0.9 + 0.1 * np.sin(2 * np.pi * 30 * t)
    x = fade(x, rate, fin=0.004, fout=0.025)
    save_wav("wrong.wav", normalise(x, rms=0.22, peak=0.7), rate, 16)


def right():
    # about 3.3 s at 11025 Hz, 8-bit: a cheerful little tune in C major.
    rate, n = 11025, 36384
    q = 0.18
    mel = ["C5", "E5", "G5", "E5", "F5", "A5", "C6", "A5",
           "G5", "E5", "C5", "E5", "D5", "G5", "B5", "D6"]
    notes = [(i * q, m, q * 1.6, 0.6) for i, m in enumerate(mel)]
    notes += [(16 * q, ["C5", "E5", "G5", "C6"], 0.45, 0.8)]
    bass = ["C4", "F3", "C4", "G3"]
    notes += [(i * 4 * q, b, q * 3.5, 0.35) for i, b in enumerate(bass)]
    x = sequence(notes, rate, n)
    x = fade(soften(x, 1.5), rate, fin=0.004, fout=0.2)
    save_wav("right.wav", normalise(x, rms=0.18, peak=0.85), rate, 8)


def level_up():
    # about 1.7 s at 22050 Hz, 8-bit: a rising fanfare ending on a chord.
    rate, n = 22050, 37486
    notes = [(0.00, "G4", 0.25, 0.6), (0.11, "C5", 0.25, 0.6), (0.22, "E5", 0.25, 0.6),
             (0.33, "G5", 0.35, 0.7), (0.52, "E5", 0.2, 0.5), (0.63, "G5", 0.9, 0.7),
             (0.63, ["C5", "E5", "C6"], 1.05, 0.7), (0.63, "C4", 1.05, 0.45)]

    def brass(freq, dur, rate):
        s = square_soft(freq, dur, rate, 5) * env_adsr(int(dur * rate), rate, 0.01, 0.1, 0.6, 0.15)
        return 0.6 * s + 0.6 * bell(freq, dur, rate)
    x = sequence(notes, rate, n, tone=brass)
    x = fade(soften(x, 1.5), rate, fin=0.004, fout=0.15)
    save_wav("level_up.wav", normalise(x, rms=0.18, peak=0.85), rate, 8)


def opening():
    # 19,040-byte file: 18,996 samples at 11025 Hz, 8-bit.  "Tick, tock" then
    # a bright four-note chime.
    rate, n = 11025, 18996
    t = np.arange(n) / rate
    x = np.zeros(n)
    for k, (start, f) in enumerate(((0.0, 1500), (0.16, 1100))):
        tt = t - start
        m = tt >= 0
        x[m] += 0.5 * np.sin(2 * np.pi * f * tt[m]) * np.exp(-tt[m] * 70)
    notes = [(0.34, "E5", 0.5, 0.6), (0.50, "C5", 0.5, 0.6), (0.66, "D5", 0.5, 0.6),
             (0.82, "G4", 0.4, 0.5), (0.98, ["G4", "C5", "E5", "G5"], 0.74, 0.8)]
    x += sequence(notes, rate, n)
    x = fade(soften(x, 2.0), rate, fin=0.003, fout=0.12)
    save_wav("opening.wav", normalise(x, rms=0.18, peak=0.85), rate, 8)


def build():
    click()
    switch()
    wrong()
    right()
    level_up()
    opening()


if __name__ == "__main__":
    build()
