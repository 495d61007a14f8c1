#!/usr/bin/python3
"""Draws MERO's front panel into resources/img/: the background and the frame strips of
the four knobs and six switches, at the sizes and frame counts the editor loads, frames
stacked top to bottom from the lowest value to the highest. The same drawing at twice
the pixels for high-density screens goes to resources/img/2x/.

    /usr/bin/python3 tools/artwork/make_artwork.py [--preview docs/artwork.png]

Same bytes on every run. Needs python3-pil, python3-numpy and fonts-dejavu-core.
With --preview it also writes the panel as the editor shows it with default settings,
and its 2x version beside it (docs/artwork@2x.png).
"""

import argparse
import os
import sys

import numpy as np
from PIL import Image

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from canvas import Canvas, set_scale, density, edge, fine_noise, segment_distance, on_dial, rounded_box_distance
from parts import BLACK, PRINT, knob, toggle, three_way_toggle, lever_reach, bypass_button, screw

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
IMG_DIR = os.path.join(ROOT, "resources", "img")
# Output pixels per panel pixel, and where the images at that scale go.
SCALES = {1: IMG_DIR, 2: os.path.join(IMG_DIR, "2x")}

PANEL_W, PANEL_H = 255, 658

# name: top-left corner, frame size, frame count (the editor's layout).
KNOBS = {
    "LEVEL": ((50, 381), (156, 166), 21),
    "LOW": ((52, 163), (69, 71), 3),
    "HIGH": ((137, 163), (67, 71), 4),
    "OUT": ((89, 556), (73, 71), 61),
}
SWITCHES = {
    "MODE": ((71, 285), (31, 60), 2),
    "GAIN": ((96, 71), (60, 75), 2),
    "PAD": ((110, 283), (35, 52), 2),
    "PHASE": ((152, 283), (37, 50), 2),
    "BY": ((85, 13), (81, 40), 2),
    "QUALITY": ((180, 94), (46, 29), 3),
}

# Knob bodies: radius, flute count, flute depth (of the radius).
KNOB_STYLE = {"LEVEL": (44.0, 36, 0.035), "LOW": (19.0, 18, 0.05), "HIGH": (19.0, 18, 0.05), "OUT": (19.5, 18, 0.05)}
# Toggle nut sizes.
TOGGLE_SIZE = {"GAIN": 10.5, "MODE": 6.6, "PAD": 6.6, "PHASE": 6.6, "QUALITY": 6.6}

# Output: plain dB = n^0.17 * 108 - 96 for normalised n, so n = ((dB + 96) / 108)^(1 / 0.17).
OUT_MIN_DB, OUT_MAX_DB, OUT_SHAPE = -96.0, 12.0, 0.17

DIM = (0.72, 0.71, 0.68)  # secondary legends


def out_normalized(db):
    return ((db - OUT_MIN_DB) / (OUT_MAX_DB - OUT_MIN_DB)) ** (1.0 / OUT_SHAPE)


def dial_degrees(normalized):
    """Every knob turns from -135 degrees (lowest value) to +135 degrees (highest)."""
    return -135.0 + 270.0 * normalized


def centre(name):
    (x, y), (w, h) = KNOBS[name][0], KNOBS[name][1]
    return x + w / 2.0, y + h / 2.0


def switch_centre(name):
    (x, y), (w, h), _ = SWITCHES[name]
    return x + w / 2.0, y + h / 2.0


# Strips --------------------------------------------------------------------------------


def knob_strip(name):
    (_, _), (w, h), frames = KNOBS[name]
    radius, flutes, depth = KNOB_STYLE[name]
    images = []
    for i in range(frames):
        cv = Canvas(w, h)
        knob(cv, w / 2.0, h / 2.0, radius, dial_degrees(i / (frames - 1)), flutes, depth)
        images.append(cv.image())
    return stack(images)


