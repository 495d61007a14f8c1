"""The panel's hardware: knobs, toggle switches, the bypass button and screws, each
drawn onto a Canvas around a centre given in the canvas's coordinates."""

import numpy as np

from canvas import density, edge, soft, polar, segment_distance, rounded_box_distance, lit

BLACK = (0.0, 0.0, 0.0)
PRINT = (0.93, 0.91, 0.86)  # the panel's screen-printed legends and pointer lines


def normals_from_height(h):
    """Surface normals of a height field given in panel pixels over the canvas's samples."""
    gy, gx = np.gradient(h, 1.0 / density())
    n = np.stack([-gx, -gy, np.ones_like(h)], axis=-1)
    return n / np.linalg.norm(n, axis=-1, keepdims=True)


def chrome(n, tint=(0.96, 0.98, 1.0), dark=0.10):
    """Polished metal: the reflection of a studio (a bright ceiling, a window to the
    upper left, a dim floor) plus the highlight of the panel light."""
    rx = 2.0 * n[..., 2] * n[..., 0]
    ry = 2.0 * n[..., 2] * n[..., 1]
    ceiling = np.clip(-ry, 0.0, 1.0)
    env = 0.30 + 0.50 * ceiling - 0.12 * np.clip(ry, 0.0, 1.0) - 0.10 * rx
    env = env + 0.45 * np.exp(-(((rx + 0.45) / 0.22) ** 2)) * np.exp(-(((ry + 0.2) / 0.9) ** 2))
    env = np.clip(env, dark, 1.0)
    flat = lit((1.0, 1.0, 1.0), n, ambient=0.0, diffuse=0.0, specular=1.0, shininess=90.0)[..., 0]
    v = np.clip(env * 0.85 + flat * 0.9, 0.0, 1.0)
    return v[..., None] * np.asarray(tint)[None, None, :]


# Knobs -------------------------------------------------------------------------------


def knob(cv, cx, cy, radius, degrees, flutes, flute_depth=0.05, cap_ratio=0.58):
    """A black fluted knob with a spun-aluminium cap and a printed pointer line at
    degrees clockwise from twelve o'clock. The pointer and the flutes turn with the
    knob; the light does not."""
    X, Y = cv.X, cv.Y
    R = radius
    rot = np.radians(degrees)

    # Shadows on the panel: a wide soft one away from the light and a tight contact one.
    off = 0.6 + 0.05 * R
    ds = np.hypot(X - cx - 0.7 * off, Y - cy - off) - R
    cv.paint(BLACK, 0.55 * soft(ds, 0.28 * R + 2.0))
    dc = np.hypot(X - cx - 0.25, Y - cy - 0.45) - R
    cv.paint(BLACK, 0.6 * soft(dc, 1.6))

    r, phi = polar(X, Y, cx, cy)
    groove = ((1.0 + np.cos(flutes * (phi - rot))) / 2.0) ** 3
    depth = flute_depth * R * groove
    top = 0.80 * R  # edge of the flat top face
    rim = R - top  # radius of the rounded rim
    cap = cap_ratio * R

    # Height field: a flat, faintly domed top face, a quarter-round rim cut by the
    # flutes, the cap standing slightly proud with a small bevel.
    reff = r + depth
    u = np.clip(reff - top, 0.0, 0.985 * rim)
    h = 6.0 - 0.03 * (r / R) ** 2 * R - (rim - np.sqrt(rim * rim - u * u))
    bevel = np.clip((cap - r) / 0.9, 0.0, 1.0)
    h = h + 0.7 * bevel
    n = normals_from_height(h)

    body = lit((0.085, 0.085, 0.09), n, ambient=0.55, diffuse=1.1, specular=0.32, shininess=18.0)
    cv.paint(body, edge(reff - R))

    # Spun aluminium: fine concentric rings, and the brushing catches the light along
    # the line toward it. The rings are as fine as the samples at every scale.
    samples = density()
    rings = np.sin(r * 9.0 * samples) * 0.018 + np.sin(r * 23.7 * samples + 1.3) * 0.012
    light_angle = np.arctan2(-0.45, 0.65)
    sheen = 0.5 + 0.5 * np.cos(2.0 * (phi - light_angle))
    metal = 0.56 + 0.22 * sheen ** 3 + rings
    cap_col = lit((1.0, 1.0, 1.0), n, ambient=0.62, diffuse=0.45, specular=0.35, shininess=40.0)
    cap_col = cap_col * metal[..., None] * np.array([0.98, 0.99, 1.0])
    cv.paint(np.clip(cap_col, 0.0, 1.0), edge(r - cap))
    # The cap's edge: a dark seam.
    cv.paint(BLACK, 0.55 * np.clip(1.0 - np.abs(r - cap) * 1.8, 0.0, 1.0))

    # Pointer: a printed line from the cap's edge out over the rim, and an engraved
    # notch in the cap in line with it.
    sx, sy = np.sin(rot), -np.cos(rot)
    width = max(0.85, 0.045 * R)
    d = segment_distance(X, Y, cx + sx * (cap + 1.6), cy + sy * (cap + 1.6), cx + sx * (R - 1.2), cy + sy * (R - 1.2))
    shade = lit((1.0, 1.0, 1.0), n, ambient=0.72, diffuse=0.35)[..., 0]
    cv.paint(np.asarray(PRINT)[None, None, :] * shade[..., None], edge(d - width) * edge(reff - R + 0.4))
    d = segment_distance(X, Y, cx + sx * 0.32 * cap, cy + sy * 0.32 * cap, cx + sx * (cap - 1.0), cy + sy * (cap - 1.0))
    cv.paint((0.16, 0.16, 0.17), 0.9 * edge(d - 0.5 * width))


