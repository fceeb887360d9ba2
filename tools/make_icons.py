#!/usr/bin/env python3
"""Draws Tempik's icons and writes them as .ico files into res/.

    python3 tools/make_icons.py            write res/*.ico
    python3 tools/make_icons.py --check    exit 1 if a committed icon differs
    python3 tools/make_icons.py --out DIR  write into DIR instead

Standard library only. The output depends on nothing but this file: the
geometry uses + - * / and sqrt alone, which IEEE arithmetic rounds the same
way everywhere, so every run gives the same bytes.

The application icon is a stopwatch in 32-bit colour with real alpha,
anti-aliased by supersampling. The four button icons hold a 16 x 16 picture
in 16 colours with an AND mask, drawn pixel by pixel, and the same shapes
supersampled in 32-bit colour at 20, 24 and 32 px for the larger display
scales. The buttons grey them at rest by mapping every pixel except pure black
to grey, so black stands only where a pixel is fully transparent.
"""

import argparse
import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


# ---------------------------------------------------------------- .ico file

def _mask_rows(opaque, width, height):
    """AND mask, 1 bit a pixel, set where the pixel is transparent; rows
    bottom-up, each padded to 32 bits."""
    stride = (width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if not opaque[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _info_header(width, height, bits, image_size, colours_used=0):
    # The height counts the colour bitmap and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0,
                       image_size, 0, 0, colours_used, 0)


def image_32(pixels):
    """pixels: rows of (r, g, b, a), straight alpha."""
    height, width = len(pixels), len(pixels[0])
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a)) if a else bytes(4)
    mask = _mask_rows([[p[3] != 0 for p in row] for row in pixels], width, height)
    body = bytes(xor) + mask
    return (width, height, 0, 32, _info_header(width, height, 32, len(body)) + body)


def image_4(palette, art, keys):
    """palette: 16 (r, g, b); art: rows of characters, '.' transparent;
    keys: character -> palette index."""
    assert len(palette) == 16 and palette[0] == (0, 0, 0)
    height, width = len(art), len(art[0])
    assert width % 8 == 0
    index = [[0 if ch == "." else keys[ch] for ch in row] for row in art]
    xor = bytearray()
    for row in reversed(index):
        for x in range(0, width, 2):
            xor.append(row[x] << 4 | row[x + 1])
    mask = _mask_rows([[ch != "." for ch in row] for row in art], width, height)
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    body = quads + bytes(xor) + mask
    header = _info_header(width, height, 4, len(xor) + len(mask), 16)
    return (width, height, 16, 4, header + body)


def ico_file(images):
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for width, height, colours, bits, data in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0,
                           1, bits, len(data), offset)
        offset += len(data)
    for image in images:
        out += image[4]
    return bytes(out)


# ------------------------------------------------------ supersampled shapes

class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.rr = cx, cy, r * r

    def __contains__(self, p):
        dx, dy = p[0] - self.cx, p[1] - self.cy
        return dx * dx + dy * dy <= self.rr


class Box:
    """Axis-aligned rectangle with optionally rounded corners."""

    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, radius

    def __contains__(self, p):
        x, y = p
        if not (self.x0 <= x <= self.x1 and self.y0 <= y <= self.y1):
            return False
        r = self.r
        dx = max(self.x0 + r - x, x - (self.x1 - r), 0.0)
        dy = max(self.y0 + r - y, y - (self.y1 - r), 0.0)
        return dx * dx + dy * dy <= r * r


class Segment:
    """A stroke of the given half width from a to b with round ends."""

    def __init__(self, ax, ay, bx, by, half_width):
        self.ax, self.ay, self.bx, self.by = ax, ay, bx, by
        self.hw2 = half_width * half_width

    def __contains__(self, p):
        vx, vy = self.bx - self.ax, self.by - self.ay
        wx, wy = p[0] - self.ax, p[1] - self.ay
        t = (wx * vx + wy * vy) / (vx * vx + vy * vy)
        t = min(1.0, max(0.0, t))
        dx, dy = wx - t * vx, wy - t * vy
        return dx * dx + dy * dy <= self.hw2


class Wedge:
    """The part of a disc swept clockwise (on screen) from direction u to
    direction v, the two less than half a turn apart."""

    def __init__(self, cx, cy, r, u, v):
        self.disc = Circle(cx, cy, r)
        self.cx, self.cy, self.u, self.v = cx, cy, u, v

    def __contains__(self, p):
        if p not in self.disc:
            return False
        dx, dy = p[0] - self.cx, p[1] - self.cy
        (ux, uy), (vx, vy) = self.u, self.v
        return ux * dy - uy * dx >= 0 and dx * vy - dy * vx >= 0


