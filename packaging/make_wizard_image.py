#!/usr/bin/env python3
"""Draws the installer's side picture, packaging/wizard.bmp (164x314, 24-bit), shown on the
welcome and finish pages: the about box's night sky with the application icon's ringed planet
and orange moon, and the program's name. It uses the drawing code of tools/make_images.py, so
it matches the program's own pictures. Both this script and its output are committed.

Usage:  python3 packaging/make_wizard_image.py [--preview FILE.png]
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tools'))

import make_images as mi  # noqa: E402

W, H = 164, 314


def wizard_rgba():
    cv = mi.Canvas(W, H, 4)
    full = cv.mask().rect(0, 0, W, H)
    cv.fill(full, mi.linear(0, 0, 30, H, [(0.0, mi.rgb(0x070B2E)), (0.5, mi.rgb(0x17195A)),
                                         (1.0, mi.rgb(0x4A2283))]))
    cv.fill(full, mi.radial(110, 200, 140, [(0, mi.rgb(0x5A4BD0, 0.40)), (1, mi.rgb(0x5A4BD0, 0.0))]))
    cv.fill(full, mi.radial(10, 320, 120, [(0, mi.rgb(0xC0408F, 0.30)), (1, mi.rgb(0xC0408F, 0.0))], sy=0.6))

    rng = mi.Rng(20241207)
    for _ in range(110):
        x, y = rng.next() * W, rng.next() * H
        bright = 0.25 + 0.75 * rng.next() ** 2
        tint = mi.mix(mi.rgb(0xFFFFFF), mi.rgb(0xBFD4FF) if rng.next() < 0.5 else mi.rgb(0xFFE9C0), 0.6)
        cv.fill(cv.mask().circle(x, y, 0.55 + 0.35 * bright), mi.with_alpha(tint, bright))
    for x, y, s in ((24, 40, 3.4), (140, 22, 2.6), (30, 262, 3.0), (150, 292, 2.4), (128, 120, 2.2)):
        cv.fill(cv.mask().circle(x, y, s * 1.6),
                mi.radial(x, y, s * 1.6, [(0, mi.rgb(0xFFFFFF, 0.5)), (1, mi.rgb(0xFFFFFF, 0))]))
        cv.fill(cv.mask().line(x - s, y, x + s, y, 0.55), mi.rgb(0xFFFFFF, 0.8))
        cv.fill(cv.mask().line(x, y - s, x, y + s, 0.55), mi.rgb(0xFFFFFF, 0.8))
        cv.fill(cv.mask().circle(x, y, 0.9), mi.rgb(0xFFFFFF))

    def halo(x, y, r, colour, strength):
        cv.fill(cv.mask().circle(x, y, r),
                mi.radial(x, y, r, [(0, mi.with_alpha(colour, strength)),
                                    (0.5, mi.with_alpha(colour, strength * 0.35)),
                                    (1, mi.with_alpha(colour, 0))]))

    # The icon's picture, large: the orange moon behind, the ringed planet in front.
    halo(118, 118, 30, mi.rgb(0xFFA040), 0.5)
    mi.draw_orb(cv, 118, 118, 13, mi.rgb(0xFF8A2A), mi.rgb(0xFFE0A0), mi.rgb(0xA8380A),
                outline=mi.rgb(0x40140A), ow=1.0)
    halo(78, 176, 80, mi.rgb(0x6FC8FF), 0.45)
    mi.draw_ringed_planet(cv, 78, 176, 38, 66, 16, 7.5, -24, 1.6)

    # The name, centred near the bottom.
    def centred(text, scale, baseline, stops):
        x = (W - mi.text_width(text, scale)) / 2
        cv.fill(mi.text_mask(cv.mask(), text, x + 1.2, baseline + 1.6, scale, grow=1.1), mi.rgb(0x05031A, 0.55))
        cv.fill(mi.text_mask(cv.mask(), text, x, baseline, scale, grow=1.1), mi.rgb(0x0B0A2A))
        top = baseline - mi.CAP * scale
        cv.fill(mi.text_mask(cv.mask(), text, x, baseline, scale), mi.linear(0, top, 0, baseline, stops))

    centred('Orbels', 2.1, 262, [(0, mi.rgb(0xFFFFFF)), (0.55, mi.rgb(0xE4ECFF)), (1, mi.rgb(0xA8C4FF))])
    centred('Launch', 2.1, 292, [(0, mi.rgb(0xFFF3B8)), (0.5, mi.rgb(0xFFCD4A)), (1, mi.rgb(0xF0962A))])
    return cv.image()


def main(argv):
    image = wizard_rgba().over((0, 0, 0))
    rgb = [p[:3] for p in image.px]
    mi.write_file(os.path.join(HERE, 'wizard.bmp'), mi.bmp24_bytes(W, H, rgb))
    if '--preview' in argv:
        mi.write_file(argv[argv.index('--preview') + 1], mi.png_bytes(image.scaled(2)))


if __name__ == '__main__':
    main(sys.argv)
