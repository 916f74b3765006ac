#!/usr/bin/env python3
"""Draw the pictures of Orbels Launch and write them into src/res/.

Everything is drawn procedurally with the Python standard library only:

    app.ico               application icon: glossy blue planet with a gold ring
    noicon.ico            red prohibition sign (program shortcut without icon)
    folder.ico            yellow folder with a shortcut arrow overlay
    loading.ico           ring of grey dots on a pale tile (an icon still to come)
    recorder.ico          green square with a white "R" (test helper program)
    toolbar.bmp           ten 16x16 toolbar buttons, 24-bit, grey mask colour
    toolbar_disabled.bmp  the same buttons, greyed and embossed
    toolbar[_disabled]_N.bmp  both strips again with N x N buttons, N = 20, 24, 28, 32
    banner.bmp            300x75 about-box banner, 8-bit palettised
    banner_150.bmp, banner_200.bmp  the banner at 450x113 and 600x150

Each icon holds every size from 16 to 64 pixels that a display scale of
100 % to 200 % asks for (app.ico also 256); each picture is drawn afresh at
each size, never enlarged from a smaller one.

Drawing model: every picture is painted on a supersampled canvas (SS x SS
sub-samples per output pixel).  Shapes are first rasterised into a Mask (a
set of sub-samples: circles, ellipses, polygons, round strokes ...), then a
Mask is filled with a paint (a flat colour or a gradient function).  The
canvas is averaged down at the end, which gives smooth anti-aliased edges.

Enlarged PNG previews go to /tmp/previews/ (or the folder given with
--previews DIR).  The output is deterministic: the same bytes every run.

Usage:  python3 tools/make_images.py [--previews DIR] [--no-previews]
"""

import math
import os
import shutil
import struct
import subprocess
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES_DIR = os.path.join(ROOT, 'src', 'res')
DEFAULT_PREVIEW_DIR = '/tmp/previews'

# Mask colour of the toolbar strips: shown as transparent by the program.
MASK_RGB = (192, 192, 192)


# ---------------------------------------------------------------------------
# Colours and paints
# ---------------------------------------------------------------------------

def rgb(value, alpha=1.0):
    """0xRRGGBB -> (r, g, b, a) with components in 0..1."""
    return (((value >> 16) & 255) / 255.0, ((value >> 8) & 255) / 255.0,
            (value & 255) / 255.0, alpha)


def with_alpha(colour, alpha):
    return (colour[0], colour[1], colour[2], alpha)


def mix(c0, c1, t):
    """Linear blend of two colours, t in 0..1."""
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def _ramp(stops, t):
    """Colour at position t of a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0.0)
    return stops[-1][1]


def linear(x0, y0, x1, y1, stops):
    """Linear gradient paint from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    inv = 1.0 / (dx * dx + dy * dy)

    def paint(x, y):
        return _ramp(stops, ((x - x0) * dx + (y - y0) * dy) * inv)
    return paint


def radial(cx, cy, r, stops, sy=1.0):
    """Radial gradient paint centred on (cx, cy); sy squashes it vertically."""
    inv = 1.0 / r

    def paint(x, y):
        dx, dy = x - cx, (y - cy) / sy
        return _ramp(stops, math.sqrt(dx * dx + dy * dy) * inv)
    return paint


# ---------------------------------------------------------------------------
# Geometry helpers
# ---------------------------------------------------------------------------

def arc(cx, cy, rx, ry, a0, a1, step=6.0):
    """Points along an elliptical arc, angles in degrees (0 = +x, 90 = +y)."""
    n = max(2, int(math.ceil(abs(a1 - a0) / step)) + 1)
    pts = []
    for k in range(n):
        a = math.radians(a0 + (a1 - a0) * k / (n - 1))
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


def star_points(cx, cy, r_out, r_in, points=5, rotation=-90.0):
    pts = []
    for k in range(points * 2):
        r = r_out if k % 2 == 0 else r_in
        a = math.radians(rotation + k * 180.0 / points)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def gear_points(cx, cy, r_out, r_root, teeth, tooth_frac=0.5, rotation=0.0):
    """Outline of a gear wheel with flat-topped teeth."""
    pts = []
    period = 360.0 / teeth
    top = period * tooth_frac * 0.5       # half angular width of a tooth top
    base = top + period * 0.12            # half width at the root
    for k in range(teeth):
        a = rotation + k * period
        for ang, r in ((a - base, r_root), (a - top, r_out),
                       (a + top, r_out), (a + base, r_root)):
            t = math.radians(ang)
            pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return pts


def rotate_points(pts, cx, cy, degrees):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)
            for x, y in pts]


def quad_bezier(p0, p1, p2, n=16):
    pts = []
    for k in range(n + 1):
        t = k / n
        u = 1 - t
        pts.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                    u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return pts


# ---------------------------------------------------------------------------
# Masks: shapes rasterised onto the sub-sample grid
# ---------------------------------------------------------------------------