class Polygon:
    """A convex polygon, its corners listed clockwise on screen, with the
    points within `grow` of its edges added: grown so, it has round corners."""

    def __init__(self, points, grow=0.0):
        self.edges = [(a, b) for a, b in zip(points, points[1:] + points[:1])]
        # Listed the other way round it would hold nothing.
        assert sum(ax * by - bx * ay for (ax, ay), (bx, by) in self.edges) > 0
        self.grow2 = grow * grow

    def __contains__(self, p):
        if all((bx - ax) * (p[1] - ay) - (by - ay) * (p[0] - ax) >= 0
               for (ax, ay), (bx, by) in self.edges):
            return True
        if not self.grow2:
            return False
        return any(_distance2(p, ax, ay, bx, by) <= self.grow2
                   for (ax, ay), (bx, by) in self.edges)


def _distance2(p, ax, ay, bx, by):
    """Squared distance from p to the segment from a to b."""
    vx, vy = bx - ax, by - ay
    wx, wy = p[0] - ax, p[1] - ay
    t = min(1.0, max(0.0, (wx * vx + wy * vy) / (vx * vx + vy * vy)))
    dx, dy = wx - t * vx, wy - t * vy
    return dx * dx + dy * dy


def inset(points, d):
    """The convex polygon (corners clockwise on screen) with every edge moved
    inwards by d."""
    lines = []
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        ex, ey = bx - ax, by - ay
        length = math.sqrt(ex * ex + ey * ey)
        nx, ny = -ey / length * d, ex / length * d
        lines.append((ax + nx, ay + ny, ex, ey))
    out = []
    for (px, py, ex, ey), (qx, qy, fx, fy) in zip(lines[-1:] + lines[:-1], lines):
        t = ((qx - px) * fy - (qy - py) * fx) / (ex * fy - ey * fx)
        out.append((px + t * ex, py + t * ey))
    return out


def unit(x, y):
    length = math.sqrt(x * x + y * y)
    return x / length, y / length


class Arc:
    """The band between radii r0 and r1 around (cx, cy), swept clockwise (on
    screen) from unit direction u to unit direction v, any part of a turn.
    Both ends are cut square and go on for `extend` past their direction, so
    that an outline drawn under a band can close its ends."""

    def __init__(self, cx, cy, r0, r1, u, v, extend=0.0):
        self.cx, self.cy, self.r0, self.r1 = cx, cy, r0, r1
        self.u, self.v, self.extend = u, v, extend
        self.wide = u[0] * v[1] - u[1] * v[0] < 0   # more than half a turn

    def __contains__(self, p):
        dx, dy = p[0] - self.cx, p[1] - self.cy
        (ux, uy), (vx, vy) = self.u, self.v
        d2 = dx * dx + dy * dy
        if self.r0 * self.r0 <= d2 <= self.r1 * self.r1:
            after_u = ux * dy - uy * dx >= 0
            before_v = dx * vy - dy * vx >= 0
            if (after_u or before_v) if self.wide else (after_u and before_v):
                return True
        if not self.extend:
            return False
        for (ex, ey), side in (((vx, vy), vx * dy - vy * dx),
                               ((ux, uy), dx * uy - dy * ux)):
            if 0 <= side <= self.extend and self.r0 <= dx * ex + dy * ey <= self.r1:
                return True
        return False


