#!/usr/bin/python3
"""Prints the Output level that gives each of MERO's factory presets the integrated
loudness of the unprocessed demo signal, for the table in effect/MEROPresets.cpp.

Each preset is rendered by mero-render (the built module) with Output at 0 dB; Output
is a plain gain after every other stage, so the loudness moves by exactly the dB it is
set to. Usage: level_presets.py [BUILD_DIR]   (default: build/native)
"""
import pathlib
import re
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parents[2]
build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else root / "build" / "native")
render = str(build / "tools" / "render" / "mero-render")


def run(*args):
    return subprocess.run([render, *args], check=True, capture_output=True, text=True).stdout


def lufs(text, what):
    match = re.search(rf"^{what}: (\S+) LUFS$", text, re.M)
    return float(match.group(1))


presets = [line.split("\t", 1) for line in run("--list-presets").splitlines()]
dry = lufs(run("--loudness-in"), "input")
print(f"demo signal: {dry:.2f} LUFS")
print(f"{'preset':<20} {'at 0 dB':>9} {'Output':>8}")
for number, name in presets[1:]:
    wet = lufs(run("--preset", number, "--set", "Output=0", "--loudness"), "output")
    print(f"{name:<20} {wet:9.2f} {dry - wet:8.2f}")
