"""Synthesises the game's sounds as WAV files, from nothing but arithmetic.

    /usr/bin/python3 synth.py dry OUT_FOLDER      raw takes: <name>.wav for every sound
    /usr/bin/python3 synth.py finish IN OUT       an effect: peak level and fades -> 16-bit WAV
    /usr/bin/python3 synth.py finish-loop IN OUT  the factory loop: one settled period -> 16-bit WAV

make_assets.sh runs "dry", puts each take through sox for its room (reverb), then "finish"
and oggenc. Everything is deterministic: the noise comes from a fixed-seed generator.

The factory loop is built so that it repeats exactly: every tone has a whole number of cycles
in one period, every knock sits at a fixed place in it, and the noise is one period of noise
played again and again. The dry take holds several periods; after sox's filters and reverb
have settled, "finish" cuts out exactly one period, starting at a quiet zero crossing, so the
last sample runs into the first as smoothly as any two neighbours inside the loop.
"""
import math
import struct
import sys
import wave

RATE = 44100
TAU = 2 * math.pi

LOOP_SECONDS = 3.2            # one period of the factory loop: 8 machine beats of 0.4 s
LOOP_PERIODS = 4              # periods in the dry take; the cut is taken from the third
LOOP_CUT_PERIOD = 2
PEAK = 0.84                   # about -1.5 dBFS, head-room for the encoder
LOOP_PEAK = 0.7
FADE_IN = 0.003
FADE_OUT = 0.04