# Toggle switches -----------------------------------------------------------------------


def hex_distance(X, Y, cx, cy, inner):
    """Signed distance to a hexagon with flats at top and bottom and inner radius inner."""
    qx, qy = np.abs(X - cx), np.abs(Y - cy)
    k = np.array([-0.8660254, 0.5])
    dot = np.minimum(k[0] * qx + k[1] * qy, 0.0)
    qx = qx - 2.0 * dot * k[0]
    qy = qy - 2.0 * dot * k[1]
    lim = inner / np.sqrt(3.0)
    qx = qx - np.clip(qx, -lim, lim)
    qy = qy - inner
    return np.hypot(qx, qy) * np.sign(qy)


LEVER_LENGTH = 2.0  # pivot to ball centre, in nut radii
LEVER_BALL = 0.5


def lever_reach(size):
    """How far the lever's ball reaches from the pivot, for a nut of inner radius size."""
    return (LEVER_LENGTH + LEVER_BALL) * size


def toggle_mount(cv, cx, cy, s):
    """A toggle switch's washer, hex nut and threaded bushing with the lever's hole, for
    a nut of inner radius s."""
    X, Y = cv.X, cv.Y
    washer = 1.42 * s
    r, _ = polar(X, Y, cx, cy)

    cv.paint(BLACK, 0.5 * soft(np.hypot(X - cx - 0.9, Y - cy - 1.3) - washer, 2.2))

    # Washer, nut and bushing as one height field.
    hw = 1.0 - np.clip(r - (washer - 0.6), 0.0, 0.6)
    hex_d = hex_distance(X, Y, cx, cy, s)
    nut = np.minimum.reduce([2.4 - hex_d * 1.1, 3.0 - np.maximum(0.0, r - 1.0 * s) * 1.4, np.full_like(r, 3.0)])
    bush = 0.55 * s
    h = np.where(hex_d < 0.0, np.maximum(nut, hw), hw)
    h = np.where(r < bush, 4.0 - np.clip(r - (bush - 0.7), 0.0, 0.7) * 1.5, h)
    n = normals_from_height(h)
    metal = chrome(n)
    cv.paint(metal * 0.92, edge(r - washer))
    cv.paint(metal, edge(hex_d))
    # Thread grooves on the bushing.
    threads = 0.5 + 0.5 * np.sin(r * 2.0 * np.pi / 0.9)
    cv.paint(BLACK, 0.25 * threads * edge(r - bush) * (r > 0.36 * s))
    cv.paint((0.03, 0.03, 0.03), edge(r - 0.36 * s))


