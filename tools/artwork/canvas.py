"""A supersampled RGBA canvas for drawing the panel artwork.

Everything is drawn at SS x SS samples per output pixel in premultiplied colour and
box-filtered down when the image is written, which antialiases every edge. Geometry is
given in panel pixels; the artwork is drawn at a scale (set_scale) of output pixels per
panel pixel, so a 2x image is the same drawing with twice the output pixels, not the 1x
one enlarged. Shapes are given as coverage arrays (0..1 per sample), mostly from signed
distances in panel pixels. Colours are sRGB triples 0..1. One light, from the upper
left, shades every raised part.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

SS = 4

_scale = 1


def set_scale(scale):
    """Output pixels per panel pixel (a whole number) for the canvases made after."""
    global _scale
    _scale = int(scale)


def density():
    """Samples per panel pixel along each axis at the current scale."""
    return SS * _scale


FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONT_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
FONT_REGULAR = FONT_DIR + "DejaVuSans.ttf"
CAP_HEIGHT = 0.729  # of the em, for DejaVu Sans capitals and digits

# Unit vector toward the light (x right, y down, z out of the panel) and the half
# vector for a viewer straight in front.
LIGHT = np.array([-0.45, -0.65, 1.0])
LIGHT = LIGHT / np.linalg.norm(LIGHT)
HALF = LIGHT + np.array([0.0, 0.0, 1.0])
HALF = HALF / np.linalg.norm(HALF)


class Canvas:
    """A w x h panel pixel image (w x h times the scale in output pixels); X and Y hold
    the sample positions in panel pixels (centre of sample), offset by (ox, oy) so that
    a frame can be drawn in panel coordinates."""

    def __init__(self, w, h, ox=0.0, oy=0.0):
        self.w, self.h, self.ox, self.oy = w, h, ox, oy
        self.scale = _scale
        n = density()
        self.rgb = np.zeros((h * n, w * n, 3))
        self.a = np.zeros((h * n, w * n))
        xs = (np.arange(w * n) + 0.5) / n + ox
        ys = (np.arange(h * n) + 0.5) / n + oy
        self.X, self.Y = np.meshgrid(xs, ys)

    def paint(self, color, coverage):
        """Source-over of colour (a triple or an array of triples) at the coverage."""
        k = np.clip(coverage, 0.0, 1.0)
        c = np.broadcast_to(np.asarray(color, dtype=float), self.rgb.shape)
        self.rgb = c * k[..., None] + self.rgb * (1.0 - k[..., None])
        self.a = k + self.a * (1.0 - k)

    def image(self):
        h, w = self.h * self.scale, self.w * self.scale
        rgb = self.rgb.reshape(h, SS, w, SS, 3).mean(axis=(1, 3))
        a = self.a.reshape(h, SS, w, SS).mean(axis=(1, 3))
        out = np.zeros((h, w, 4))
        seen = a > 1e-9
        out[..., :3][seen] = rgb[seen] / a[seen][:, None]
        out[..., 3] = a
        return Image.fromarray(np.clip(np.round(out * 255.0), 0, 255).astype(np.uint8), "RGBA")

    # Text ---------------------------------------------------------------------------

    def text(self, s, x, y, size, color, bold=True, tracking=0.0, align="center", alpha=1.0):
        """Writes s with its capitals centred vertically on y; align says whether x is
        the left end, the centre or the right end. tracking adds pixels between letters."""
        self.paint(color, self.text_coverage(s, x, y, size, bold, tracking, align) * alpha)

    def text_extent(self, s, size, bold=True, tracking=0.0):
        """Width and capital height of s in panel pixels."""
        n = density()
        face = font(size, bold)
        width = sum(face.getlength(c) for c in s) + tracking * n * (len(s) - 1)
        return width / n, CAP_HEIGHT * size

    def text_coverage(self, s, x, y, size, bold=True, tracking=0.0, align="center"):
        n = density()
        face = font(size, bold)
        widths = [face.getlength(c) for c in s]
        total = sum(widths) + tracking * n * (len(s) - 1)
        px = (x - self.ox) * n
        if align == "center":
            px -= total / 2.0
        elif align == "right":
            px -= total
        base = (y - self.oy) * n + CAP_HEIGHT * size * n / 2.0
        mask = Image.new("L", (self.w * n, self.h * n), 0)
        draw = ImageDraw.Draw(mask)
        for c, cw in zip(s, widths):
            draw.text((px, base), c, font=face, fill=255, anchor="ls")
            px += cw + tracking * n
        return np.asarray(mask, dtype=float) / 255.0


def font(size, bold):
    """The face at size panel pixels: its 1x sample size (whole samples) times the
    scale, so that text keeps its 1x proportions at every scale."""
    return ImageFont.truetype(FONT_BOLD if bold else FONT_REGULAR, int(round(size * SS)) * _scale)


# Coverage and shading helpers -----------------------------------------------------------


def edge(d):
    """Coverage of the inside of a shape from its signed distance in panel pixels (< 0 inside)."""
    return np.clip(0.5 - d * density(), 0.0, 1.0)


def soft(d, width):
    """A soft edge that falls from 1 to 0 over width pixels around distance 0."""
    t = np.clip(0.5 - d / width, 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def segment_distance(X, Y, x0, y0, x1, y1):
    """Distance from each sample to the segment (x0, y0)-(x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    t = np.clip(((X - x0) * dx + (Y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0)
    return np.hypot(X - x0 - t * dx, Y - y0 - t * dy)


def rounded_box_distance(X, Y, cx, cy, hw, hh, radius):
    qx = np.abs(X - cx) - (hw - radius)
    qy = np.abs(Y - cy) - (hh - radius)
    outside = np.hypot(np.maximum(qx, 0.0), np.maximum(qy, 0.0))
    return outside + np.minimum(np.maximum(qx, qy), 0.0) - radius


def polar(X, Y, cx, cy):
    """Radius and angle (radians, clockwise from twelve o'clock) around (cx, cy)."""
    dx, dy = X - cx, Y - cy
    return np.hypot(dx, dy), np.arctan2(dx, -dy)


def on_dial(cx, cy, radius, degrees):
    """The point at radius on a dial, degrees clockwise from twelve o'clock."""
    a = np.radians(degrees)
    return cx + radius * np.sin(a), cy - radius * np.cos(a)


def normal_from_tilt(dirx, diry, tilt):
    """Unit normals tilted by tilt radians from the panel normal toward (dirx, diry)."""
    s = np.sin(tilt)
    return np.stack([dirx * s, diry * s, np.cos(tilt) * np.ones_like(dirx)], axis=-1)


def lit(base, normal, ambient=0.35, diffuse=0.65, specular=0.0, shininess=20.0, highlight_color=(1.0, 1.0, 1.0)):
    """Colour of a surface of base colour with the given normals under the panel light."""
    n = normal / np.linalg.norm(normal, axis=-1, keepdims=True)
    lam = np.clip(n @ LIGHT, 0.0, 1.0)
    shine = np.clip(n @ HALF, 0.0, 1.0) ** shininess
    base = np.asarray(base, dtype=float)
    if base.ndim == 1:
        base = base[None, None, :]
    col = base * (ambient + diffuse * lam)[..., None] + specular * shine[..., None] * np.asarray(highlight_color)
    return np.clip(col, 0.0, 1.0)


def fine_noise(shape, seed, streak=0):
    """Deterministic unit-variance noise; streak > 0 smears it along x over that many
    samples (brushed metal)."""
    rng = np.random.default_rng(seed)
    n = rng.standard_normal(shape)
    if streak > 0:
        c = np.cumsum(np.pad(n, ((0, 0), (streak, 0)), mode="wrap"), axis=1)
        n = (c[:, streak:] - c[:, :-streak]) / np.sqrt(streak)
    return n