class Mask:
    """A set of sub-samples.  Coordinates are in design units, k output
    pixels each (1 for a picture drawn at its design size); the centre of
    sub-sample (i, j) is at ((i + 0.5) / (ss * k), (j + 0.5) / (ss * k))."""

    def __init__(self, w, h, ss, k=1.0):
        self.w, self.h, self.ss, self.k = w, h, ss, k
        self.u = ss * k  # sub-samples per design unit
        self.W, self.H = w * ss, h * ss
        self.bits = bytearray(self.W * self.H)
        self._ones = b'\x01' * self.W
        self.bx0, self.by0, self.bx1, self.by1 = self.W, self.H, 0, 0

    # -- bookkeeping ------------------------------------------------------
    def copy(self):
        m = Mask(self.w, self.h, self.ss, self.k)
        m.bits[:] = self.bits
        m.bx0, m.by0, m.bx1, m.by1 = self.bx0, self.by0, self.bx1, self.by1
        return m

    def _rows(self, ya, yb):
        u = self.u
        j0 = max(0, int(math.ceil(ya * u - 0.5)))
        j1 = min(self.H, int(math.floor(yb * u - 0.5)) + 1)
        return range(j0, j1)

    def _span(self, j, xa, xb, cut):
        u = self.u
        i0 = max(0, int(math.ceil(xa * u - 0.5)))
        i1 = min(self.W, int(math.ceil(xb * u - 0.5)))
        if i1 <= i0:
            return
        base = j * self.W
        if cut:
            self.bits[base + i0:base + i1] = bytes(i1 - i0)
        else:
            self.bits[base + i0:base + i1] = self._ones[:i1 - i0]
            if i0 < self.bx0:
                self.bx0 = i0
            if i1 > self.bx1:
                self.bx1 = i1
            if j < self.by0:
                self.by0 = j
            if j + 1 > self.by1:
                self.by1 = j + 1

    def _y(self, j):
        return (j + 0.5) / self.u

    # -- primitives (cut=True removes the shape instead of adding it) -------
    def rect(self, x0, y0, x1, y1, cut=False):
        for j in self._rows(y0, y1):
            self._span(j, x0, x1, cut)
        return self

    def ellipse(self, cx, cy, rx, ry, angle=0.0, cut=False):
        """Filled ellipse, optionally rotated by angle degrees."""
        c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
        irx, iry = 1.0 / (rx * rx), 1.0 / (ry * ry)
        a = c * c * irx + s * s * iry
        bk = 2 * c * s * (irx - iry)
        ck = s * s * irx + c * c * iry
        reach = max(rx, ry)
        for j in self._rows(cy - reach, cy + reach):
            dy = self._y(j) - cy
            b = bk * dy
            cc = ck * dy * dy - 1.0
            disc = b * b - 4 * a * cc
            if disc < 0:
                continue
            sq = math.sqrt(disc)
            self._span(j, cx + (-b - sq) / (2 * a), cx + (-b + sq) / (2 * a), cut)
        return self

    def circle(self, cx, cy, r, cut=False):
        return self.ellipse(cx, cy, r, r, 0.0, cut)

    def polygon(self, pts, cut=False):
        """Filled polygon (even-odd rule)."""
        ys = [p[1] for p in pts]
        edges = []
        n = len(pts)
        for k in range(n):
            (x0, y0), (x1, y1) = pts[k], pts[(k + 1) % n]
            if y0 != y1:
                edges.append((x0, y0, x1, y1))
        for j in self._rows(min(ys), max(ys)):
            y = self._y(j)
            xs = []
            for x0, y0, x1, y1 in edges:
                if (y0 <= y < y1) or (y1 <= y < y0):
                    xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for k in range(0, len(xs) - 1, 2):
                self._span(j, xs[k], xs[k + 1], cut)
        return self

    def round_rect(self, x0, y0, x1, y1, r, cut=False):
        pts = []
        pts += arc(x1 - r, y0 + r, r, r, -90, 0)
        pts += arc(x1 - r, y1 - r, r, r, 0, 90)
        pts += arc(x0 + r, y1 - r, r, r, 90, 180)
        pts += arc(x0 + r, y0 + r, r, r, 180, 270)
        return self.polygon(pts, cut)

    def line(self, x0, y0, x1, y1, width, cut=False, caps=True):
        """Thick line; round caps unless caps=False (then square-cut ends)."""
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1e-9
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                      (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], cut)
        if caps:
            self.circle(x0, y0, width / 2, cut)
            self.circle(x1, y1, width / 2, cut)
        return self

    def polyline(self, pts, width, cut=False):
        """Stroke through the points with round joins and caps."""
        for p, q in zip(pts, pts[1:]):
            self.line(p[0], p[1], q[0], q[1], width, cut, caps=False)
        for p in pts:
            self.circle(p[0], p[1], width / 2, cut)
        return self

    # -- set operations ---------------------------------------------------
    def _as_int(self):
        return int.from_bytes(self.bits, 'little')

    def _from_int(self, value):
        self.bits[:] = value.to_bytes(len(self.bits), 'little')

    def union(self, other):
        self._from_int(self._as_int() | other._as_int())
        self.bx0, self.by0 = min(self.bx0, other.bx0), min(self.by0, other.by0)
        self.bx1, self.by1 = max(self.bx1, other.bx1), max(self.by1, other.by1)
        return self

    def intersect(self, other):
        self._from_int(self._as_int() & other._as_int())
        self.bx0, self.by0 = max(self.bx0, other.bx0), max(self.by0, other.by0)
        self.bx1, self.by1 = min(self.bx1, other.bx1), min(self.by1, other.by1)
        return self

    def subtract(self, other):
        ones = int.from_bytes(b'\x01' * len(self.bits), 'little')
        self._from_int(self._as_int() & (other._as_int() ^ ones))
        return self

    def shifted(self, dx, dy):
        """Copy moved by (dx, dy) design units (rounded to sub-samples)."""
        sx, sy = int(round(dx * self.u)), int(round(dy * self.u))
        m = Mask(self.w, self.h, self.ss, self.k)
        W = self.W
        for j in range(self.by0, self.by1):
            tj = j + sy
            if not 0 <= tj < self.H:
                continue
            a0, a1 = max(self.bx0, -sx), min(self.bx1, W - sx)
            if a1 > a0:
                m.bits[tj * W + a0 + sx:tj * W + a1 + sx] = self.bits[j * W + a0:j * W + a1]
        m.bx0, m.bx1 = max(0, self.bx0 + sx), min(W, self.bx1 + sx)
        m.by0, m.by1 = max(0, self.by0 + sy), min(self.H, self.by1 + sy)
        return m


# ---------------------------------------------------------------------------
# Canvas and output images
# ---------------------------------------------------------------------------

