#!/usr/bin/python3
"""Draws the figures of docs/manual.md from renders of the built MERO module.

Every plot is measured: test signals are written as WAV files, rendered by mero-render
(which loads the module the way a host does) and analysed here. The signal-flow diagram
is drawn by Graphviz (dot). Writes docs/manual/*.png and docs/manual/signal-flow.svg and
prints the figures the manual quotes.

Usage: make_manual.py [BUILD_DIR]   (default: build/native; needs mero-render and dot)
"""
import pathlib
import re
import struct
import subprocess
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "build" / "native"
RENDER = str(BUILD / "tools" / "render" / "mero-render")
OUT = ROOT / "docs" / "manual"
WORK = pathlib.Path(tempfile.mkdtemp(prefix="mero-manual-"))
SETTLE = 0.5  # seconds the controls take to settle after a preset or setting loads


def write_wav(path, data, rate):
    data = np.ascontiguousarray(np.atleast_2d(np.asarray(data, dtype="<f4").T).T)
    body = data.tobytes()
    fmt = struct.pack("<HHIIHH", 3, data.shape[1], rate, rate * data.shape[1] * 4, data.shape[1] * 4, 32)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(body)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(body)) + body)


def read_wav(path):
    raw = pathlib.Path(path).read_bytes()
    pos, channels = 12, 1
    while pos < len(raw):
        tag, size = raw[pos : pos + 4], struct.unpack("<I", raw[pos + 4 : pos + 8])[0]
        if tag == b"fmt ":
            channels = struct.unpack("<H", raw[pos + 10 : pos + 12])[0]
        elif tag == b"data":
            return np.frombuffer(raw[pos + 8 : pos + 8 + size], dtype="<f4").reshape(-1, channels).astype(float)
        pos += 8 + size + (size & 1)
    raise ValueError(f"{path}: no data")


def render(signal, rate, preset=None, **settings):
    """The module's output (frames x channels) for a stereo signal (frames x 2)."""
    src, dst = WORK / "in.wav", WORK / "out.wav"
    write_wav(src, signal, rate)
    args = [RENDER, "--in", str(src), "--out", str(dst)]
    if preset is not None:
        args += ["--preset", str(preset)]
    for name, value in settings.items():
        args += ["--set", f"{name}={value}"]
    subprocess.run(args, check=True)
    return read_wav(dst)


def run_text(*args):
    return subprocess.run([RENDER, *args], check=True, capture_output=True, text=True).stdout


def sine(freq, amplitude, rate, seconds=1.5):
    t = np.arange(int(seconds * rate)) / rate
    x = amplitude * np.sin(2 * np.pi * freq * t)
    return np.column_stack([x, x])


def spectrum(y, rate):
    """dB magnitude (a sine of amplitude 1 reads 0 dB) of the last second, left channel."""
    seg = y[-rate:, 0]
    w = np.blackman(len(seg))
    mag = np.abs(np.fft.rfft(seg * w)) / (np.sum(w) / 2)
    return np.fft.rfftfreq(len(seg), 1 / rate), 20 * np.log10(np.maximum(mag, 1e-12))


def harmonics(y, rate, freq, count):
    """Amplitudes of harmonics 1 ... count below half the rate (the last second)."""
    seg = y[-rate:, 0]
    w = np.blackman(len(seg))
    mag = np.abs(np.fft.rfft(seg * w)) / (np.sum(w) / 2)
    out = []
    for k in range(1, count + 1):
        b = int(round(k * freq))  # 1 Hz bins
        out.append(mag[b - 3 : b + 4].max() if k * freq < rate / 2 - 5 else np.nan)
    return np.array(out)


def db(x):
    return 20 * np.log10(np.maximum(x, 1e-12))


def thd(h):
    return np.sqrt(np.nansum(h[1:] ** 2)) / h[0]


def style(ax, title, xlabel, ylabel):
    ax.set_title(title, fontsize=10)
    ax.set_xlabel(xlabel)
    ax.set_ylabel(ylabel)
    ax.grid(True, which="both", alpha=0.3)


def save(fig, name):
    fig.tight_layout()
    fig.savefig(OUT / name, dpi=110)
    plt.close(fig)
    print(f"wrote docs/manual/{name}")