def toggle_strip(name):
    (_, _), (w, h), _ = SWITCHES[name]
    images = []
    for up in (True, False):  # value 0: lever up; value 1: lever down
        cv = Canvas(w, h)
        toggle(cv, w / 2.0, h / 2.0, TOGGLE_SIZE[name], up)
        images.append(cv.image())
    return stack(images)


def three_way_strip(name):
    (_, _), (w, h), _ = SWITCHES[name]
    images = []
    for position in (-1, 0, 1):  # values 0, 1, 2: lever left, straight out, right
        cv = Canvas(w, h)
        three_way_toggle(cv, w / 2.0, h / 2.0, TOGGLE_SIZE[name], position)
        images.append(cv.image())
    return stack(images)


def bypass_strip():
    (_, _), (w, h), _ = SWITCHES["BY"]
    images = []
    for on in (False, True):  # value 0: processed, lamp dark; value 1: bypassed, lamp lit
        cv = Canvas(w, h)
        bypass_button(cv, w / 2.0, h / 2.0, on)
        images.append(cv.image())
    return stack(images)


def stack(images):
    w, h = images[0].size
    strip = Image.new("RGBA", (w, h * len(images)))
    for i, im in enumerate(images):
        strip.paste(im, (0, i * h))
    return strip


# Background ----------------------------------------------------------------------------


def panel_surface(cv):
    """Dark anodised aluminium with a fine horizontal grain, a faint fall-off of the
    light from the upper left and a bevelled edge."""
    X, Y = cv.X, cv.Y
    base = np.array([0.205, 0.215, 0.235])
    grain = fine_noise(X.shape, 7, streak=12 * density()) * 0.006 + fine_noise(X.shape, 8) * 0.004
    light = 1.0 + 0.07 * (1.0 - Y / PANEL_H) - 0.04 * (X / PANEL_W)
    col = base[None, None, :] * light[..., None] + grain[..., None]
    cv.paint(np.clip(col, 0.0, 1.0), np.ones_like(X))
    # Bevel: lit top and left edges, shaded bottom and right ones.
    d_left, d_top = X, Y
    d_right, d_bottom = PANEL_W - X, PANEL_H - Y
    cv.paint((1.0, 1.0, 1.0), 0.16 * edge(np.minimum(d_left, d_top) - 1.6) * edge(-np.minimum(d_right, d_bottom) + 1.6))
    cv.paint(BLACK, 0.45 * edge(np.minimum(d_right, d_bottom) - 1.6))
    cv.paint(BLACK, 0.7 * edge(np.minimum.reduce([d_left, d_top, d_right, d_bottom]) - 0.5))


def engraved_line(cv, x0, x1, y):
    X, Y = cv.X, cv.Y
    span = (X >= x0) * (X <= x1)
    cv.paint(BLACK, 0.45 * edge(np.abs(Y - y) - 0.45) * span)
    cv.paint((1.0, 1.0, 1.0), 0.07 * edge(np.abs(Y - y - 1.0) - 0.45) * span)


def tick(cv, cx, cy, degrees, r0, r1, width, color=PRINT, alpha=1.0):
    x0, y0 = on_dial(cx, cy, r0, degrees)
    x1, y1 = on_dial(cx, cy, r1, degrees)
    cv.paint(color, alpha * edge(segment_distance(cv.X, cv.Y, x0, y0, x1, y1) - width / 2.0))


def number(cv, text, cx, cy, radius, degrees, size, color=PRINT, bold=True):
    """Writes text outside a dial so that its box keeps the same gap from radius
    whatever the angle."""
    w, h = cv.text_extent(text, size, bold)
    a = np.radians(degrees)
    r = radius + 0.5 * w * abs(np.sin(a)) + 0.5 * h * abs(np.cos(a))
    x, y = on_dial(cx, cy, r, degrees)
    cv.text(text, x, y, size, color, bold=bold)