class Image:
    """8-bit RGBA picture at output resolution (straight alpha)."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def set(self, x, y, value):
        self.px[y * self.w + x] = value

    def paste(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                if 0 <= ox + x < self.w and 0 <= oy + y < self.h:
                    self.set(ox + x, oy + y, other.get(x, y))

    def over(self, background):
        """Composite onto an opaque colour (r, g, b) and return the result."""
        out = Image(self.w, self.h)
        br, bg, bb = background
        for k, (r, g, b, a) in enumerate(self.px):
            t = a / 255.0
            out.px[k] = (int(round(r * t + br * (1 - t))), int(round(g * t + bg * (1 - t))),
                         int(round(b * t + bb * (1 - t))), 255)
        return out

    def scaled(self, factor):
        """Nearest-neighbour enlargement."""
        out = Image(self.w * factor, self.h * factor)
        for y in range(out.h):
            for x in range(out.w):
                out.px[y * out.w + x] = self.px[(y // factor) * self.w + x // factor]
        return out


class Canvas:
    """Supersampled RGBA drawing surface (premultiplied alpha floats), w x h
    output pixels.  Drawing coordinates are design units of k pixels each, so
    one drawing serves every size: k = size / design size."""

    def __init__(self, w, h, ss=8, k=1.0):
        self.w, self.h, self.ss, self.k = w, h, ss, k
        self.W, self.H = w * ss, h * ss
        n = self.W * self.H
        self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n

    def mask(self):
        return Mask(self.w, self.h, self.ss, self.k)

    def fill(self, mask, paint, opacity=1.0):
        """Composite paint over the canvas wherever mask is set.  paint is a
        colour tuple or a function (x, y) -> colour, x and y in pixels."""
        R, G, B, A = self.r, self.g, self.b, self.a
        bits, W, u = mask.bits, self.W, self.ss * self.k
        flat = not callable(paint)
        if flat:
            pa = paint[3] * opacity
            pr, pg, pb, inv = paint[0] * pa, paint[1] * pa, paint[2] * pa, 1.0 - pa
        for j in range(mask.by0, mask.by1):
            base = j * W
            end = base + mask.bx1
            y = (j + 0.5) / u
            i = bits.find(1, base + mask.bx0, end)
            while i != -1:
                e = bits.find(0, i, end)
                if e == -1:
                    e = end
                for k in range(i, e):
                    if not flat:
                        c = paint((k - base + 0.5) / u, y)
                        pa = c[3] * opacity
                        pr, pg, pb, inv = c[0] * pa, c[1] * pa, c[2] * pa, 1.0 - pa
                    R[k] = pr + R[k] * inv
                    G[k] = pg + G[k] * inv
                    B[k] = pb + B[k] * inv
                    A[k] = pa + A[k] * inv
                i = bits.find(1, e, end) if e < end else -1

    def image(self):
        """Average the sub-samples down to an 8-bit RGBA Image."""
        out = Image(self.w, self.h)
        ss, W = self.ss, self.W
        n = float(ss * ss)
        for y in range(self.h):
            for x in range(self.w):
                sr = sg = sb = sa = 0.0
                for j in range(y * ss, y * ss + ss):
                    k0 = j * W + x * ss
                    sr += sum(self.r[k0:k0 + ss])
                    sg += sum(self.g[k0:k0 + ss])
                    sb += sum(self.b[k0:k0 + ss])
                    sa += sum(self.a[k0:k0 + ss])
                a = sa / n
                if a <= 1e-6:
                    out.px[y * self.w + x] = (0, 0, 0, 0)
                    continue
                out.px[y * self.w + x] = (
                    min(255, int(round(sr / sa * 255))), min(255, int(round(sg / sa * 255))),
                    min(255, int(round(sb / sa * 255))), min(255, int(round(a * 255))))
        return out


# ---------------------------------------------------------------------------
# A small bold stroke font
# ---------------------------------------------------------------------------
# Glyphs are centre-lines of strokes in font units: baseline at y = 0, y grows
# upwards, x-height 7, cap height 10.  Strokes are drawn with round ends, so
# the letters look soft and bold.  HW is half the stroke width: centre lines
# sit HW inside the letter's outer edges.

FONT_STROKE = 1.7
HW = FONT_STROKE / 2
XH = 7.0          # x-height
CAP = 10.0        # cap height / ascender


def _fa(cx, cy, rx, ry, a0, a1):
    """Arc in font space (angles counter-clockwise, y up)."""
    return arc(cx, cy, rx, ry, a0, a1, step=5.0)


def _build_glyphs():
    g = {}
    top, bot = XH - HW, HW                       # x-height centre lines
    mid = XH / 2
    bowl_ry = (XH - 2 * HW) / 2                   # vertical radius of a bowl
    g['O'] = [_fa(3.9, CAP / 2, 3.9 - HW, CAP / 2 - HW, 0, 360)]
    g['L'] = [[(HW, CAP - HW), (HW, HW), (5.6, HW)]]
    g['l'] = [[(HW, CAP - HW), (HW, HW)]]
    g['b'] = [[(HW, CAP - HW), (HW, HW)],
              _fa(HW + 2.7, mid, 2.7, bowl_ry, 0, 360)]
    g['a'] = [_fa(3.2, mid, 3.2 - HW, bowl_ry, 0, 360),
              [(6.4 - HW, top), (6.4 - HW, HW)]]
    g['e'] = [[(HW, mid), (6.3 - HW, mid)] +
              _fa(3.15, mid, 3.15 - HW, bowl_ry, 0, 318)]
    g['c'] = [_fa(3.2, mid, 3.2 - HW, bowl_ry, 45, 315)]
    arch_cy = 3.9
    arch_ry = top - arch_cy
    g['n'] = [[(HW, bot), (HW, top)],
              [(HW, arch_cy)] + _fa(3.2, arch_cy, 3.2 - HW, arch_ry, 180, 0) +
              [(6.4 - HW, arch_cy), (6.4 - HW, bot)]]
    g['h'] = [[(HW, bot), (HW, CAP - HW)], g['n'][1]]
    g['u'] = [[(HW, top), (HW, XH - arch_cy)] +
              _fa(3.2, XH - arch_cy, 3.2 - HW, arch_ry, 180, 360) +
              [(6.4 - HW, XH - arch_cy), (6.4 - HW, top)],
              [(6.4 - HW, top), (6.4 - HW, bot)]]
    g['r'] = [[(HW, bot), (HW, top)],
              [(HW, arch_cy)] + _fa(HW + 2.4, arch_cy, 2.4, arch_ry, 180, 62)]
    # "s": a smaller upper bowl sitting on a larger lower one.
    s_top, s_bot = XH - HW + 0.15, HW - 0.15
    s_mid = 3.75
    ury, lry = (s_top - s_mid) / 2, (s_mid - s_bot) / 2
    g['s'] = [_fa(2.95, s_mid + ury, 2.95 - HW - 0.1, ury, 18, 270) +
              _fa(2.95, s_mid - lry, 2.95 - HW, lry, 90, -162)]
    g['T'] = [[(HW, CAP - HW), (6.6 - HW, CAP - HW)], [(3.3, CAP - HW), (3.3, HW)]]
    g['2'] = [_fa(3.1, 6.9, 3.1 - HW, CAP - HW - 6.9, 165, -38) +
              [(HW, HW), (6.2 - HW, HW)]]
    g['.'] = [[(HW + 0.2, XH * 0.5 - 0.15), (HW + 0.2, XH * 0.5 + 0.15)]]
    g[' '] = []
    return g


GLYPHS = _build_glyphs()
ADVANCE_EXTRA = {'r': -0.5, ' ': 2.6, 'L': -0.3}
LETTER_GAP = 1.05


def glyph_advance(ch):
    xs = [x for path in GLYPHS[ch] for x, _ in path]
    right = (max(xs) + HW) if xs else 0.0
    return right + LETTER_GAP + ADVANCE_EXTRA.get(ch, 0.0)


def text_width(text, scale):
    return (sum(glyph_advance(ch) for ch in text) - LETTER_GAP) * scale


def text_mask(mask, text, x, baseline, scale, grow=0.0):
    """Rasterise text into mask; grow widens every stroke by that many pixels
    on each side (used for outlines and shadows)."""
    for ch in text:
        for path in GLYPHS[ch]:
            pts = [(x + px * scale, baseline - py * scale) for px, py in path]
            mask.polyline(pts, FONT_STROKE * scale + 2 * grow)
        x += glyph_advance(ch) * scale
    return mask


# ---------------------------------------------------------------------------
# Reusable picture parts
# ---------------------------------------------------------------------------

def draw_orb(cv, cx, cy, r, base, light, dark, outline=None, ow=1.0, shine=True):
    """Glossy sphere: dark rim, radial body lit from the upper left, and a
    soft white highlight."""
    if outline is not None:
        cv.fill(cv.mask().circle(cx, cy, r), outline)
        r_in = r - ow
    else:
        r_in = r
    body = radial(cx - r * 0.38, cy - r * 0.42, r * 1.45,
                  [(0.0, light), (0.38, base), (0.85, dark), (1.0, dark)])
    cv.fill(cv.mask().circle(cx, cy, r_in), body)
    if shine:
        hx, hy = cx - r * 0.30, cy - r * 0.42
        hl = radial(hx, hy, r * 0.42, [(0.0, rgb(0xFFFFFF, 0.95)), (0.55, rgb(0xFFFFFF, 0.55)),
                                       (1.0, rgb(0xFFFFFF, 0.0))], sy=0.72)
        cv.fill(cv.mask().ellipse(hx, hy, r * 0.42, r * 0.30), hl)


def draw_ringed_planet(cv, cx, cy, r, ring_rx, ring_ry, ring_w, tilt, ow,
                       body=(0x3A9BF0, 0xB8F0FF, 0x123A9C), outline=0x0B1E58):
    """Planet with a tilted gold ring: the far half of the ring disappears
    behind the ball, the near half passes in front of it."""
    def ring(grow):
        m = cv.mask().ellipse(cx, cy, ring_rx + grow, ring_ry + grow, tilt)
        inner_rx = ring_rx - ring_w - grow
        inner_ry = ring_ry - ring_w * ring_ry / ring_rx - grow
        if inner_rx > 0 and inner_ry > 0:
            m.ellipse(cx, cy, inner_rx, inner_ry, tilt, cut=True)
        return m
    ring_paint = linear(cx, cy - ring_ry * 2, cx, cy + ring_ry * 2,
                        [(0.0, rgb(0xFFF2B0)), (0.5, rgb(0xFFC733)), (1.0, rgb(0xD98A0B))])
    ring_dark = rgb(0x6B3A00)
    outer, inner = ring(ow), ring(0)
    # Near half: the part of the ring below the ring's tilted major axis.
    big = ring_rx * 3
    near_half = cv.mask().polygon(rotate_points(
        [(cx - big, cy), (cx + big, cy), (cx + big, cy + big), (cx - big, cy + big)],
        cx, cy, tilt))
    cv.fill(outer, ring_dark)
    cv.fill(inner, ring_paint)
    draw_orb(cv, cx, cy, r, rgb(body[0]), rgb(body[1]), rgb(body[2]),
             outline=rgb(outline), ow=ow)
    cv.fill(outer.copy().intersect(near_half), ring_dark)
    cv.fill(inner.copy().intersect(near_half), ring_paint)


def folder_parts(cv, x0, y0, x1, y1, lw, tab_w=None, tab_h=None):
    """Yellow folder in the box (x0, y0)-(x1, y1) with outline width lw."""
    w, h = x1 - x0, y1 - y0
    tab_w = tab_w if tab_w is not None else w * 0.42
    tab_h = tab_h if tab_h is not None else max(2.0, h * 0.16)
    front_top = y0 + tab_h + h * 0.20
    edge = rgb(0x7A5206)

    def back(i):
        return [(x0 + i, y0 + i), (x0 + tab_w - i * 0.4, y0 + i),
                (x0 + tab_w + tab_h - i * 0.4, y0 + tab_h + i),
                (x1 - i, y0 + tab_h + i), (x1 - i, y1 - i), (x0 + i, y1 - i)]
    cv.fill(cv.mask().polygon(back(0)), edge)
    cv.fill(cv.mask().polygon(back(lw)),
            linear(0, y0, 0, y1, [(0, rgb(0xF4C24A)), (1, rgb(0xD99A1E))]))
    # Front flap, a little lighter than the back.
    cv.fill(cv.mask().rect(x0, front_top, x1, y1), edge)
    cv.fill(cv.mask().rect(x0 + lw, front_top + lw, x1 - lw, y1 - lw),
            linear(0, front_top, 0, y1, [(0, rgb(0xFFE890)), (0.45, rgb(0xFFD454)),
                                         (1, rgb(0xF0B431))]))


def draw_star(cv, cx, cy, r, lw):
    """Yellow five-pointed star with an orange-brown rim (means "new")."""
    cv.fill(cv.mask().polygon(star_points(cx, cy, r + lw * 1.2, (r + lw * 1.2) * 0.48)),
            rgb(0x9A5A00))
    cv.fill(cv.mask().polygon(star_points(cx, cy, r, r * 0.46)),
            radial(cx - r * 0.2, cy - r * 0.3, r * 1.2,
                   [(0, rgb(0xFFFFC8)), (0.5, rgb(0xFFE23A)), (1, rgb(0xF0A800))]))


# Arrow of the small shortcut overlay, drawn pixel by pixel ('#' = arrow,
# '+' = half-tone pixel that rounds the bend).
SMALL_SHORTCUT_ARROW = [
    '...#..',
    '...##.',
    '.+####',
    '.#.##.',
    '.#.#..',
    '.#....',
]


def draw_shortcut_overlay(cv, x0, y0, size, lw):
    """Small white square with a curved arrow rising to the upper right."""
    x1, y1 = x0 + size, y0 + size
    cv.fill(cv.mask().rect(x0, y0, x1, y1), rgb(0x101010))
    cv.fill(cv.mask().rect(x0 + lw, y0 + lw, x1 - lw, y1 - lw), rgb(0xFFFFFF))
    blue = rgb(0x0B3FAF)
    if size < 10:
        for j, row in enumerate(SMALL_SHORTCUT_ARROW):
            for i, ch in enumerate(row):
                if ch != '.':
                    px, py = x0 + lw + i, y0 + lw + j
                    cv.fill(cv.mask().rect(px, py, px + 1, py + 1),
                            blue if ch == '#' else mix(blue, rgb(0xFFFFFF), 0.45))
        return
    s = size
    # Curve from the lower left, bending up and to the right.
    p0 = (x0 + s * 0.30, y0 + s * 0.86)
    p1 = (x0 + s * 0.28, y0 + s * 0.42)
    p2 = (x0 + s * 0.60, y0 + s * 0.42)
    shaft = quad_bezier(p0, p1, p2, 12)
    head = [(x0 + s * 0.88, y0 + s * 0.42),                 # tip, pointing right
            (x0 + s * 0.54, y0 + s * 0.12),
            (x0 + s * 0.54, y0 + s * 0.72)]
    cv.fill(cv.mask().polyline(shaft, s * 0.21), blue)
    cv.fill(cv.mask().polygon(head), blue)


def stroke_glyph(cv, paths, width, paint):
    m = cv.mask()
    for p in paths:
        m.polyline(p, width)
    cv.fill(m, paint)


# ---------------------------------------------------------------------------
# Icons: two drawings each, one designed on a 16-pixel grid for the small
# sizes and one on a 32-pixel grid, each drawn at every size it serves
# ---------------------------------------------------------------------------

# Every size the program asks for: the small and large icon sizes of 100 %,
# 125 %, 150 %, 175 % and 200 % display scaling.
ICON_SIZES = [64, 56, 48, 40, 32, 28, 24, 20, 16]
# The program icon also has the size Explorer shows for its largest views.
APP_ICON_SIZES = [256] + ICON_SIZES


def icon_canvas(size):
    """The canvas for one icon size, and the grid its drawing is designed on:
    the 16-pixel drawing up to 24 pixels, the 32-pixel drawing from 28 up."""
    base = 32 if size >= 28 else 16
    return Canvas(size, size, 8 if size <= 64 else 4, size / float(base)), base


def icon_app(size):
    cv, base = icon_canvas(size)
    if base == 32:
        # Small orange moon behind, at the upper right.
        draw_orb(cv, 26.2, 6.2, 4.6, rgb(0xFF8A2A), rgb(0xFFE0A0), rgb(0xB4420A),
                 outline=rgb(0x5A1E00), ow=1.0)
        draw_ringed_planet(cv, 15.0, 17.5, 10.6, 15.0, 5.2, 2.6, -24, 1.0)
    else:
        draw_orb(cv, 13.2, 2.9, 2.5, rgb(0xFF8A2A), rgb(0xFFE0A0), rgb(0xB4420A),
                 outline=rgb(0x5A1E00), ow=0.8, shine=False)
        draw_ringed_planet(cv, 7.6, 8.9, 5.3, 7.6, 2.7, 1.45, -24, 0.8)
    return cv.image()


def icon_noicon(size):
    cv, base = icon_canvas(size)
    c = base / 2.0
    if base == 32:
        r_out, r_in, bar, ow = 15.4, 10.6, 4.6, 0.9
    else:
        r_out, r_in, bar, ow = 7.6, 4.9, 2.5, 0.7
    red = radial(c - r_out * 0.3, c - r_out * 0.35, r_out * 1.5,
                 [(0, rgb(0xFF6A5A)), (0.45, rgb(0xE11B1B)), (1, rgb(0x9E0000))])
    cv.fill(cv.mask().circle(c, c, r_out), rgb(0x6A0000))
    cv.fill(cv.mask().circle(c, c, r_out - ow), red)
    cv.fill(cv.mask().circle(c, c, r_in + ow * 0.6), rgb(0x8A0000))
    cv.fill(cv.mask().circle(c, c, r_in),
            radial(c, c, r_in, [(0, rgb(0xFFFFFF)), (0.75, rgb(0xF8F4F4)), (1, rgb(0xE2D4D4))]))
    # Diagonal bar from upper left to lower right, clipped to the disc.
    d = r_in * 1.2
    clip = cv.mask().circle(c, c, r_in + 0.3)
    cv.fill(cv.mask().line(c - d, c - d, c + d, c + d, bar + ow * 1.2, caps=False)
            .intersect(clip), rgb(0x8A0000))
    cv.fill(cv.mask().line(c - d, c - d, c + d, c + d, bar, caps=False).intersect(clip), red)
    return cv.image()


def icon_folder(size):
    cv, base = icon_canvas(size)
    if base == 32:
        folder_parts(cv, 1.0, 4.0, 31.0, 28.0, 1.0)
        draw_shortcut_overlay(cv, 0.0, 19.0, 13.0, 1.0)
    else:
        folder_parts(cv, 0.0, 2.0, 16.0, 14.0, 1.0, tab_w=6.0, tab_h=2.0)
        draw_shortcut_overlay(cv, 0.0, 8.0, 8.0, 1.0)
    return cv.image()


def icon_loading(size):
    """A neutral placeholder: a pale tile with a ring of dots fading round it,
    the way a picture still on its way is shown."""
    cv, base = icon_canvas(size)
    k = base / 32.0
    e = 2.0 * k
    cv.fill(cv.mask().round_rect(e, e, base - e, base - e, 6 * k), rgb(0xB8C2CE))
    cv.fill(cv.mask().round_rect(e + 0.8 * k, e + 0.8 * k, base - e - 0.8 * k, base - e - 0.8 * k, 5.2 * k),
            linear(0, 0, 0, base, [(0, rgb(0xF7F9FB)), (1, rgb(0xE3E8EE))]))
    c = base / 2.0
    dots = 8 if base == 32 else 6
    ring = 8.0 * k if base == 32 else 8.0 * k * 0.95
    dot = 2.2 * k if base == 32 else 2.9 * k
    for i in range(dots):
        a = math.radians(-90 + i * 360.0 / dots)
        shade = 0.25 + 0.75 * (dots - i) / dots
        cv.fill(cv.mask().circle(c + ring * math.cos(a), c + ring * math.sin(a), dot),
                rgb(0x4A6A8C, shade))
    return cv.image()


def icon_recorder(size):
    cv, base = icon_canvas(size)
    k = base / 32.0
    e = 1.0 if base == 32 else 0.5
    cv.fill(cv.mask().round_rect(e, e, base - e, base - e, 6 * k), rgb(0x0B4A17))
    cv.fill(cv.mask().round_rect(e + 1, e + 1, base - e - 1, base - e - 1, 6 * k - 1),
            linear(0, 0, 0, base, [(0, rgb(0x7BE08A)), (0.5, rgb(0x2DB04A)),
                                   (1, rgb(0x137A2C))]))
    # Bold white "R".
    w = 4.2 if base == 32 else 2.2
    x0, y0, y1 = 11.0 * k, 8.0 * k, 24.0 * k
    if base == 16:
        x0, y0, y1 = 5.5, 4.0, 12.0
    bowl_h = (y1 - y0) * 0.52
    bowl_r = bowl_h / 2
    bx = x0 + (y1 - y0) * 0.28
    r_paths = [[(x0, y1), (x0, y0), (bx, y0)] +
               arc(bx, y0 + bowl_r, bowl_r, bowl_r, -90, 90) + [(x0, y0 + bowl_h)],
               [(bx - 0.5 * k, y0 + bowl_h), (x0 + (y1 - y0) * 0.62, y1)]]
    stroke_glyph(cv, r_paths, w + (1.6 if base == 32 else 1.0), rgb(0x0B4A17, 0.55))
    stroke_glyph(cv, r_paths, w, rgb(0xFFFFFF))
    return cv.image()


# ---------------------------------------------------------------------------
# Toolbar buttons (designed on a 16-pixel grid, drawn at every strip size)
# ---------------------------------------------------------------------------

# The strip sizes: 16 pixels at 100 % display scaling, 20, 24, 28 and 32 at
# 125 %, 150 %, 175 % and 200 %.
TOOLBAR_SIZES = [16, 20, 24, 28, 32]

def btn_new_program(cv):
    cv.fill(cv.mask().rect(0, 4, 13, 15), rgb(0x1A2444))
    cv.fill(cv.mask().rect(1, 5, 12, 8), linear(1, 0, 12, 0, [(0, rgb(0x1F5FD8)), (1, rgb(0x6BA8F5))]))
    cv.fill(cv.mask().rect(1, 8, 12, 14), rgb(0xFFFFFF))
    cv.fill(cv.mask().rect(2, 9, 5, 12), rgb(0x3C8C3C))
    cv.fill(cv.mask().rect(6, 9, 11, 10), rgb(0x8C96AA))
    cv.fill(cv.mask().rect(6, 11, 10, 12), rgb(0x8C96AA))
    draw_star(cv, 12.0, 4.2, 3.5, 0.9)


def btn_new_folder(cv):
    folder_parts(cv, 0.0, 4.0, 14.0, 15.0, 1.0, tab_w=5.0, tab_h=2.0)
    draw_star(cv, 12.0, 4.2, 3.5, 0.9)


def btn_delete(cv):
    m_out = cv.mask().line(3.5, 3.5, 12.5, 12.5, 4.4).line(12.5, 3.5, 3.5, 12.5, 4.4)
    m_in = cv.mask().line(3.5, 3.5, 12.5, 12.5, 2.6).line(12.5, 3.5, 3.5, 12.5, 2.6)
    cv.fill(m_out, rgb(0x7A0000))
    cv.fill(m_in, linear(0, 2, 0, 14, [(0, rgb(0xFF6B5B)), (0.5, rgb(0xE8201A)), (1, rgb(0xB00000))]))


def btn_properties(cv):
    # A sheet with a folded corner and a list of checked entries.
    sheet = [(2, 1), (10, 1), (14, 5), (14, 15), (2, 15)]
    cv.fill(cv.mask().polygon(sheet), rgb(0x39404F))
    cv.fill(cv.mask().polygon([(3, 2), (9.6, 2), (13, 5.4), (13, 14), (3, 14)]), rgb(0xFFFFFF))
    cv.fill(cv.mask().polygon([(9, 1.6), (9, 6), (13.4, 6)]), rgb(0x39404F))
    cv.fill(cv.mask().polygon([(10, 2.6), (10, 5), (12.4, 5)]), rgb(0xD6DCE6))
    for y in (4, 7.5, 11):
        cv.fill(cv.mask().rect(4, y, 6.5, y + 2.5), rgb(0x1F4FB8))
        cv.fill(cv.mask().rect(4.6, y + 0.6, 5.9, y + 1.9), rgb(0xFFFFFF))
    for y, x1 in ((4.7, 8.5), (8.2, 11.8), (11.7, 10.8)):
        cv.fill(cv.mask().rect(7.5, y, x1, y + 1.2), rgb(0x6A7284))
    # ticks in the boxes
    tick = rgb(0x0E8A2A)
    cv.fill(cv.mask().polyline([(4.5, 5.0), (5.2, 6.0), (6.6, 3.6)], 1.0), tick)
    cv.fill(cv.mask().polyline([(4.5, 12.0), (5.2, 13.0), (6.6, 10.6)], 1.0), tick)


def btn_launch(cv):
    tri_out = [(3.0, 1.5), (14.6, 8.0), (3.0, 14.5)]
    tri_in = [(4.0, 3.2), (12.6, 8.0), (4.0, 12.8)]
    cv.fill(cv.mask().polygon(tri_out), rgb(0x0B4F14))
    cv.fill(cv.mask().polygon(tri_in),
            linear(0, 2, 0, 14, [(0, rgb(0x9BF08A)), (0.5, rgb(0x2EC22E)), (1, rgb(0x138A1C))]))
    cv.fill(cv.mask().polygon([(4.8, 4.4), (9.2, 6.8), (4.8, 7.6)]), rgb(0xFFFFFF, 0.45))


def btn_game1(cv):
    draw_orb(cv, 8.0, 8.0, 7.0, rgb(0x2F86EE), rgb(0xBDEBFF), rgb(0x0E2F8E),
             outline=rgb(0x0A1C55), ow=1.0)


def btn_game2(cv):
    draw_orb(cv, 11.0, 5.0, 4.5, rgb(0xFF7A1E), rgb(0xFFE2A8), rgb(0xB03A06),
             outline=rgb(0x561A00), ow=1.0)
    draw_orb(cv, 6.0, 10.0, 5.7, rgb(0x2F86EE), rgb(0xBDEBFF), rgb(0x0E2F8E),
             outline=rgb(0x0A1C55), ow=1.0)


def btn_options(cv):
    gear_out = gear_points(8, 8, 7.6, 5.7, 8, 0.48, rotation=22.5)
    gear_in = gear_points(8, 8, 6.6, 4.8, 8, 0.40, rotation=22.5)
    cv.fill(cv.mask().polygon(gear_out), rgb(0x2A2F3A))
    cv.fill(cv.mask().polygon(gear_in),
            radial(6.0, 5.5, 9.0, [(0, rgb(0xF2F4F8)), (0.5, rgb(0xA9B0BE)), (1, rgb(0x5C6474))]))
    cv.fill(cv.mask().circle(8, 8, 3.1), rgb(0x2A2F3A))
    # Punch the hole through (the button face shows through the axle hole).
    hole = cv.mask().circle(8, 8, 2.1)
    for k in range(hole.by0, hole.by1):
        base = k * cv.W
        for i in range(hole.bx0, hole.bx1):
            if hole.bits[base + i]:
                cv.r[base + i] = cv.g[base + i] = cv.b[base + i] = cv.a[base + i] = 0.0


def btn_help(cv):
    # Closed blue book seen from the front, pages showing on the right.
    cv.fill(cv.mask().rect(3, 1, 15, 15), rgb(0x0A1F5C))
    cv.fill(cv.mask().rect(12, 2, 14, 14), rgb(0xF4F1E6))
    cv.fill(cv.mask().rect(12, 4, 14, 5), rgb(0xC9C2AE))
    cv.fill(cv.mask().rect(12, 8, 14, 9), rgb(0xC9C2AE))
    cv.fill(cv.mask().rect(12, 11, 14, 12), rgb(0xC9C2AE))
    cv.fill(cv.mask().rect(1, 1, 12, 15), rgb(0x0A1F5C))
    cv.fill(cv.mask().rect(2, 2, 11, 14),
            linear(2, 0, 11, 0, [(0, rgb(0x1D4FC4)), (0.3, rgb(0x3C7BEA)), (1, rgb(0x2257CF))]))
    cv.fill(cv.mask().rect(3, 2, 4, 14), rgb(0x15389A))
    # Question mark in yellow.
    q = arc(7.5, 5.6, 2.1, 2.0, 190, 360) + arc(7.5, 5.6, 2.1, 2.0, 0, 70) + [(7.4, 8.2), (7.4, 9.2)]
    cv.fill(cv.mask().polyline(q, 1.8), rgb(0xFFE14A))
    cv.fill(cv.mask().circle(7.4, 11.8, 1.1), rgb(0xFFE14A))


def btn_about(cv):
    draw_orb(cv, 8.0, 8.0, 7.5, rgb(0x2A6FE0), rgb(0x9FD0FF), rgb(0x0C2E8C),
             outline=rgb(0x0A1C55), ow=1.0, shine=False)
    cv.fill(cv.mask().circle(8.0, 4.3, 1.35), rgb(0xFFFFFF))
    cv.fill(cv.mask().polygon([(6.0, 6.6), (9.0, 6.6), (9.0, 11.6), (10.2, 11.6), (10.2, 12.8),
                               (5.8, 12.8), (5.8, 11.6), (7.0, 11.6), (7.0, 7.8), (6.0, 7.8)]),
            rgb(0xFFFFFF))


TOOLBAR_BUTTONS = [btn_new_program, btn_new_folder, btn_delete, btn_properties, btn_launch,
                   btn_game1, btn_game2, btn_options, btn_help, btn_about]

# Pixels with less coverage than this become the transparent mask colour.
TOOLBAR_ALPHA_CUT = 60


def _avoid_mask_colour(c):
    return (191, 191, 191) if c == MASK_RGB else c


def toolbar_rgba(size=16):
    """All ten buttons side by side as one RGBA strip of size x size buttons."""
    strip = Image(size * len(TOOLBAR_BUTTONS), size)
    for n, draw in enumerate(TOOLBAR_BUTTONS):
        cv = Canvas(size, size, 8, size / 16.0)
        draw(cv)
        strip.paste(cv.image(), size * n, 0)
    return strip


def toolbar_normal(strip):
    """Flatten onto the mask colour; faint edge pixels become mask colour."""
    out = []
    for r, g, b, a in strip.px:
        if a < TOOLBAR_ALPHA_CUT:
            out.append(MASK_RGB)
            continue
        t = a / 255.0
        c = tuple(int(round(v * t + m * (1 - t))) for v, m in zip((r, g, b), MASK_RGB))
        out.append(_avoid_mask_colour(c))
    return out


def toolbar_disabled(strip):
    """Greyed, low-contrast pictures with a white engraved shadow."""
    w, h = strip.w, strip.h
    size = h
    shape = [a >= TOOLBAR_ALPHA_CUT for (_, _, _, a) in strip.px]
    out = [MASK_RGB] * (w * h)
    # White highlight one pixel down and right of the shape (engraved look).
    for y in range(h):
        for x in range(w):
            if shape[y * w + x] and x % size != size - 1 and y < h - 1:
                out[(y + 1) * w + x + 1] = (255, 255, 255)
    for k, (r, g, b, a) in enumerate(strip.px):
        if not shape[k]:
            continue
        lum = 0.299 * r + 0.587 * g + 0.114 * b
        v = 100 + lum * 0.50
        t = a / 255.0
        under = out[k][0]
        g_ = int(round(v * t + under * (1 - t)))
        out[k] = _avoid_mask_colour((g_, g_, g_))
    return out


# ---------------------------------------------------------------------------
# Banner (300x75)
# ---------------------------------------------------------------------------

class Rng:
    """Tiny deterministic random generator (linear congruential)."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 4294967296.0