def toggle(cv, cx, cy, size, up):
    """A bat-handle toggle switch: washer, hex nut, bushing and a chrome lever that
    points up or down. size is the nut's inner radius in pixels."""
    X, Y = cv.X, cv.Y
    s = size
    toggle_mount(cv, cx, cy, s)

    # The lever: a tapered rod leaning out of the panel toward the top or the bottom,
    # ending in a ball.
    direction = -1.0 if up else 1.0
    length = LEVER_LENGTH * s
    elevation = np.radians(52.0)
    tip_x, tip_y = cx, cy + direction * length
    r0, r1, ball = 0.27 * s, 0.36 * s, LEVER_BALL * s

    # Its shadow falls to the lower right, further from the tip.
    sd = segment_distance(X - 1.2, Y - 1.8, cx, cy, tip_x + 1.6, tip_y + 2.2) - r1
    sd = np.minimum(sd, np.hypot(X - tip_x - 2.8, Y - tip_y - 4.0) - ball)
    cv.paint(BLACK, 0.45 * soft(sd, 2.4))

    t = np.clip((Y - cy) / (tip_y - cy), 0.0, 1.0)
    half = r0 + (r1 - r0) * t
    u = (X - cx) / half
    rod = edge(np.abs(X - cx) - half) * ((Y - cy) * direction >= -0.5) * ((Y - tip_y) * direction <= 0.0)
    ca, sa = np.cos(elevation), np.sin(elevation)
    # Axis (0, direction*ca, sa); across it (1, 0, 0); the facing side m = axis x across.
    m = np.array([0.0, sa, -direction * ca])
    if m[2] < 0.0:
        m = -m
    uu = np.clip(u, -1.0, 1.0)
    w = np.sqrt(1.0 - uu * uu)
    nr = np.stack([uu, w * m[1], w * m[2]], axis=-1)
    cv.paint(chrome(nr, dark=0.06), rod)
    lever_ball(cv, tip_x, tip_y, ball)


def three_way_toggle(cv, cx, cy, size, position):
    """A three-position bat-handle toggle switch on the same mount as toggle: the lever
    leans out toward the left (position -1) or the right (1), or stands straight out of
    the panel (0), its ball then seen end on over the bushing."""
    X, Y = cv.X, cv.Y
    s = size
    toggle_mount(cv, cx, cy, s)
    ball = LEVER_BALL * s
    if position == 0:
        # Pointing at the viewer: the rod hides behind its ball, which stands a little
        # nearer and so looks a little larger; the shadow falls long to the lower right.
        ball *= 1.12
        sd = segment_distance(X, Y, cx + 0.6, cy + 0.9, cx + 3.4, cy + 4.8) - ball
        cv.paint(BLACK, 0.45 * soft(sd, 2.4))
        lever_ball(cv, cx, cy, ball)
        return

    direction = float(position)
    length = LEVER_LENGTH * s
    elevation = np.radians(52.0)
    tip_x, tip_y = cx + direction * length, cy
    r0, r1 = 0.27 * s, 0.36 * s

    sd = segment_distance(X - 1.2, Y - 1.8, cx, cy, tip_x + 1.6, tip_y + 2.2) - r1
    sd = np.minimum(sd, np.hypot(X - tip_x - 2.8, Y - tip_y - 4.0) - ball)
    cv.paint(BLACK, 0.45 * soft(sd, 2.4))

    # The rod as toggle draws it, turned a quarter: along x, across y.
    t = np.clip((X - cx) / (tip_x - cx), 0.0, 1.0)
    half = r0 + (r1 - r0) * t
    uu = np.clip((Y - cy) / half, -1.0, 1.0)
    rod = edge(np.abs(Y - cy) - half) * ((X - cx) * direction >= -0.5) * ((X - tip_x) * direction <= 0.0)
    ca, sa = np.cos(elevation), np.sin(elevation)
    # Axis (direction*ca, 0, sa); across it (0, 1, 0); the facing side m = across x axis.
    m = np.array([sa, 0.0, -direction * ca])
    if m[2] < 0.0:
        m = -m
    w = np.sqrt(1.0 - uu * uu)
    nr = np.stack([w * m[0], uu, w * m[2]], axis=-1)
    cv.paint(chrome(nr, dark=0.06), rod)
    lever_ball(cv, tip_x, tip_y, ball)


def lever_ball(cv, x, y, radius):
    X, Y = cv.X, cv.Y
    bx, by = (X - x) / radius, (Y - y) / radius
    bz = np.sqrt(np.clip(1.0 - bx * bx - by * by, 0.0, 1.0))
    nb = np.stack([bx, by, bz], axis=-1)
    cv.paint(chrome(nb, dark=0.06), edge(np.hypot(X - x, Y - y) - radius))


# Bypass button -------------------------------------------------------------------------