def level_scale(cv):
    cx, cy = centre("LEVEL")
    for k in range(21):
        a = dial_degrees(k / 20.0)
        major = k % 2 == 0
        tick(cv, cx, cy, a, 51.0, 58.5 if major else 55.5, 1.5 if major else 1.0)
        if major:
            number(cv, str(k), cx, cy, 61.0, a, 7.5)
    cv.text("LEVEL", cx, cy + 66.0, 8.5, PRINT, tracking=1.6)


def stepped_scale(cv, name, positions, label):
    cx, cy = centre(name)
    for k in range(positions):
        a = dial_degrees(k / (positions - 1))
        tick(cv, cx, cy, a, 22.5, 27.5, 1.4)
        number(cv, str(k), cx, cy, 29.5, a, 7.0)
    cv.text(label, cx, cy + 30.5, 8.0, PRINT, tracking=1.4)


def output_scale(cv):
    cx, cy = centre("OUT")
    labelled = [(-96.0, "\u2212\u221e"), (-24.0, "\u221224"), (-12.0, "\u221212"), (-6.0, "\u22126"),
                (0.0, "0"), (6.0, "+6"), (12.0, "+12")]
    minor = [-18.0, -9.0, -3.0, 3.0, 9.0]
    for db, text in labelled:
        a = dial_degrees(out_normalized(db))
        tick(cv, cx, cy, a, 23.0, 28.0, 1.4)
        number(cv, text, cx, cy, 30.0, a, 6.8)
    for db in minor:
        tick(cv, cx, cy, dial_degrees(out_normalized(db)), 23.0, 25.8, 1.0)
    cv.text("OUTPUT", cx, cy + 42.5, 8.0, PRINT, tracking=1.4)
    cv.text("dB", cx, cy + 25.0, 6.4, DIM, bold=False)


def toggle_legends(cv, name, top, bottom, label, label_y):
    cx, cy = switch_centre(name)
    s = TOGGLE_SIZE[name]
    reach = lever_reach(s) + 7.0
    cv.text(top, cx, cy - reach, 6.8, DIM)
    cv.text(bottom, cx, cy + reach, 6.8, DIM)
    if label is not None:
        cv.text(label, cx, label_y, 7.6, PRINT, tracking=1.2)


def three_way_legends(cv, name, legends, label):
    """The left and right positions' legends beyond the lever's reach, the middle one's
    above the nut, the label under the switch."""
    cx, cy = switch_centre(name)
    s = TOGGLE_SIZE[name]
    reach = lever_reach(s) + 4.5
    left, middle, right = legends
    cv.text(left, cx - reach, cy, 6.8, DIM, align="right")
    cv.text(middle, cx, cy - 1.42 * s - 6.5, 6.8, DIM)
    cv.text(right, cx + reach, cy, 6.8, DIM, align="left")
    cv.text(label, cx, cy + 1.42 * s + 12.0, 7.6, PRINT, tracking=1.2)


def header(cv):
    bx, by = switch_centre("BY")
    # Wordmark and maker.
    cv.text("MERO", 47.0, 31.0, 17.0, PRINT, tracking=1.2)
    cv.paint((0.85, 0.16, 0.10), edge(rounded_box_distance(cv.X, cv.Y, 47.0, 45.0, 22.0, 0.9, 0.9)))
    cv.text("BYPASS", bx, by + 25.5, 7.6, PRINT, tracking=1.2)
    cv.text("PARVOLEN", 209.0, 28.0, 6.2, DIM, tracking=1.0)
    cv.text("DRIVE \u00b7 TONE", 209.0, 38.0, 6.2, DIM, tracking=0.6, bold=False)