# The about box's picture: 300 x 75 pixels at 100 % display scaling, and
# drawn again for 150 % and 200 %.
BANNER_SCALES = [100, 150, 200]


def scaled(value, percent):
    """value * percent / 100, halves rounded up, as the program scales."""
    return (value * percent + 50) // 100


def banner_rgba(percent=100):
    W, H = 300, 75
    cv = Canvas(scaled(W, percent), scaled(H, percent), 4, percent / 100.0)
    full = cv.mask().rect(0, 0, W + 1, H + 1)
    # Night sky: deep blue at the top to violet at the bottom, brighter on the right.
    cv.fill(full, linear(0, 0, 60, H, [(0.0, rgb(0x070B2E)), (0.45, rgb(0x17195A)),
                                       (1.0, rgb(0x4A2283))]))
    cv.fill(full, radial(262, 38, 150, [(0, rgb(0x5A4BD0, 0.42)), (1, rgb(0x5A4BD0, 0.0))], sy=0.6))
    cv.fill(full, radial(30, 78, 110, [(0, rgb(0xC0408F, 0.30)), (1, rgb(0xC0408F, 0.0))], sy=0.45))

    # Stars.
    rng = Rng(20240611)
    for _ in range(70):
        x, y = rng.next() * W, rng.next() * H
        bright = 0.25 + 0.75 * rng.next() ** 2
        tint = mix(rgb(0xFFFFFF), rgb(0xBFD4FF) if rng.next() < 0.5 else rgb(0xFFE9C0), 0.6)
        cv.fill(cv.mask().circle(x, y, 0.55 + 0.35 * bright), with_alpha(tint, bright))
    for x, y, s in ((120, 9, 3.5), (196, 66, 3.0), (290, 66, 2.6), (9, 12, 3.0), (233, 7, 2.4)):
        glow = radial(x, y, s * 1.6, [(0, rgb(0xFFFFFF, 0.5)), (1, rgb(0xFFFFFF, 0))])
        cv.fill(cv.mask().circle(x, y, s * 1.6), glow)
        cv.fill(cv.mask().line(x - s, y, x + s, y, 0.55), rgb(0xFFFFFF, 0.8))
        cv.fill(cv.mask().line(x, y - s, x, y + s, 0.55), rgb(0xFFFFFF, 0.8))
        cv.fill(cv.mask().circle(x, y, 0.9), rgb(0xFFFFFF))

    def halo(x, y, r, colour, strength):
        cv.fill(cv.mask().circle(x, y, r),
                radial(x, y, r, [(0, with_alpha(colour, strength)), (0.5, with_alpha(colour, strength * 0.35)),
                                 (1, with_alpha(colour, 0))]))

    # Orbs: a big ringed planet on the right, an orange moon, a small green orb.
    halo(258, 41, 52, rgb(0x6FC8FF), 0.45)
    draw_ringed_planet(cv, 258, 41, 21, 37, 8.5, 4.0, -16, 1.2)
    halo(216, 15, 16, rgb(0xFFA040), 0.5)
    draw_orb(cv, 216, 15, 6.5, rgb(0xFF8A2A), rgb(0xFFE0A0), rgb(0xA8380A),
             outline=rgb(0x40140A), ow=0.8)
    halo(289, 9, 10, rgb(0x7CFF9A), 0.4)
    draw_orb(cv, 289, 9, 3.6, rgb(0x3CCB5E), rgb(0xD8FFD0), rgb(0x12662A),
             outline=rgb(0x0A2E16), ow=0.7)

    # Title "Orbels Launch".
    scale = 2.35
    words = [('Orbels ', [(0, rgb(0xFFFFFF)), (0.55, rgb(0xE4ECFF)), (1, rgb(0xA8C4FF))]),
             ('Launch', [(0, rgb(0xFFF3B8)), (0.5, rgb(0xFFCD4A)), (1, rgb(0xF0962A))])]
    total = sum(text_width(wd, scale) + LETTER_GAP * scale for wd, _ in words) - LETTER_GAP * scale
    x = 12.0
    baseline = 41.0
    top = baseline - CAP * scale
    # soft shadow, dark outline, then the letters
    shadow = cv.mask()
    outline = cv.mask()
    xx = x
    for wd, _ in words:
        text_mask(shadow, wd, xx + 1.6, baseline + 2.2, scale, grow=1.3)
        text_mask(outline, wd, xx, baseline, scale, grow=1.3)
        xx += text_width(wd, scale) + LETTER_GAP * scale
    cv.fill(shadow, rgb(0x05031A, 0.55))
    cv.fill(outline, rgb(0x0B0A2A))
    xx = x
    for wd, stops in words:
        m = text_mask(cv.mask(), wd, xx, baseline, scale)
        cv.fill(m, linear(0, top, 0, baseline, stops))
        xx += text_width(wd, scale) + LETTER_GAP * scale

    # Tagline naming the two games, between two thin glowing rules.
    tag = 'The Orbels . The Orbels 2'
    tag_scale = 0.82
    tag_w = text_width(tag, tag_scale)
    tx = x + (total - tag_w) / 2
    tag_base = baseline + 8.5 + CAP * tag_scale
    tag_shadow = text_mask(cv.mask(), tag, tx + 0.8, tag_base + 0.9, tag_scale)
    cv.fill(tag_shadow, rgb(0x05031A, 0.7))
    cv.fill(text_mask(cv.mask(), tag, tx, tag_base, tag_scale), rgb(0xD9D2FF))
    rule_y = tag_base - CAP * tag_scale / 2 - 0.5
    for r0, r1, stops in ((x, tx - 6, [(0, rgb(0x9FC8FF, 0.0)), (1, rgb(0x9FC8FF, 0.8))]),
                          (tx + tag_w + 6, x + total, [(0, rgb(0xFFC860, 0.8)), (1, rgb(0xFFC860, 0.0))])):
        cv.fill(cv.mask().rect(r0, rule_y, r1, rule_y + 1.0), linear(r0, 0, r1, 0, stops))
    return cv.image()