def bypass_button(cv, cx, cy, lit_up):
    """An illuminated latching push button in a black bezel: its red cap glows and
    sits pressed in while the unit is bypassed."""
    X, Y = cv.X, cv.Y
    bw, bh, br = 24.0, 13.0, 4.0
    cw, ch, cr = 18.5, 8.5, 2.5

    if lit_up:
        glow = rounded_box_distance(X, Y, cx, cy, bw, bh, br)
        # Fades out before the frame's edges so that it blends into the panel.
        fade = np.clip(np.minimum(np.minimum(X - cv.ox, cv.ox + cv.w - X), np.minimum(Y - cv.oy, cv.oy + cv.h - Y)) / 3.0, 0.0, 1.0)
        cv.paint((1.0, 0.22, 0.08), 0.42 * np.exp(-np.maximum(glow, 0.0) / 2.8) * (glow > -1.0) * fade)

    bez = rounded_box_distance(X, Y, cx, cy, bw, bh, br)
    cv.paint(BLACK, 0.55 * soft(rounded_box_distance(X - 0.9, Y - 1.4, cx, cy, bw, bh, br), 2.4))
    # Bezel: black anodised, rounded outer edge, a well for the cap.
    hole = rounded_box_distance(X, Y, cx, cy, cw + 1.2, ch + 1.2, cr + 1.0)
    h = 2.0 - np.clip(bez + 1.4, 0.0, 1.4) * 1.0
    h = np.where(hole < 0.0, 0.6, h - np.clip(1.0 - hole, 0.0, 1.0) * 0.8)
    n = normals_from_height(h)
    bezel = lit((0.10, 0.10, 0.11), n, ambient=0.6, diffuse=1.0, specular=0.45, shininess=24.0)
    cv.paint(bezel, edge(bez))
    cv.paint((0.02, 0.02, 0.02), edge(hole))

    # The cap: pressed in by half a pixel when latched.
    press = 0.5 if lit_up else 0.0
    ccx, ccy = cx + press * 0.4, cy + press
    cd = rounded_box_distance(X, Y, ccx, ccy, cw, ch, cr)
    dome = np.clip(-cd / 2.5, 0.0, 1.0)
    hc = 1.0 + np.sqrt(dome) * 0.9
    nc = normals_from_height(hc)
    ny = (Y - ccy) / ch
    nx = (X - ccx) / cw
    if lit_up:
        core = np.exp(-(nx * nx * 1.4 + ny * ny * 1.8))
        cap = np.stack([np.full_like(core, 1.0), 0.18 + 0.5 * core, 0.08 + 0.32 * core], axis=-1)
        cap = cap * (0.86 + 0.14 * lit((1.0, 1.0, 1.0), nc, ambient=0.0, diffuse=1.0)[..., :1])
    else:
        cap = lit((0.36, 0.06, 0.05), nc, ambient=0.5, diffuse=0.75, specular=0.5, shininess=30.0)
    cv.paint(np.clip(cap, 0.0, 1.0), edge(cd))
    # Glossy reflection across the upper half of the cap.
    gloss = np.clip(1.0 - (ny + 0.95) / 0.9, 0.0, 1.0) * (ny < 0.0)
    cv.paint((1.0, 1.0, 1.0), (0.16 if lit_up else 0.22) * gloss * edge(cd + 1.2))
    # Shadow of the bezel's lip on the pressed cap.
    if lit_up:
        lip = np.clip(1.0 - (-cd) / 1.6, 0.0, 1.0) * (ny < 0.2)
        cv.paint(BLACK, 0.28 * lip * edge(cd))


# Screws --------------------------------------------------------------------------------


def screw(cv, cx, cy, radius, slot_degrees):
    """A countersunk cross-head panel screw."""
    X, Y = cv.X, cv.Y
    r, _ = polar(X, Y, cx, cy)
    cv.paint(BLACK, 0.6 * edge(r - radius - 0.9))
    h = np.sqrt(np.clip(1.0 - (r / radius) ** 2, 0.0, 1.0)) * radius * 0.45
    n = normals_from_height(h)
    cv.paint(chrome(n, tint=(0.92, 0.93, 0.95), dark=0.18) * 0.95, edge(r - radius))
    a = np.radians(slot_degrees)
    arm = radius * 0.62
    for k in range(2):
        b = a + k * np.pi / 2.0
        dx, dy = np.cos(b) * arm, np.sin(b) * arm
        d = segment_distance(X, Y, cx - dx, cy - dy, cx + dx, cy + dy)
        cv.paint((1.0, 1.0, 1.0), 0.35 * edge(segment_distance(X - 0.45, Y - 0.55, cx - dx, cy - dy, cx + dx, cy + dy) - 0.55))
        cv.paint((0.05, 0.05, 0.06), edge(d - 0.55))