def plot_level():
    rate, f0 = 48000, 1000
    levels = np.arange(0, 21)
    rows = [harmonics(render(sine(f0, 0.5, rate), rate, Level=lv), rate, f0, 9) for lv in levels]
    hs = np.array(rows)
    fig, ax = plt.subplots(figsize=(7, 4))
    for k in (2, 3, 4, 5, 7):
        ax.plot(levels, db(hs[:, k - 1] / hs[:, 0]), marker="o", ms=3, label=f"harmonic {k}")
    ax.plot(levels, db([thd(h) for h in hs]), "k--", label="THD")
    style(ax, "Level: harmonics of a 1 kHz sine at -6 dBFS (Gain 1.2 dB, Mode A)", "Level", "dB below the fundamental")
    ax.set_xticks(levels[::2])
    ax.legend(fontsize=8)
    save(fig, "level.png")
    return {lv: 100 * thd(h) for lv, h in zip(levels, hs)}


def response(rate=48000, **settings):
    n0, amp, n = int(SETTLE * rate), 1e-3, 1 << 15
    x = np.zeros((n0 + n, 2))
    x[n0, :] = amp
    y = render(x, rate, **settings)
    h = np.fft.rfft(y[n0 : n0 + n, 0]) / amp
    return np.fft.rfftfreq(n, 1 / rate), db(np.abs(h))


def plot_tone():
    fig, (a, b) = plt.subplots(1, 2, figsize=(9, 3.8), sharey=True)
    for low in range(3):
        f, h = response(Low=low, High=1)
        a.semilogx(f[1:], h[1:], label=f"Low {low}")
    for high in range(4):
        f, h = response(Low=1, High=high)
        b.semilogx(f[1:], h[1:], label=f"High {high}")
    for ax, name in ((a, "Low (High at 1)"), (b, "High (Low at 1)")):
        style(ax, f"{name}: response at a small level", "Hz", "dB")
        ax.set_xlim(20, 20000)
        ax.set_ylim(-10, 10)
        ax.legend(fontsize=8)
    save(fig, "tone.png")


def plot_mode():
    rate, f0 = 48000, 200
    fig, ax = plt.subplots(figsize=(7, 3.6))
    k = np.arange(1, 13)
    for i, mode in enumerate((0, 1)):
        h = harmonics(render(sine(f0, 0.5, rate), rate, Level=12, Mode=mode), rate, f0, 12)
        ax.bar(k + (i - 0.5) * 0.38, db(h / h[0]) + 120, 0.38, bottom=-120, label="Mode A" if mode == 0 else "Mode B")
    style(ax, "Mode: harmonics of a 200 Hz sine at -6 dBFS, Level 12", "harmonic", "dB below the fundamental")
    ax.set_xticks(k)
    ax.set_ylim(-120, 5)
    ax.legend(fontsize=8)
    save(fig, "mode.png")


def plot_gain_pad():
    rate, f0 = 48000, 1000
    inputs = np.arange(-40, 1, 4)
    fig, (a, b) = plt.subplots(1, 2, figsize=(9, 3.8))
    for gain, pad in ((1, 0), (0, 0), (1, 1), (0, 1)):
        t, lv = [], []
        for d in inputs:
            y = render(sine(f0, 10 ** (d / 20), rate), rate, Level=10, Gain=gain, Pad=pad)
            h = harmonics(y, rate, f0, 9)
            t.append(100 * thd(h))
            lv.append(db(h[0]))
        label = f"Gain {gain}, Pad {pad}"
        a.semilogy(inputs, t, marker="o", ms=3, label=label)
        b.plot(inputs, lv, marker="o", ms=3, label=label)
    style(a, "THD of a 1 kHz sine at Level 10", "input level (dBFS)", "THD (%)")
    style(b, "Output level of the fundamental", "input level (dBFS)", "output (dBFS)")
    a.legend(fontsize=8)
    save(fig, "gain-pad.png")


def plot_quality():
    rate, f0 = 44100, 5000
    fig, axes = plt.subplots(2, 1, figsize=(8, 5), sharex=True)
    worst = {}
    for ax, (quality, name) in zip(axes, ((0, "Standard"), (1, "High"))):
        y = render(sine(f0, 0.5, rate), rate, Level=20, Quality=quality)
        f, s = spectrum(y, rate)
        fundamental = s[np.argmin(abs(f - f0))]
        rel = s - fundamental
        ax.plot(f / 1000, rel, lw=0.7)
        near_harmonic = np.min(np.abs(f[:, None] - f0 * np.arange(1, 5)[None, :]), axis=1) < 30
        worst[name] = rel[(~near_harmonic) & (f > 30)].max()
        style(ax, f"{name}: 5 kHz sine at -6 dBFS, Level 20, 44.1 kHz "
                  f"(strongest alias {worst[name]:.0f} dBc)", "kHz", "dB rel. fundamental")
        ax.set_ylim(-160, 5)
    save(fig, "quality.png")
    return worst