# ---------------------------------------------------------------------------
# Palette reduction (median cut) for the 8-bit banner
# ---------------------------------------------------------------------------

def median_cut(pixels, n_colours):
    """Pick n_colours representative colours: repeatedly split the box of
    colours with the largest squared error at the weighted median of its
    widest channel."""
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    colours = sorted(counts.items())

    def stats(box):
        total = sum(c for _, c in box)
        means = [sum(col[ch] * c for col, c in box) / total for ch in range(3)]
        var = [sum((col[ch] - means[ch]) ** 2 * c for col, c in box) for ch in range(3)]
        return total, means, var

    boxes = [(colours, stats(colours))]
    while len(boxes) < n_colours:
        best, best_err = None, 0.0
        for idx, (box, (_, _, var)) in enumerate(boxes):
            err = sum(var)
            if len(box) > 1 and err > best_err:
                best, best_err = idx, err
        if best is None:
            break
        box, (total, _, var) = boxes.pop(best)
        ch = max(range(3), key=lambda c: (var[c], -c))
        box = sorted(box, key=lambda item: (item[0][ch], item[0]))
        acc, cut = 0, 1
        for k, (_, c) in enumerate(box):
            acc += c
            if acc * 2 >= total:
                cut = min(max(k + 1, 1), len(box) - 1)
                break
        lo, hi = box[:cut], box[cut:]
        boxes.append((lo, stats(lo)))
        boxes.append((hi, stats(hi)))
    palette = [tuple(int(round(m)) for m in st[1]) for _, st in boxes]
    palette = sorted(set(palette), key=lambda c: (0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2], c))
    while len(palette) < n_colours:
        palette.append((0, 0, 0))
    return palette