class Noise:
    """White noise in -1..1 from a 32-bit linear congruential generator with a fixed seed."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def __call__(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 2147483648.0 - 1.0


class Svf:
    """Trapezoidal state-variable filter: low, band and high outputs, stable under modulation."""

    def __init__(self):
        self.ic1 = self.ic2 = 0.0

    def run(self, x, freq, q):
        g = math.tan(math.pi * min(freq, RATE * 0.45) / RATE)
        k = 1.0 / q
        a1 = 1.0 / (1.0 + g * (g + k))
        v3 = x - self.ic2
        v1 = a1 * self.ic1 + g * a1 * v3
        v2 = self.ic2 + g * v1
        self.ic1 = 2 * v1 - self.ic1
        self.ic2 = 2 * v2 - self.ic2
        return v2, v1, x - k * v1 - v2  # low, band, high


def seconds(n):
    return int(round(n * RATE))


def blank(duration):
    return [0.0] * seconds(duration)


def add(buf, start, samples, wrap=False):
    n = len(buf)
    for i, s in enumerate(samples):
        j = start + i
        if wrap:
            buf[j % n] += s
        elif j < n:
            buf[j] += s


def exp_env(t, decay):
    return math.exp(-t / decay)


def attack_decay(t, attack, decay):
    if t < attack:
        return t / attack
    return math.exp(-(t - attack) / decay)


def taper(samples, duration=0.01):
    """Lets a piece die to exactly zero over its last 10 ms, so that cutting it off never clicks."""
    n = len(samples)
    m = min(n, seconds(duration))
    for i in range(m):
        samples[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / m)
    return samples


def sweep_tone(duration, f0, f1, glide, decay, partials=((1, 1.0),), attack=0.002):
    """A tone whose pitch glides exponentially from f0 to f1 and dies away."""
    out, phase = [], 0.0
    for i in range(seconds(duration)):
        t = i / RATE
        f = f1 + (f0 - f1) * math.exp(-t / glide)
        phase += TAU * f / RATE
        s = sum(a * math.sin(phase * m) for m, a in partials)
        out.append(s * attack_decay(t, attack, decay))
    return taper(out)


def modes(duration, table, strike=0.0015):
    """Struck metal: a sum of decaying sine modes (frequency, amplitude, decay time)."""
    out = []
    for i in range(seconds(duration)):
        t = i / RATE
        s = 0.0
        for f, a, d in table:
            s += a * math.sin(TAU * f * t) * math.exp(-t / d)
        out.append(s * min(1.0, t / strike))
    return taper(out)


# --- the effects ---------------------------------------------------------------------------

def throw():
    """A quick whoosh: noise through a band-pass that sweeps up and back as the fork flies."""
    noise, svf, svf2 = Noise(11), Svf(), Svf()
    out = []
    dur = 0.42
    for i in range(seconds(dur)):
        t = i / RATE
        x = t / dur
        centre = 450 + 2600 * math.sin(math.pi * min(1.0, x * 1.15)) ** 1.5
        env = (x / 0.22) ** 2 if x < 0.22 else math.exp(-(x - 0.22) / 0.16)
        n = noise()
        _, band, _ = svf.run(n, centre, 2.2)
        _, band2, _ = svf2.run(n, centre * 1.9, 3.0)
        out.append(env * (band + 0.35 * band2))
    return out


def dropout():
    """A soft plop as a turkey slips out of the chute: a falling thump and a small rising pop."""
    out = blank(0.45)
    add(out, 0, sweep_tone(0.4, 190, 58, 0.03, 0.09, ((1, 1.0), (2, 0.25))))
    pop = sweep_tone(0.12, 330, 820, 0.02, 0.035, ((1, 1.0),))
    add(out, seconds(0.012), [0.45 * s for s in pop])
    noise, svf = Noise(23), Svf()
    flump = []
    for i in range(seconds(0.12)):
        t = i / RATE
        low, _, _ = svf.run(noise(), 700, 0.8)
        flump.append(0.5 * low * attack_decay(t, 0.002, 0.03))
    add(out, 0, taper(flump))
    return out


def stabbed():
    """A meaty stab: a sharp crack, a wet squelch that wobbles, a low thud and a faint tine ring."""
    out = blank(0.55)
    noise, svf, crack_svf = Noise(37), Svf(), Svf()
    wet = []
    for i in range(seconds(0.3)):
        t = i / RATE
        n = noise()
        wobble = 900 + 500 * math.sin(TAU * 31 * t) * math.exp(-t / 0.08)
        _, band, _ = svf.run(n, wobble, 4.5)
        squelch = 1.6 * band * attack_decay(t, 0.006, 0.07)
        _, _, high = crack_svf.run(n, 2500, 0.7)
        crack = 0.9 * high * exp_env(t, 0.006)
        wet.append(squelch + crack)
    add(out, 0, taper(wet))
    add(out, 0, sweep_tone(0.3, 140, 48, 0.025, 0.07, ((1, 1.0), (2, 0.3))))
    ring = modes(0.4, ((3120, 0.09, 0.11), (4710, 0.06, 0.07), (6230, 0.03, 0.05)))
    add(out, seconds(0.004), ring)
    return out


def trashed():
    """A turkey clanging into the steel bin: struck-can modes, a thud, and a smaller rattle after."""
    can = ((296, 0.55, 0.55), (299, 0.35, 0.6), (523, 0.42, 0.42), (781, 0.34, 0.32),
           (1107, 0.28, 0.26), (1493, 0.22, 0.2), (1944, 0.16, 0.15), (2467, 0.12, 0.11),
           (3108, 0.08, 0.08))
    out = blank(1.4)
    add(out, 0, modes(1.3, can))
    rattle = modes(0.9, tuple((f * 1.013, a * 0.4, d * 0.7) for f, a, d in can))
    add(out, seconds(0.13), rattle)
    add(out, seconds(0.21), [0.5 * s for s in modes(0.6, tuple((f * 0.994, a * 0.35, d * 0.5) for f, a, d in can))])
    add(out, 0, [0.9 * s for s in sweep_tone(0.25, 120, 55, 0.03, 0.06)])
    noise, svf = Noise(41), Svf()
    hit = []
    for i in range(seconds(0.05)):
        t = i / RATE
        _, band, _ = svf.run(noise(), 3500, 1.2)
        hit.append(0.8 * band * exp_env(t, 0.008))
    add(out, 0, taper(hit))
    return out


def gover():
    """The end-of-game jingle: a bouncy brassy run down to a held major chord, with a mallet doubling."""
    def note(f, dur, amp):
        out = []
        for i in range(seconds(dur)):
            t = i / RATE
            bright = 1.0 + 5.0 * math.exp(-t / 0.08)
            s = 0.0
            for m in range(1, 10):
                s += math.sin(TAU * f * m * t) / m * math.exp(-(m - 1) / bright)
            vib = 1.0 + 0.04 * math.sin(TAU * 5.5 * t) * min(1.0, t / 0.3)
            body = min(1.0, t / 0.012) * (0.6 + 0.4 * math.exp(-t / 0.15))
            out.append(amp * s * body * vib)
        n = len(out)
        for i in range(min(n, seconds(0.05))):
            out[n - 1 - i] *= i / seconds(0.05)
        return out

    def mallet(f, amp):
        return [amp * s for s in modes(0.5, ((f, 1.0, 0.18), (f * 4.0, 0.3, 0.05), (f * 9.8, 0.1, 0.02)))]

    out = blank(2.2)
    run = ((784.0, 0.0), (659.3, 0.16), (523.3, 0.32), (587.3, 0.48), (392.0, 0.64))
    for f, at in run:
        add(out, seconds(at), note(f / 2, 0.15, 0.35))
        add(out, seconds(at), mallet(f, 0.25))
    for f in (261.6, 329.6, 392.0, 523.3):
        add(out, seconds(0.82), note(f, 1.25, 0.22))
    add(out, seconds(0.82), mallet(1046.5, 0.3))
    add(out, seconds(0.82), [0.6 * s for s in sweep_tone(0.5, 110, 65.4, 0.05, 0.2)])
    return out


# --- the factory loop ----------------------------------------------------------------------

def factory():
    """One period of the machine hall, built circularly so that it repeats without a seam."""
    n = seconds(LOOP_SECONDS)
    out = [0.0] * n
    beat = n // 8

    # Hum of motors and mains: tones with a whole number of cycles per period, slowly swelling.
    hum = ((50.0, 0.16), (100.0, 0.12), (150.0, 0.05), (200.0, 0.035), (187.5, 0.03), (375.0, 0.012))
    for i in range(n):
        t = i / RATE
        swell = 1.0 + 0.15 * math.sin(TAU * t / LOOP_SECONDS) + 0.08 * math.sin(TAU * 4 * t / LOOP_SECONDS)
        out[i] += swell * sum(a * math.sin(TAU * f * t) for f, a in hum)

    # Rumble: one period of noise, low-passed circularly (run twice round so the filter has settled).
    noise, svf = Noise(53), Svf()
    raw = [noise() for _ in range(n)]
    for lap in range(2):
        for i in range(n):
            low, band, _ = svf.run(raw[i], 260, 0.7)
            if lap:
                out[i] += 0.35 * low + 0.1 * band

    # The press: a heavy knock on beats 0 and 4, a lighter one on the others, a hiss every 1.6 s.
    heavy = sweep_tone(0.35, 120, 45, 0.02, 0.08, ((1, 1.0), (2.7, 0.2)))
    heavy_clank = modes(0.3, ((640, 0.12, 0.09), (1370, 0.08, 0.06), (2210, 0.05, 0.04)))
    light = modes(0.25, ((880, 0.1, 0.05), (1830, 0.07, 0.035), (2950, 0.04, 0.025)))
    for b in range(8):
        at = b * beat
        if b % 4 == 0:
            add(out, at, [0.75 * s for s in heavy], wrap=True)
            add(out, at + seconds(0.004), heavy_clank, wrap=True)
        else:
            add(out, at, [(0.9 if b % 2 else 0.6) * s for s in light], wrap=True)
            add(out, at, [0.25 * s for s in sweep_tone(0.12, 90, 60, 0.02, 0.03)], wrap=True)
    hiss_noise, hiss_svf = Noise(61), Svf()
    for start in (seconds(0.6), seconds(2.2)):
        samples = []
        for i in range(seconds(0.5)):
            t = i / RATE
            _, band, _ = hiss_svf.run(hiss_noise(), 4200, 1.1)
            samples.append(0.2 * band * attack_decay(t, 0.04, 0.12))
        add(out, start, taper(samples), wrap=True)
    return out


SOUNDS = {"throw": throw, "dropout": dropout, "stabed": stabbed, "trashed": trashed,
          "gover": gover}


# --- files ---------------------------------------------------------------------------------

def write_wav(path, samples, bits):
    scale = (1 << (bits - 1)) - 1
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(bits // 8)
        w.setframerate(RATE)
        frames = bytearray()
        for s in samples:
            v = max(-scale, min(scale, int(round(s * scale))))
            frames += struct.pack("<i", v)[: bits // 8]
        w.writeframes(bytes(frames))


def read_wav(path):
    with wave.open(path, "rb") as w:
        if w.getnchannels() != 1 or w.getframerate() != RATE:
            raise SystemExit("%s: expected mono at %d Hz" % (path, RATE))
        width = w.getsampwidth()
        data = w.readframes(w.getnframes())
    scale = float(1 << (8 * width - 1))
    out = []
    for i in range(0, len(data), width):
        chunk = data[i:i + width]
        v = int.from_bytes(chunk, "little", signed=True)
        out.append(v / scale)
    return out


def normalise(samples, peak):
    top = max(abs(s) for s in samples)
    return [s * peak / top for s in samples]


def finish_effect(samples):
    """Level to the common peak, fade in over 3 ms and out over 40 ms so neither end clicks."""
    samples = normalise(samples, PEAK)
    # Drop the silent tail the reverb leaves, keeping the fade-out itself.
    quiet = 0.0015
    end = len(samples)
    while end > 1 and abs(samples[end - 1]) < quiet:
        end -= 1
    samples = samples[:min(len(samples), end + seconds(FADE_OUT))]
    fin, fout = seconds(FADE_IN), seconds(FADE_OUT)
    n = len(samples)
    for i in range(min(fin, n)):
        samples[i] *= i / fin
    for i in range(min(fout, n)):
        samples[n - 1 - i] *= (0.5 - 0.5 * math.cos(math.pi * i / fout))
    return samples


def finish_loop(samples):
    """Cuts one settled period out of the wet take, starting at its quietest rising zero crossing
    in the calm a tenth of a second before the heavy knock, so a fresh start does not click either
    and both sides of the seam are the same steady hum."""
    n = seconds(LOOP_SECONDS)
    base = LOOP_CUT_PERIOD * n
    window = range(base - seconds(0.13), base - seconds(0.08))
    best = min((i for i in window if samples[i] <= 0.0 < samples[i + 1]),
               key=lambda i: abs(samples[i]) + abs(samples[i + 1]))
    period = samples[best + 1:best + 1 + n]
    return normalise(period, LOOP_PEAK)


def main():
    mode = sys.argv[1]
    if mode == "dry":
        folder = sys.argv[2]
        for name, make in SOUNDS.items():
            write_wav("%s/%s.wav" % (folder, name), normalise(make(), 0.5), 24)
        period = factory()
        write_wav("%s/factory.wav" % folder, normalise(period * LOOP_PERIODS, 0.5), 24)
    elif mode in ("finish", "finish-loop"):
        src, dst = sys.argv[2], sys.argv[3]
        samples = read_wav(src)
        write_wav(dst, finish_loop(samples) if mode == "finish-loop" else finish_effect(samples), 16)
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