def latency(quality):
    rate = 48000
    n0 = int(SETTLE * rate)
    x = np.zeros((n0 + 4096, 2))
    x[n0, :] = 1e-3
    y = render(x, rate, Level=0, Quality=quality, Bypas=1)
    return int(np.argmax(np.abs(y[n0:, 0])))


def plot_presets():
    names = [line.split("\t", 1)[1] for line in run_text("--list-presets").splitlines()]
    rate, f0 = 48000, 1000
    rows = []
    for number, name in enumerate(names):
        out = run_text("--preset", str(number), "--loudness", "--loudness-in")
        dry = float(re.search(r"^input: (\S+) LUFS", out, re.M).group(1))
        wet = float(re.search(r"^output: (\S+) LUFS", out, re.M).group(1))
        out = run_text("--preset", str(number), "--set", "Output=0", "--loudness")
        unlevelled = float(re.search(r"^output: (\S+) LUFS", out, re.M).group(1))
        h = harmonics(render(sine(f0, 10 ** (-12 / 20), rate), rate, preset=number), rate, f0, 9)
        rows.append((name, wet - dry, 100 * thd(h), unlevelled - dry))
    fig, (a, b) = plt.subplots(1, 2, figsize=(10, 4.6), sharey=True)
    y = np.arange(len(rows))[::-1]
    a.barh(y, [r[2] for r in rows], color="tab:red")
    a.set_xscale("log")
    a.set_yticks(y, [r[0] for r in rows], fontsize=8)
    style(a, "THD of a 1 kHz sine at -12 dBFS", "THD (%)", "")
    b.barh(y, [r[3] for r in rows], color="#c8c8c8", label="Output at 0 dB")
    b.plot([r[1] for r in rows], y, "o", color="tab:blue", label="with the preset's Output")
    b.axvspan(-1, 1, color="tab:blue", alpha=0.12)
    style(b, "Loudness on the demo signal, against the dry demo", "LU", "")
    b.legend(fontsize=8, loc="upper left")
    save(fig, "presets.png")
    return rows


FLOW = """digraph MERO {
  graph [rankdir=TB, fontname="DejaVu Sans", fontsize=11, nodesep=0.3, ranksep=0.35];
  node [shape=box, style="rounded,filled", fillcolor="#f2f2f2", fontname="DejaVu Sans", fontsize=10];
  edge [fontname="DejaVu Sans", fontsize=9];
  in [label="Input (mono or stereo)", shape=oval, fillcolor="#dde8f5"];
  subgraph cluster_q {
    label="at 1x, 4x or 8x the rate (Quality)"; labeljust=l; style=dashed; fontsize=9;
    { rank=same;
      pad [label="Pad\\n-10 dB / -30 dB"];
      drive [label="Drive gain\\nLevel x 1.2 dB or 2 dB\\n(Gain)"];
      shaper [label="Shaper\\nband-pass + curve A or B\\n(Mode)", fillcolor="#f9e0c8"];
      comp [label="Compensation\\n/ drive gain, / pad"];
      pad -> drive -> shaper -> comp;
    }
  }
  { rank=same;
    net [label="Output network"];
    phase [label="Phase\\n(polarity)"];
    tone [label="Tone network\\nLow, High"];
    gain [label="Mode trim,\\nOutput -96 ... +12 dB"];
    byp [label="Bypass", shape=diamond, fillcolor="#ffffff"];
    net -> phase -> tone -> gain -> byp;
  }
  out [label="Output", shape=oval, fillcolor="#dde8f5"];
  in -> pad;
  comp -> net;
  byp -> out;
  in -> byp [label="  dry, delayed by the latency", style=dashed];
}
"""


def draw_flow():
    dot = WORK / "signal-flow.dot"
    dot.write_text(FLOW)
    for kind in ("svg", "png"):
        subprocess.run(["dot", f"-T{kind}", "-Gdpi=150", str(dot), "-o", str(OUT / f"signal-flow.{kind}")], check=True)
        print(f"wrote docs/manual/signal-flow.{kind}")


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    draw_flow()
    level_thd = plot_level()
    plot_tone()
    plot_mode()
    plot_gain_pad()
    worst = plot_quality()
    print("THD at Level 0, 6, 12, 20 (%):", ", ".join(f"{level_thd[lv]:.3g}" for lv in (0, 6, 12, 20)))
    print("strongest alias (dBc):", ", ".join(f"{k} {v:.1f}" for k, v in worst.items()))
    print("latency (samples): High", latency(1), "Ultra", latency(2), "Standard", latency(0))
    for name, delta, distortion, unlevelled in plot_presets():
        print(f"preset {name:<20} loudness {delta:+.2f} LU (at Output 0 dB {unlevelled:+.2f} LU)  "
              f"THD {distortion:.3g} %")


if __name__ == "__main__":
    main()