def nearest_index(palette):
    cache = {}

    def find(c):
        k = cache.get(c)
        if k is None:
            r, g, b = c
            best = 1 << 30
            for i, (pr, pg, pb) in enumerate(palette):
                d = 3 * (pr - r) ** 2 + 4 * (pg - g) ** 2 + 2 * (pb - b) ** 2
                if d < best:
                    best, k = d, i
            cache[c] = k
        return k
    return find


def refine_palette(pixels, palette, rounds=3):
    """A few k-means rounds: move every palette entry to the mean of the
    colours that map to it."""
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    colours = sorted(counts.items())
    for _ in range(rounds):
        find = nearest_index(palette)
        sums = [[0, 0, 0, 0] for _ in palette]
        for c, n in colours:
            acc = sums[find(c)]
            acc[0] += c[0] * n
            acc[1] += c[1] * n
            acc[2] += c[2] * n
            acc[3] += n
        palette = [tuple(int(round(v / acc[3])) for v in acc[:3]) if acc[3] else old
                   for acc, old in zip(sums, palette)]
    return palette


def quantise(img, n_colours=256):
    pixels = [(r, g, b) for r, g, b, _ in img.px]
    palette = refine_palette(pixels, median_cut(pixels, n_colours))
    find = nearest_index(palette)
    return palette, [find(p) for p in pixels]


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def _bitmap_info_header(w, h, bpp, image_size, colours_used=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, image_size, 2835, 2835,
                       colours_used, 0)