def render(size, layers, samples):
    """layers: (shape, (r, g, b)) from bottom to top. Each pixel takes the
    colour of the top layer at each of samples x samples points; the share of
    points covered becomes its alpha."""
    n = samples * samples
    offsets = [(i + 0.5) / samples for i in range(samples)]
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            sr = sg = sb = hits = 0
            for oy in offsets:
                for ox in offsets:
                    p = (x + ox, y + oy)
                    for shape, colour in reversed(layers):
                        if p in shape:
                            sr += colour[0]
                            sg += colour[1]
                            sb += colour[2]
                            hits += 1
                            break
            if hits:
                row.append((round(sr / hits), round(sg / hits), round(sb / hits),
                            round(255 * hits / n)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


# ------------------------------------------------------- application icon

CASE = (40, 60, 84)        # dark slate blue
CASE_LIGHT = (92, 116, 142)
FACE = (250, 250, 246)
SWEEP = (255, 205, 190)    # the time already run, behind the hand
HAND = (212, 40, 36)

SQRT3_2 = math.sqrt(3.0) / 2.0
# Twelve o'clock, then clockwise in steps of 30 degrees (y grows downwards).
CLOCK = [(0.0, -1.0), (0.5, -SQRT3_2), (SQRT3_2, -0.5), (1.0, 0.0),
         (SQRT3_2, 0.5), (0.5, SQRT3_2), (0.0, 1.0), (-0.5, SQRT3_2),
         (-SQRT3_2, 0.5), (-1.0, 0.0), (-SQRT3_2, -0.5), (-0.5, -SQRT3_2)]


def stopwatch_layers(size):
    """The stopwatch drawn for one pixel size: the case is scaled from a
    48-pixel design, the strokes keep a minimum width so that the small
    sizes stay legible, and the ticks appear only where they fit."""
    s = size / 48.0
    cx, cy = size / 2.0, 27.0 * s
    r = 19.5 * s
    ring = max(3.5 * s, 1.5)
    hand_w = max(1.6 * s, 0.9)
    up, hand = CLOCK[0], CLOCK[2]

    layers = [
        # Stem and crown on top and a pusher at eleven o'clock, drawn first
        # so that the case covers their inner ends.
        (Box(cx - 3.0 * s, 4.5 * s, cx + 3.0 * s, cy), CASE),
        (Box(cx - 7.0 * s, 0.5 * s, cx + 7.0 * s, 5.5 * s, 1.5 * s), CASE_LIGHT),
        (Segment(cx, cy, cx + CLOCK[11][0] * (r + 3.0 * s),
                 cy + CLOCK[11][1] * (r + 3.0 * s), 2.6 * s), CASE),
        (Circle(cx, cy, r), CASE),
        (Circle(cx, cy, r - ring), FACE),
        (Wedge(cx, cy, r - ring - 1.5 * s, up, hand), SWEEP),
    ]
    if size >= 32:
        inner, outer = r - ring - 3.5 * s, r - ring - 0.8 * s
        for i, (dx, dy) in enumerate(CLOCK):
            width = 1.2 * s if i % 3 == 0 else 0.7 * s
            start = inner if i % 3 == 0 else inner + 1.2 * s
            layers.append((Segment(cx + dx * start, cy + dy * start,
                                   cx + dx * outer, cy + dy * outer, width), CASE))
    reach = r - ring - 2.0 * s
    layers += [
        (Segment(cx, cy, cx + hand[0] * reach, cy + hand[1] * reach, hand_w), HAND),
        (Circle(cx, cy, max(2.6 * s, 1.3)), HAND),
    ]
    return layers


def application_icon():
    return ico_file([image_32(render(size, stopwatch_layers(size), 8))
                     for size in (16, 20, 22, 24, 32, 40, 48, 64)])


# ------------------------------------------------------------ button icons

def palette(*colours):
    return [(0, 0, 0)] + list(colours) + [(0, 0, 0)] * (15 - len(colours))


KEYS = {"o": 1, "x": 2, "l": 3}   # outline, fill, light

START = (palette((0, 104, 40), (36, 168, 72), (140, 222, 150)), [
    "................",
    "...oo...........",
    "...olo..........",
    "...olxoo........",
    "...olxxxoo......",
    "...olxxxxxoo....",
    "...olxxxxxxxoo..",
    "...olxxxxxxxxxo.",
    "...oxxxxxxxxxxo.",
    "...oxxxxxxxxoo..",
    "...oxxxxxxoo....",
    "...oxxxxoo......",
    "...oxxoo........",
    "...oxo..........",
    "...oo...........",
    "................",
])

STOP = (palette((150, 24, 20), (214, 48, 40), (246, 140, 124)), [
    "................",
    "................",
    "...oooooooooo...",
    "..ollllllllllo..",
    "..olxxxxxxxxxo..",
    "..olxxxxxxxxxo..",
    "..olxxxxxxxxxo..",
    "..olxxxxxxxxxo..",
    "..olxxxxxxxxxo..",
    "..olxxxxxxxxxo..",
    "..olxxxxxxxxxo..",
    "..olxxxxxxxxxo..",
    "..oxxxxxxxxxxo..",
    "...oooooooooo...",
    "................",
    "................",
])

RESET = (palette((20, 72, 150), (52, 122, 212), (150, 192, 242)), [
    "........o.......",
    "........oo......",
    ".....oooxlo.....",
    "...oolllxxxo....",
    "..olxxooxxxxo...",
    "..olxo..oxxo....",
    ".olxo...oxo.....",
    ".oxo....oo......",
    ".oxo....o.......",
    ".oxo............",
    ".oxxo.....oooo..",
    "..oxxo...oxxo...",
    "..oxxxoooxxxo...",
    "...ooxxxxxoo....",
    ".....ooooo......",
    "................",
])

MORE = (palette((112, 60, 150), (156, 100, 200), (212, 180, 240)), [
    "................",
    "................",
    "................",
    "................",
    ".oo.........oo..",
    "olxo.......olxo.",
    "oxxxo.....olxxo.",
    ".oxxxo...olxxo..",
    "..oxxxo.olxxo...",
    "...oxxxolxxo....",
    "....oxxxxxo.....",
    ".....oxxxo......",
    "......oxo.......",
    ".......o........",
    "................",
    "................",
])


# The larger sizes draw the shapes of the 16-px art again, in its units
# (s pixels each) and its colours: an outline, a fill and a light edge.

def outline_width(size):
    """The art's one-pixel outline, scaled."""
    return size / 16.0


def start_layers(size, outline, fill, light):
    s, w = size / 16.0, outline_width(size)
    # The back edge on a pixel boundary keeps it sharp.
    back = round(3 * s)
    body = inset([(back, 1 * s), (15 * s, 8 * s), (back, 15 * s)], w)
    (x0, y0), (x1, y1), _ = body
    # Light down the back edge, from the top corner to the middle.
    step = w * (y1 - y0) / (x1 - x0)
    edge = [(x0, y0), (x0 + w, y0 + step), (x0 + w, 8 * s), (x0, 8 * s)]
    return [(Polygon(body, w), outline), (Polygon(body), fill), (Polygon(edge), light)]


def stop_layers(size, outline, fill, light):
    # Whole pixels: the square's edges are sharp only on pixel boundaries.
    w = round(outline_width(size))
    lo = round(2 * size / 16.0)
    a, b = lo + w, size - lo - w          # the square inside its outline
    return [
        (Box(lo, lo, size - lo, size - lo, w), outline),
        # Light along the top and the left, mitred at the far corners.
        (Box(a, a, b, b), light),
        (Box(a + w, a + w, b, b), fill),
        (Polygon([(b - w, a + w), (b, a), (b, a + w)]), fill),
        (Polygon([(a, b), (a + w, b - w), (a + w, b)]), fill),
    ]


def reset_layers(size, outline, fill, light):
    s, w = size / 16.0, outline_width(size)
    cx, cy = 7.5 * s, 8.5 * s
    r0, r1 = 3.25 * s, 6.5 * s            # the ring with its outline
    tail = (SQRT3_2, 0.5)                 # four o'clock
    into_head = unit(0.3, -1.0)           # the ring runs on under the arrowhead
    # The arrowhead keeps its points, as in the art.
    head = [(8 * s, 0.0), (13 * s, 4.5 * s), (8 * s, 9 * s)]
    return [
        (Arc(cx, cy, r0, r1, tail, into_head, w), outline),
        (Polygon(head), outline),
        (Arc(cx, cy, r0 + w, r1 - w, tail, into_head), fill),
        (Polygon(inset(head, w)), fill),
        # Light on the outer half of the ring from nine o'clock to the head.
        (Arc(cx, cy, (r0 + r1) / 2, r1 - w, (-1.0, 0.0), (0.0, -1.0)), light),
    ]


def more_layers(size, outline, fill, light):
    s, w = size / 16.0, outline_width(size)
    tx, ty = 7.5 * s, 11.5 * s            # where the arms meet
    length = 5.5 * s * math.sqrt(2.0)
    half = 1.75 * s                       # an arm with its outline

    def chevron(h):
        # Two round-ended arms and the square that points their joint.
        d = h * math.sqrt(2.0)
        return [Segment(tx - 5.5 * s, ty - 5.5 * s, tx, ty, h),
                Segment(tx + 5.5 * s, ty - 5.5 * s, tx, ty, h),
                Polygon([(tx, ty - d), (tx + d, ty), (tx, ty + d), (tx - d, ty)])]

    # Light along the upper side of the right arm, up to the inner corner.
    h = half - w
    a, n = unit(1.0, -1.0), unit(-1.0, -1.0)

    def at(along, out):
        return (tx + a[0] * along + n[0] * out, ty + a[1] * along + n[1] * out)

    edge = [at(h, h), at(length, h), at(length, h - w), at(h, h - w)]
    return ([(shape, outline) for shape in chevron(half)] +
            [(shape, fill) for shape in chevron(h)] +
            [(Polygon(edge), light)])


BUTTON_SIZES = (20, 24, 32)


def button_icon(picture, layers):
    colours, art = picture
    assert len(art) == 16 and all(len(row) == 16 for row in art)
    return ico_file([image_4(colours, art, KEYS)] +
                    [image_32(render(size, layers(size, *colours[1:4]), 8))
                     for size in BUTTON_SIZES])


def icons():
    return {
        "Tempik.ico": application_icon(),
        "Start.ico": button_icon(START, start_layers),
        "Reset.ico": button_icon(RESET, reset_layers),
        "More.ico": button_icon(MORE, more_layers),
        "Stop.ico": button_icon(STOP, stop_layers),
    }


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "res"))
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in --out instead of writing")
    args = parser.parse_args(argv)
    stale = []
    for name, data in icons().items():
        path = os.path.join(args.out, name)
        if args.check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                stale.append(path)
        else:
            with open(path, "wb") as f:
                f.write(data)
    for path in stale:
        print(f"{path} differs from what tools/make_icons.py draws", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