def background():
    cv = Canvas(PANEL_W, PANEL_H)
    panel_surface(cv)

    for x, y, a in ((11.0, 11.0, 20.0), (244.0, 11.0, 65.0), (11.0, 647.0, 110.0), (244.0, 647.0, 35.0)):
        screw(cv, x, y, 5.0, a)

    header(cv)
    engraved_line(cv, 8.0, 247.0, 69.0)

    # Gain toggle: label to its left, its two ranges above and below the lever.
    gx, gy = switch_centre("GAIN")
    cv.text("GAIN", gx - 24.0, gy, 8.0, PRINT, tracking=1.4, align="right")
    toggle_legends(cv, "GAIN", "HI", "LO", None, 0.0)
    three_way_legends(cv, "QUALITY", ("STD", "HQ", "UHQ"), "QUALITY")
    engraved_line(cv, 8.0, 247.0, 152.0)

    stepped_scale(cv, "LOW", 3, "LOW")
    stepped_scale(cv, "HIGH", 4, "HIGH")
    engraved_line(cv, 8.0, 247.0, 262.0)

    toggle_legends(cv, "MODE", "A", "B", "MODE", 356.0)
    toggle_legends(cv, "PAD", "\u221210", "\u221230", "PAD", 356.0)
    toggle_legends(cv, "PHASE", "0\u00b0", "180\u00b0", "PHASE", 356.0)
    engraved_line(cv, 8.0, 247.0, 370.0)

    level_scale(cv)
    output_scale(cv)
    return cv.image()


# Output ---------------------------------------------------------------------------------


def write_png(image, path):
    """RGBA, 8 bits per channel, no ancillary chunks: the same bytes for the same pixels."""
    assert image.mode == "RGBA"
    image.save(path, format="PNG", compress_level=9)


def preview(images, values, scale):
    """The panel as the editor draws it: the background, then each control's frame for
    its normalised value, chosen as the controls choose it."""
    panel = images["BG"].copy()
    for name, value in values.items():
        if name in KNOBS:
            (x, y), (w, h), frames = KNOBS[name]
        else:
            (x, y), (w, h), frames = SWITCHES[name]
        x, y, w, h = x * scale, y * scale, w * scale, h * scale
        i = min(max(1 + int((frames - 1) * value + 0.5), 1), frames)
        frame = images[name].crop((0, (i - 1) * h, w, i * h))
        panel.alpha_composite(frame, (x, y))
    return panel


def scaled_path(path, scale):
    """path for the 1x preview; the name with @<scale>x before the extension otherwise."""
    if scale == 1:
        return path
    stem, ext = os.path.splitext(path)
    return "%s@%dx%s" % (stem, scale, ext)


DEFAULTS = {"LEVEL": 6 / 20, "LOW": 0.5, "HIGH": 1 / 3, "OUT": 0.5, "MODE": 0.0, "GAIN": 1.0, "PAD": 0.0,
            "PHASE": 0.0, "BY": 0.0, "QUALITY": 0.0}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--preview", help="also write the panel with default settings to this file")
    parser.add_argument("--only", help="draw only these images (comma-separated names), for quick looks")
    args = parser.parse_args()

    makers = {
        "BG": background,
        "LEVEL": lambda: knob_strip("LEVEL"),
        "MODE": lambda: toggle_strip("MODE"),
        "GAIN": lambda: toggle_strip("GAIN"),
        "PAD": lambda: toggle_strip("PAD"),
        "PHASE": lambda: toggle_strip("PHASE"),
        "LOW": lambda: knob_strip("LOW"),
        "HIGH": lambda: knob_strip("HIGH"),
        "BY": bypass_strip,
        "OUT": lambda: knob_strip("OUT"),
        "QUALITY": lambda: three_way_strip("QUALITY"),
    }
    names = args.only.split(",") if args.only else list(makers)
    for scale, directory in SCALES.items():
        set_scale(scale)
        os.makedirs(directory, exist_ok=True)
        images = {}
        for name in makers:
            path = os.path.join(directory, name + ".png")
            if name in names:
                images[name] = makers[name]()
                write_png(images[name], path)
            else:
                images[name] = Image.open(path).convert("RGBA")
        if args.preview:
            path = scaled_path(args.preview, scale)
            os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
            write_png(preview(images, DEFAULTS, scale), path)


if __name__ == "__main__":
    main()