def icon_dib(img):
    """One icon image: header (height doubled), BGRA rows bottom-up, AND mask."""
    w, h = img.w, img.h
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = img.get(x, y)
            xor += bytes((b, g, r, a)) if a else b'\x00\x00\x00\x00'
    mask_row = ((w + 31) // 32) * 4
    and_mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(w):
            if img.get(x, y)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        and_mask += row
    return _bitmap_info_header(w, 2 * h, 32, len(xor) + len(and_mask)) + bytes(xor) + bytes(and_mask)


def ico_bytes(images):
    """An icon file: images up to 255 pixels as bitmaps, larger ones as PNG
    (as Windows stores its 256-pixel icons)."""
    count = len(images)
    head = struct.pack('<HHH', 0, 1, count)
    entries, blobs = b'', b''
    offset = 6 + 16 * count
    for img in images:
        blob = icon_dib(img) if img.w < 256 else png_bytes(img)
        entries += struct.pack('<BBBBHHII', img.w % 256, img.h % 256, 0, 0, 1, 32,
                               len(blob), offset + len(blobs))
        blobs += blob
    return head + entries + blobs


def bmp24_bytes(w, h, rgb_pixels):
    row_len = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = rgb_pixels[y * w + x]
            row += bytes((b, g, r))
        row += bytes(row_len - len(row))
        data += row
    info = _bitmap_info_header(w, h, 24, len(data))
    off = 14 + len(info)
    return struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off) + info + bytes(data)


def bmp8_bytes(w, h, palette, indices):
    row_len = (w + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        data += bytes(indices[y * w:(y + 1) * w]) + bytes(row_len - w)
    info = _bitmap_info_header(w, h, 8, len(data), 256)
    pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    off = 14 + len(info) + len(pal)
    return struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off) + info + pal + bytes(data)


def png_bytes(img):
    raw = bytearray()
    for y in range(img.h):
        raw.append(0)
        for x in range(img.w):
            raw += bytes(img.get(x, y))

    def chunk(tag, data):
        return (struct.pack('>I', len(data)) + tag + data +
                struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', img.w, img.h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def write_file(path, data):
    with open(path, 'wb') as f:
        f.write(data)


# ---------------------------------------------------------------------------
# Previews
# ---------------------------------------------------------------------------

def checker(w, h, cell=8):
    img = Image(w, h)
    for y in range(h):
        for x in range(w):
            v = 236 if ((x // cell) + (y // cell)) % 2 == 0 else 200
            img.px[y * w + x] = (v, v, v, 255)
    return img


def flatten_on(dst, src, ox, oy):
    """Alpha-composite src onto the opaque image dst at (ox, oy)."""
    for y in range(src.h):
        for x in range(src.w):
            r, g, b, a = src.get(x, y)
            if a == 0:
                continue
            dr, dg, db, _ = dst.get(ox + x, oy + y)
            t = a / 255.0
            dst.set(ox + x, oy + y, (int(round(r * t + dr * (1 - t))), int(round(g * t + dg * (1 - t))),
                                     int(round(b * t + db * (1 - t))), 255))


def icon_preview(images, zoom=8):
    """Big versions on a checkerboard, then actual size on white, grey, dark."""
    big_w = sum(i.w * zoom + 16 for i in images) + 16
    small_w = sum(i.w + 12 for i in images) * 3 + 16
    h = max(i.h for i in images) * (zoom + 1) + 32 + 16
    sheet = Image(max(big_w, small_w), h, (255, 255, 255, 255))
    x = 16
    for img in images:
        board = checker(img.w * zoom, img.h * zoom, zoom)
        flatten_on(board, img.scaled(zoom), 0, 0)
        sheet.paste(board, x, 16)
        x += img.w * zoom + 16
    y = max(i.h for i in images) * zoom + 32
    x = 16
    for bg in ((255, 255, 255), (212, 208, 200), (40, 44, 60)):
        for img in images:
            for yy in range(img.h + 8):
                for xx in range(img.w + 8):
                    sheet.set(x - 4 + xx, y - 4 + yy, bg + (255,))
            flatten_on(sheet, img, x, y)
            x += img.w + 12
    return sheet


def rgb_list_to_image(w, h, rgb_pixels):
    img = Image(w, h)
    img.px = [tuple(p) + (255,) for p in rgb_pixels]
    return img


# ---------------------------------------------------------------------------
# Self-check: parse the written files back
# ---------------------------------------------------------------------------

def check_bih(data, off, w, h, bpp, what):
    (size, bw, bh, planes, bits, comp, img_size, _, _, used, _) = struct.unpack_from('<IiiHHIIiiII', data, off)
    assert size == 40, what + ': header size'
    assert (bw, bh) == (w, h), '%s: dimensions %dx%d' % (what, bw, bh)
    assert planes == 1 and bits == bpp and comp == 0, what + ': planes/bpp/compression'
    return img_size, used


def check_ico(path, sizes):
    data = open(path, 'rb').read()
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    assert reserved == 0 and kind == 1 and count == len(sizes), path + ': icon directory'
    for n, s in enumerate(sizes):
        w, h, colours, res, planes, bpp, length, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * n)
        assert (w, h, planes, bpp) == (s % 256, s % 256, 1, 32), path + ': entry %d' % n
        assert offset + length <= len(data), path + ': entry %d out of file' % n
        if s >= 256:
            assert data[offset:offset + 8] == b'\x89PNG\r\n\x1a\n', path + ': entry %d not PNG' % n
            assert struct.unpack_from('>II', data, offset + 16) == (s, s), path + ': PNG size'
            continue
        img_size, _ = check_bih(data, offset, s, 2 * s, 32, path)
        expected = s * s * 4 + ((s + 31) // 32) * 4 * s
        assert img_size == expected and length == 40 + expected, path + ': image size'
    return '%d images (%s), 32bpp + AND mask (PNG from 256)' % (count, ', '.join('%d' % s for s in sizes))


def check_bmp(path, w, h, bpp):
    data = open(path, 'rb').read()
    magic, size, _, _, off = struct.unpack_from('<2sIHHI', data, 0)
    assert magic == b'BM' and size == len(data), path + ': file header'
    img_size, used = check_bih(data, 14, w, h, bpp, path)
    row = ((w * bpp + 31) // 32) * 4
    assert img_size == row * h and off + img_size == len(data), path + ': pixel data size'
    if bpp == 8:
        assert used == 256 and off == 14 + 40 + 1024, path + ': palette'
    return '%dx%d, %d bpp, uncompressed' % (w, h, bpp)


# ---------------------------------------------------------------------------
# Main
# ---------------------------------------------------------------------------

def main(argv):
    preview_dir = DEFAULT_PREVIEW_DIR
    if '--previews' in argv:
        preview_dir = argv[argv.index('--previews') + 1]
    if '--no-previews' in argv:
        preview_dir = None
    os.makedirs(RES_DIR, exist_ok=True)
    if preview_dir:
        os.makedirs(preview_dir, exist_ok=True)

    def out(name):
        return os.path.join(RES_DIR, name)

    def preview(name, img):
        if preview_dir:
            write_file(os.path.join(preview_dir, name), png_bytes(img))

    # Icons
    icons = [('app.ico', icon_app, APP_ICON_SIZES), ('noicon.ico', icon_noicon, ICON_SIZES),
             ('folder.ico', icon_folder, ICON_SIZES), ('loading.ico', icon_loading, ICON_SIZES),
             ('recorder.ico', icon_recorder, ICON_SIZES)]
    report = []
    for name, draw, sizes in icons:
        images = [draw(size) for size in sizes]
        write_file(out(name), ico_bytes(images))
        preview(name.replace('.ico', '.png'), icon_preview([i for i in images if i.w <= 64]))
        report.append((name, check_ico(out(name), sizes)))

    # Toolbar strips, one pair per size
    for size in TOOLBAR_SIZES:
        suffix = '' if size == 16 else '_%d' % size
        strip = toolbar_rgba(size)
        normal = toolbar_normal(strip)
        disabled = toolbar_disabled(strip)
        for kind, pixels in (('toolbar', normal), ('toolbar_disabled', disabled)):
            name = kind + suffix + '.bmp'
            write_file(out(name), bmp24_bytes(strip.w, strip.h, pixels))
            report.append((name, check_bmp(out(name), size * len(TOOLBAR_BUTTONS), size, 24)))
        if preview_dir:
            n_img = rgb_list_to_image(strip.w, strip.h, normal)
            d_img = rgb_list_to_image(strip.w, strip.h, disabled)
            zoom = max(1, 96 // size)
            sheet = Image(strip.w * zoom + 32, strip.h * zoom * 2 + size * 2 + 80, (255, 255, 255, 255))
            sheet.paste(n_img.scaled(zoom), 16, 16)
            sheet.paste(d_img.scaled(zoom), 16, 16 + size * zoom + 8)
            face = Image(strip.w + 16, size * 2 + 12, (212, 208, 200, 255))
            for row, src in ((0, n_img), (1, d_img)):
                for k, p in enumerate(src.px):
                    if p[:3] != MASK_RGB:
                        face.px[(4 + row * (size + 4) + k // src.w) * face.w + 8 + k % src.w] = p
            sheet.paste(face, 16, 16 + size * zoom * 2 + 20)
            preview('toolbar%s.png' % suffix, sheet)

    # Banner, at each scale
    for percent in BANNER_SCALES:
        name = 'banner.bmp' if percent == 100 else 'banner_%d.bmp' % percent
        banner = banner_rgba(percent)
        palette, indices = quantise(banner)
        write_file(out(name), bmp8_bytes(banner.w, banner.h, palette, indices))
        report.append((name, check_bmp(out(name), scaled(300, percent), scaled(75, percent), 8)))
        if preview_dir:
            q = rgb_list_to_image(banner.w, banner.h, [palette[i] for i in indices])
            preview(name.replace('.bmp', '.png'), q)

    # Self-check (above, file by file)
    for name, what in report:
        print('%-22s %6d bytes  %s' % (name, os.path.getsize(out(name)), what))
    identify = shutil.which('identify')
    if identify:
        for name, _ in report:
            res = subprocess.run([identify, out(name)], capture_output=True, text=True)
            print((res.stdout or res.stderr).strip())
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
