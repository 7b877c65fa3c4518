#!/usr/bin/env python3
"""Writes assets/pictures/deck.svg: the 40 faces (card1..card40) and the back.

Each card is a top-level group whose first shape is a 62 x 100 rectangle and
nothing inside it reaches past that rectangle, because the program scales
each card by its element bounds.
"""

import math
import os
import sys

W, H = 62, 100
PITCH_X, PITCH_Y = 72, 110
COLUMNS = 10

INK = "#2b1a10"
CREAM = "#fbf5e3"

# Suit order follows the card codes: 1..10 coins, 11..20 cups, 21..30 clubs, 31..40 swords.
SUITS = ["coins", "cups", "clubs", "swords"]
SYMBOL = {"coins": "coin", "cups": "cup", "clubs": "club", "swords": "sword"}
INDEX_INK = {"coins": "#9a5800", "cups": "#a3161f", "clubs": "#1f5a2a", "swords": "#1b3f8a"}

# Court dress per suit: main garment, second garment, hose, hat.
DRESS = {
    "coins": dict(main="#c8262d", second="#1f4e9c", hose="#e8b323", hat="#2e7d3a", horse="#f1ece0"),
    "cups": dict(main="#1f4e9c", second="#e8b323", hose="#c8262d", hat="#c8262d", horse="#9a5b2c"),
    "clubs": dict(main="#2e7d3a", second="#c8262d", hose="#1f4e9c", hat="#e8b323", horse="#e9e2d0"),
    "swords": dict(main="#e8b323", second="#c8262d", hose="#2e7d3a", hat="#1f4e9c", horse="#6d4a2e"),
}

# Rank digits as centre lines in an 8 x 14 box, stroked thick and round.
DIGITS = {
    "1": "M1.6,3.2 L4.6,0.8 L4.6,13.2",
    "2": "M0.9,3.6 C0.9,0.2 7.2,0.2 7.2,3.8 C7.2,6.7 3.2,8.6 0.8,13.2 L7.4,13.2",
    "3": "M1,2 C2.3,0.4 7,0.3 7,3.6 C7,5.8 5.2,6.7 3.2,6.7 C5.6,6.7 7.4,7.9 7.4,10.2 "
         "C7.4,13.9 2,14 0.7,11.9",
    "4": "M5.6,13.2 L5.6,0.8 L0.7,9.6 L7.6,9.6",
    "5": "M7,0.8 L1.6,0.8 L1,6.4 C3,5.1 7.4,5 7.4,9.4 C7.4,13.7 2.1,14 0.7,11.9",
    "6": "M6.8,1.3 C3,0.2 0.8,3.5 0.8,8.6 C0.8,12.1 2.4,13.3 4,13.3 C6,13.3 7.3,11.8 7.3,9.6 "
         "C7.3,7.3 6,5.9 4,5.9 C2.4,5.9 1.2,6.9 0.8,8.6",
    "7": "M0.6,0.8 L7.4,0.8 L3,13.2",
    "8": "M4,6.6 C1.6,6.6 1.1,5 1.1,3.7 C1.1,1.8 2.4,0.7 4,0.7 C5.6,0.7 6.9,1.8 6.9,3.7 "
         "C6.9,5 6.4,6.6 4,6.6 C1.5,6.6 0.7,8.2 0.7,10 C0.7,12 2,13.3 4,13.3 C6,13.3 7.3,12 7.3,10 "
         "C7.3,8.2 6.5,6.6 4,6.6 Z",
    "9": "M1.2,12.7 C5,13.8 7.2,10.5 7.2,5.4 C7.2,1.9 5.6,0.7 4,0.7 C2,0.7 0.7,2.2 0.7,4.4 "
         "C0.7,6.7 2,8.1 4,8.1 C5.6,8.1 6.8,7.1 7.2,5.4",
    "0": "M4,0.8 C6,0.8 7.2,3.4 7.2,7 C7.2,10.6 6,13.2 4,13.2 C2,13.2 0.8,10.6 0.8,7 "
         "C0.8,3.4 2,0.8 4,0.8 Z",
}


def f(v):
    """Short number formatting keeps the file small."""
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def use(ref, x, y, scale=1.0, rot=0.0, sx=None):
    t = "translate(%s %s)" % (f(x), f(y))
    if rot:
        t += " rotate(%s)" % f(rot)
    if sx is not None:
        t += " scale(%s %s)" % (f(sx), f(scale))
    elif scale != 1.0:
        t += " scale(%s)" % f(scale)
    return '<use xlink:href="#%s" transform="%s"/>' % (ref, t)


# ---------------------------------------------------------------- definitions

def defs():
    d = []
    d.append('<radialGradient id="gold" cx="0.4" cy="0.35" r="0.75">'
             '<stop offset="0" stop-color="#fff4b0"/><stop offset="0.55" stop-color="#f2c230"/>'
             '<stop offset="1" stop-color="#c07c10"/></radialGradient>')
    d.append('<linearGradient id="goldbar" x1="0" y1="0" x2="1" y2="0">'
             '<stop offset="0" stop-color="#c98a12"/><stop offset="0.45" stop-color="#ffe27a"/>'
             '<stop offset="1" stop-color="#b87810"/></linearGradient>')
    d.append('<linearGradient id="steel" x1="0" y1="0" x2="1" y2="0">'
             '<stop offset="0" stop-color="#8fb2d8"/><stop offset="0.5" stop-color="#f4f8ff"/>'
             '<stop offset="1" stop-color="#6f93c0"/></linearGradient>')
    d.append('<linearGradient id="wood" x1="0" y1="0" x2="1" y2="0">'
             '<stop offset="0" stop-color="#2f6e2c"/><stop offset="0.45" stop-color="#8cc35a"/>'
             '<stop offset="1" stop-color="#2a5f27"/></linearGradient>')
    d.append('<linearGradient id="wine" x1="0" y1="0" x2="1" y2="0">'
             '<stop offset="0" stop-color="#8e1218"/><stop offset="0.45" stop-color="#e0453f"/>'
             '<stop offset="1" stop-color="#8a1016"/></linearGradient>')
    d.append('<linearGradient id="backshade" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#2c5db0"/><stop offset="1" stop-color="#173f86"/>'
             '</linearGradient>')

    # Coin: golden disc, red ring, green rosette. Radius 10.
    petals = "".join('<ellipse cx="0" cy="-3.6" rx="1.5" ry="3.1" transform="rotate(%d)"/>' % a
                     for a in range(0, 360, 45))
    dots = "".join('<circle cx="%s" cy="%s" r="0.5"/>' % (f(8.6 * math.sin(math.radians(a))),
                                                          f(-8.6 * math.cos(math.radians(a))))
                   for a in range(0, 360, 30))
    d.append('<g id="coin">'
             '<circle r="10" fill="url(#gold)" stroke="%s" stroke-width="0.7"/>'
             '<g fill="#9a5800">%s</g>'
             '<circle r="7.2" fill="none" stroke="#c8262d" stroke-width="1.3"/>'
             '<g fill="#2e7d3a" stroke="#174a1f" stroke-width="0.3">%s</g>'
             '<circle r="1.9" fill="#c8262d" stroke="%s" stroke-width="0.3"/>'
             '</g>' % (INK, dots, petals, INK))

    # Cup: goblet 14 wide, 20 tall, centred.
    d.append('<g id="cup" stroke="%s" stroke-width="0.5">'
             '<path d="M-5.6,9.6 Q0,5 5.6,9.6 Z" fill="url(#goldbar)"/>'
             '<rect x="-6" y="9" width="12" height="1.2" rx="0.6" fill="#c98a12"/>'
             '<rect x="-1" y="1" width="2" height="6" fill="url(#goldbar)"/>'
             '<ellipse cx="0" cy="3.6" rx="2.3" ry="1.2" fill="url(#goldbar)"/>'
             '<path d="M-7,-8.6 L7,-8.6 Q7.2,-1.2 1.4,1.4 L-1.4,1.4 Q-7.2,-1.2 -7,-8.6 Z" '
             'fill="url(#wine)"/>'
             '<path d="M-6.6,-4.4 L6.6,-4.4 Q6.3,-2.8 5.8,-2 L-5.8,-2 Q-6.3,-2.8 -6.6,-4.4 Z" '
             'fill="#f2c230" stroke-width="0.3"/>'
             '<circle cx="0" cy="-3.2" r="0.8" fill="#1f4e9c" stroke="none"/>'
             '<circle cx="-3.6" cy="-3.2" r="0.6" fill="#2e7d3a" stroke="none"/>'
             '<circle cx="3.6" cy="-3.2" r="0.6" fill="#2e7d3a" stroke="none"/>'
             '<ellipse cx="0" cy="-8.6" rx="7.2" ry="1.6" fill="#f2c230"/>'
             '<ellipse cx="0" cy="-8.6" rx="5.6" ry="0.9" fill="#5e0c10" stroke="none"/>'
             '</g>' % INK)

    # Club: knotty green baton, 30 long, thicker at the head, vertical.
    d.append('<g id="club" stroke="#173d16" stroke-width="0.5">'
             '<path d="M-3,-7.4 L-5.6,-9.6 L-4.8,-10.8 L-2.6,-9 Z" fill="#b9874a"/>'
             '<path d="M2.8,-2 L5.2,-3.8 L5.8,-2.6 L2.8,-0.2 Z" fill="#b9874a"/>'
             '<path d="M-2.2,3.4 L-4.6,1.8 L-5,3 L-2.2,5 Z" fill="#b9874a"/>'
             '<path d="M2.2,8.4 L4.2,7.2 L4.6,8.2 L2.2,10 Z" fill="#b9874a"/>'
             '<path d="M-3.2,-12 Q-3.3,-15 0,-15 Q3.3,-15 3.2,-12 L3.1,-4 Q4.7,-2.6 2.9,-0.6 '
             'L2.5,6.4 Q4,8 2.3,9.6 L1.6,15 L-1.6,15 L-2.1,5.2 Q-3.9,3.4 -2.4,1.4 L-2.8,-5.4 '
             'Q-4.6,-7 -3,-8.8 Z" fill="url(#wood)"/>'
             '<ellipse cx="0" cy="-13.4" rx="2.6" ry="1.2" fill="#e2c27c"/>'
             '<ellipse cx="-4.9" cy="-10.2" rx="0.8" ry="0.5" fill="#e2c27c" stroke-width="0.3"/>'
             '<ellipse cx="5.5" cy="-3.2" rx="0.8" ry="0.5" fill="#e2c27c" stroke-width="0.3"/>'
             '<ellipse cx="-4.8" cy="2.4" rx="0.7" ry="0.5" fill="#e2c27c" stroke-width="0.3"/>'
             '<ellipse cx="4.4" cy="7.7" rx="0.6" ry="0.45" fill="#e2c27c" stroke-width="0.3"/>'
             '<path d="M-1.6,-9 Q-0.4,-8 -1.4,-6.6 M1.2,-1.6 Q0.2,-0.4 1.3,0.8 '
             'M-1,4.6 Q0,5.6 -0.9,6.8" fill="none" stroke="#1d4d1b" stroke-width="0.45"/>'
             '<rect x="-2.2" y="11" width="4.4" height="1.4" fill="#c8262d" stroke-width="0.3"/>'
             '</g>')

    # Sword: straight blade pointing up, gold hilt, red grip. About 38 long.
    d.append('<g id="sword" stroke="#1a2c55" stroke-width="0.45">'
             '<path d="M-1.7,10 L-1.7,-14 L0,-18.5 L1.7,-14 L1.7,10 Z" fill="url(#steel)"/>'
             '<path d="M0,-15 L0,9" stroke="#6c8cbc" stroke-width="0.5"/>'
             '<path d="M-6.6,9.2 Q-7.6,10.4 -6.8,11.6 Q0,10.9 6.8,11.6 Q7.6,10.4 6.6,9.2 '
             'Q0,10.2 -6.6,9.2 Z" fill="url(#goldbar)"/>'
             '<rect x="-1.1" y="11.4" width="2.2" height="5" fill="#c8262d"/>'
             '<circle cx="0" cy="17.6" r="1.5" fill="url(#gold)"/>'
             '</g>')

    d.append(laurel())

    for ch, path in DIGITS.items():
        d.append('<path id="d%s" d="%s"/>' % (ch, path))
    return "<defs>" + "".join(d) + "</defs>"


def laurel():
    """A laurel branch rising up and to the left from the origin, used in pairs on aces."""
    p0, c, p1 = (0.0, 0.0), (-17.0, -14.0), (-12.0, -42.0)
    leaves = []
    for i in range(1, 10):
        t = i / 10.0
        x = (1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * c[0] + t * t * p1[0]
        y = (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * c[1] + t * t * p1[1]
        dx = 2 * (1 - t) * (c[0] - p0[0]) + 2 * t * (p1[0] - c[0])
        dy = 2 * (1 - t) * (c[1] - p0[1]) + 2 * t * (p1[1] - c[1])
        ang = math.degrees(math.atan2(dy, dx))
        size = 1.0 - 0.35 * t
        for side in (-50, 50):
            leaves.append('<ellipse cx="%s" cy="0" rx="%s" ry="%s" transform="translate(%s %s) rotate(%s)"/>'
                          % (f(2.6 * size), f(2.8 * size), f(1.15 * size), f(x), f(y), f(ang + side)))
    return ('<g id="laurel"><path d="M0,0 Q-17,-14 -12,-42" fill="none" stroke="#5a3a14" '
            'stroke-width="0.8"/><g fill="#3f8a3a" stroke="#1d4d1b" stroke-width="0.3">%s</g>'
            '<circle cx="-12" cy="-42.4" r="1.2" fill="#c8262d" stroke="#5a1010" stroke-width="0.3"/>'
            '</g>' % "".join(leaves))


def wreath(cx, bottom):
    return (use("laurel", cx, bottom) + '<use xlink:href="#laurel" transform="translate(%s %s) scale(-1 1)"/>'
            % (f(cx), f(bottom)) + '<path d="M%s,%s l-4,3.4 l2.6,0.2 l1.4,-2.2 l1.4,2.2 l2.6,-0.2 z" '
            'fill="#c8262d" stroke="#5a1010" stroke-width="0.3"/>' % (f(cx), f(bottom - 1)))


# ---------------------------------------------------------------- card parts

def card_base():
    return ('<rect width="%d" height="%d" rx="3" fill="%s"/>'
            '<rect x="2.2" y="2.2" width="57.6" height="95.6" rx="2" fill="none" '
            'stroke="#c9b07a" stroke-width="0.6"/>' % (W, H, CREAM))


def index(rank, suit):
    """Rank digits top-left, repeated bottom-right upside down."""
    text = str(rank)
    if len(text) == 1:
        glyphs = use("d" + text, 4.4, 3.6)
    else:
        glyphs = use("d1", 2.4, 3.6) + use("d0", 9.4, 3.6)
    ink = INDEX_INK[suit]
    body = ('<g fill="none" stroke="%s" stroke-width="2.55" stroke-linecap="round" '
            'stroke-linejoin="round">%s</g>' % (ink, glyphs))
    return body + '<g transform="rotate(180 31 50)">%s</g>' % body


# Pip positions shared by coins and cups from two to seven.
TWO = [(31, 30), (31, 70)]
FOUR = [(20, 30), (42, 30), (20, 70), (42, 70)]
SIX = [(20, 27), (42, 27), (20, 50), (42, 50), (20, 73), (42, 73)]
SEVEN = [(19, 24), (43, 24), (31, 37), (19, 50), (43, 50), (19, 76), (43, 76)]

# (positions, pip scale) by count.
COIN_LAYOUTS = {
    2: (TWO, 1.2), 3: ([(41, 26), (31, 50), (21, 74)], 1.05), 4: (FOUR, 0.95),
    5: ([(20, 28), (42, 28), (31, 50), (20, 72), (42, 72)], 0.92), 6: (SIX, 0.9), 7: (SEVEN, 0.85),
}
CUP_LAYOUTS = {
    2: (TWO, 1.25), 3: ([(31, 24), (31, 50), (31, 76)], 1.05), 4: (FOUR, 1.05),
    5: ([(20, 27), (42, 27), (31, 50), (20, 73), (42, 73)], 1.0), 6: (SIX, 0.95), 7: (SEVEN, 0.85),
}


def laid_out(s, layout):
    pts, sc = layout
    return "".join(use(s, x, y, sc) for x, y in pts)


def coins_pips(n):
    s = "coin"
    if n == 1:
        rays = "".join('<path d="M0,-19 L2.6,-25.5 L0,-24 L-2.6,-25.5 Z" transform="rotate(%d)"/>' % a
                       for a in range(0, 360, 30))
        return ('<g transform="translate(31 50)"><g fill="#c8262d" stroke="%s" stroke-width="0.4">'
                '%s</g><circle r="20.5" fill="#1f4e9c"/></g>' % (INK, rays)
                + use(s, 31, 50, 1.95))
    return laid_out(s, COIN_LAYOUTS[n])


def cups_pips(n):
    if n == 1:
        return wreath(31, 80) + use("cup", 31, 48, 2.05)
    return laid_out("cup", CUP_LAYOUTS[n])


def crossed_pips(s, n, long_scale, side, pair, centre, tilt=28, tilt4=28):
    """Clubs and swords share the traditional crossings: an X for two, an upright
    through it for three, and from four on a long piece down each side."""
    out = []
    if n >= 4:
        # Shifted apart vertically to keep clear of the corner indices.
        out.append(use(s, 12, 56, side[0], rot=side[2], sx=side[1]))
        out.append(use(s, 50, 44, side[0], rot=side[3], sx=side[1]))
    rest = n - 2 if n >= 4 else n
    if rest in (2, 3):
        t = tilt if n < 4 else tilt4
        sc = long_scale if n < 4 else long_scale * 0.9
        wide = sc * (0.7 if n < 4 else 0.58)
        out.append(use(s, 31, 50, sc, rot=-t, sx=wide))
        out.append(use(s, 31, 50, sc, rot=t, sx=wide))
        if rest == 3:
            out.append(use(s, 31, 50, sc + 0.1, sx=wide))
    else:  # two crossings stacked, plus a long upright through both for odd counts
        if rest == 5:
            out.append(use(s, *centre))
        for cy in (31, 69):
            out.append(use(s, 31, cy, pair[0], rot=-34, sx=pair[1]))
            out.append(use(s, 31, cy, pair[0], rot=34, sx=pair[1]))
    return "".join(out)


def clubs_pips(n):
    if n == 1:
        return wreath(31, 82) + use("club", 31, 48, 2.3, rot=0)
    return crossed_pips("club", n, 2.0, (1.95, 1.15, 0, 0), (1.15, 1.1), (31, 50, 2.4, 0, 1.2),
                        tilt4=24)


def swords_pips(n):
    if n == 1:
        return wreath(31, 80) + use("sword", 31, 49, 2.2)
    return crossed_pips("sword", n, 1.8, (1.55, 1.2, 180, 0), (0.95, 0.95), (31, 50, 2.05, 0, 1.3),
                        tilt4=20)


PIPS = {"coins": coins_pips, "cups": cups_pips, "clubs": clubs_pips, "swords": swords_pips}


# ---------------------------------------------------------------- court figures

SKIN = "#f3cfa5"


def head(cx, cy, r=4.8, hair="#6b3a1a", beard=None):
    out = []
    out.append('<path d="M%s,%s Q%s,%s %s,%s Q%s,%s %s,%s Z" fill="%s"/>' % (
        f(cx - r - 0.6), f(cy + 3.5), f(cx), f(cy - 2.6 * r), f(cx + r + 0.6), f(cy + 3.5),
        f(cx), f(cy + 1), f(cx - r - 0.6), f(cy + 3.5), hair))
    out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="%s" stroke-width="0.45"/>' % (
        f(cx), f(cy), f(r), SKIN, INK))
    out.append('<path d="M%s,%s Q%s,%s %s,%s L%s,%s Q%s,%s %s,%s Z" fill="%s"/>' % (
        f(cx - r), f(cy - 0.5), f(cx), f(cy - r * 1.65), f(cx + r), f(cy - 0.5),
        f(cx + r * 0.55), f(cy - r * 0.55), f(cx), f(cy - r * 0.9), f(cx - r * 0.55),
        f(cy - r * 0.55), hair))
    out.append('<circle cx="%s" cy="%s" r="0.55" fill="%s"/><circle cx="%s" cy="%s" r="0.55" fill="%s"/>'
               % (f(cx - 1.7), f(cy + 0.2), INK, f(cx + 1.7), f(cy + 0.2), INK))
    out.append('<path d="M%s,%s Q%s,%s %s,%s" fill="none" stroke="#a8322c" stroke-width="0.5"/>' % (
        f(cx - 1.2), f(cy + 2.5), f(cx), f(cy + 3.2), f(cx + 1.2), f(cy + 2.5)))
    out.append('<circle cx="%s" cy="%s" r="0.8" fill="#e8948a" opacity="0.6"/>'
               '<circle cx="%s" cy="%s" r="0.8" fill="#e8948a" opacity="0.6"/>' % (
                   f(cx - 2.8), f(cy + 1.6), f(cx + 2.8), f(cy + 1.6)))
    if beard:
        out.append('<path d="M%s,%s Q%s,%s %s,%s Q%s,%s %s,%s Q%s,%s %s,%s Z" fill="%s" '
                   'stroke="%s" stroke-width="0.3"/>' % (
                       f(cx - r), f(cy + 0.6), f(cx - r * 0.6), f(cy + r * 2.3), f(cx), f(cy + r * 2.3),
                       f(cx + r * 0.6), f(cy + r * 2.3), f(cx + r), f(cy + 0.6),
                       f(cx), f(cy + r * 1.1), f(cx - r), f(cy + 0.6), beard, INK))
    return "".join(out)


# Where each figure holds its suit sign: x, y, scale, rotation.
HELD = {
    "knave": dict(coins=(46, 33.5, 0.85, 0), cups=(46.4, 31.6, 0.9, 0), clubs=(47.6, 33, 1.3, 28),
                  swords=(46.4, 24.4, 1.1, 14)),
    "king": dict(coins=(46.4, 35.6, 0.85, 0), cups=(46.6, 34, 0.9, 0), clubs=(48.6, 34, 1.3, 22),
                 swords=(47.6, 26.4, 1.15, 10)),
    "knight": dict(coins=(45.4, 17.6, 0.8, 0), cups=(45.2, 16, 0.85, 0), clubs=(44.8, 17, 1.05, 26),
                   swords=(46.4, 14, 0.8, 30)),
}


def sign_in_hand(figure, suit, hx, hy, r):
    """The suit sign, then the hand over it so the fingers close on the grip."""
    x, y, scale, rot = HELD[figure][suit]
    return use(SYMBOL[suit], x, y, scale, rot) + (
        '<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="%s" stroke-width="0.4"/>'
        % (f(hx), f(hy), f(r), SKIN, INK))


def knave(suit):
    c = DRESS[suit]
    o = ['<g stroke="%s" stroke-width="0.5" stroke-linejoin="round">' % INK]
    o.append('<ellipse cx="31" cy="90.5" rx="14" ry="2.2" fill="#d8cba4" stroke="none"/>')
    # parti-coloured hose
    o.append('<path d="M24.6,62 L29.6,62 L29.1,88 L25.2,88 Z" fill="%s"/>' % c["hose"])
    o.append('<path d="M32.4,62 L37.4,62 L36.8,88 L32.9,88 Z" fill="%s"/>' % c["second"])
    o.append('<path d="M22.4,89.8 Q23,87 27.2,87.4 L29.4,87.6 L29.4,90.2 Z" fill="#3b2414"/>')
    o.append('<path d="M32.6,87.6 L34.8,87.4 Q39,87 39.6,89.8 L32.6,90.2 Z" fill="#3b2414"/>')
    # tunic with skirt
    o.append('<path d="M24,31 Q31,28.5 38,31 L40.4,48 L44,65 Q31,68.5 18,65 L21.6,48 Z" fill="%s"/>'
             % c["main"])
    o.append('<path d="M31,30 L31,66.8" fill="none" stroke="%s" stroke-width="0.4"/>' % INK)
    o.append('<path d="M18.7,62.2 Q31,65.6 43.3,62.2 L44,65 Q31,68.5 18,65 Z" fill="%s"/>' % c["second"])
    o.append('<rect x="21.3" y="46.6" width="19.4" height="2.6" fill="url(#goldbar)"/>')
    o.append('<path d="M27,30 Q31,35 35,30 Z" fill="%s"/>' % c["second"])
    # lowered arm
    o.append('<path d="M24.3,31.4 L18.6,46 L21.6,47.4 L26.6,36 Z" fill="%s"/>' % c["second"])
    o.append('<circle cx="19.8" cy="48.4" r="1.7" fill="%s"/>' % SKIN)
    # raised arm holding the suit sign
    o.append('<path d="M37.6,31.2 L44.2,39.6 L42,41.6 L36.2,36 Z" fill="%s"/>' % c["second"])
    o.append('</g>')
    o.append(head(31, 22.5, hair="#8a4a1c"))
    # beret with feather
    o.append('<g stroke="%s" stroke-width="0.45">'
             '<path d="M36,16.5 Q44,8 47,9.6 Q42,11 37.2,17.6 Z" fill="#f4f0e6"/>'
             '<ellipse cx="30.6" cy="17" rx="7.6" ry="2.6" fill="%s"/>'
             '<path d="M24.6,16.6 Q30.6,11 36.6,16.6 Z" fill="%s"/></g>' % (INK, c["hat"], c["hat"]))
    o.append(sign_in_hand("knave", suit, 43.6, 41.2, 1.7))
    return "".join(o)


def king(suit):
    c = DRESS[suit]
    o = []
    # throne back
    o.append('<path d="M17,72 L17,26 Q17,15 31,14 Q45,15 45,26 L45,72 Z" fill="%s" '
             'stroke="%s" stroke-width="0.5"/>' % (c["second"], INK))
    o.append('<path d="M19.6,72 L19.6,27 Q20,18 31,17 Q42,18 42.4,27 L42.4,72 Z" fill="none" '
             'stroke="#f2c230" stroke-width="0.8"/>')
    o.append('<ellipse cx="31" cy="91" rx="17" ry="2.3" fill="#d8cba4"/>')
    o.append('<g stroke="%s" stroke-width="0.5" stroke-linejoin="round">' % INK)
    # long robe
    o.append('<path d="M23.4,31 Q31,28.4 38.6,31 L44.4,66 L46.6,88.4 Q31,91.4 15.4,88.4 '
             'L17.6,66 Z" fill="%s"/>' % c["main"])
    o.append('<path d="M15.9,85 Q31,88 46.1,85 L46.6,88.4 Q31,91.4 15.4,88.4 Z" fill="url(#goldbar)"/>')
    # cloak with ermine edge
    o.append('<path d="M23.4,31 Q31,28.4 38.6,31 L43.4,58 L38,60 L33,33 L29,33 L24,60 L18.6,58 Z" '
             'fill="%s"/>' % c["hose"])
    o.append('<path d="M29,33 L24,60 L26.4,60.6 L30.6,33 Z M33,33 L38,60 L35.6,60.6 L31.4,33 Z" '
             'fill="#fbfaf4"/>')
    o.append('</g>')
    o.append('<g fill="%s">' % INK + "".join(
        '<circle cx="%s" cy="%s" r="0.35"/>' % (f(x), f(y))
        for x, y in [(28.4, 38), (27.2, 45), (26, 52), (33.6, 38), (34.8, 45), (36, 52)]) + '</g>')
    # shoes under the robe
    o.append('<g stroke="%s" stroke-width="0.45" fill="#3b2414">'
             '<ellipse cx="25.6" cy="90" rx="3.4" ry="1.3"/><ellipse cx="36.4" cy="90" rx="3.4" ry="1.3"/>'
             '</g>' % INK)
    # arm across holding the sign on the right, other hand on the sceptre
    o.append('<g stroke="%s" stroke-width="0.5">' % INK)
    o.append('<path d="M36.8,32 L44.6,42.4 L42.4,44.6 L35,37 Z" fill="%s"/>' % c["main"])
    o.append('<path d="M16.8,30 L18.6,66" fill="none" stroke="#b87810" stroke-width="1.4"/>')
    o.append('<circle cx="16.7" cy="29" r="1.9" fill="url(#gold)"/>')
    o.append('<path d="M25.4,32 L18.6,44 L21,45.6 L27.4,37 Z" fill="%s"/>' % c["main"])
    o.append('<circle cx="19" cy="45.6" r="1.7" fill="%s"/>' % SKIN)
    o.append('</g>')
    o.append(head(31, 23, beard="#e9e3d4" if suit in ("coins", "swords") else "#7a4a22",
                  hair="#e9e3d4" if suit in ("coins", "swords") else "#7a4a22"))
    # crown
    o.append('<g stroke="%s" stroke-width="0.45">'
             '<path d="M25.2,19 L24.8,11.6 L27.8,14.6 L31,9.4 L34.2,14.6 L37.2,11.6 L36.8,19 Z" '
             'fill="url(#goldbar)"/>'
             '<circle cx="31" cy="9.6" r="0.9" fill="#c8262d"/>'
             '<circle cx="24.9" cy="11.6" r="0.7" fill="#c8262d"/>'
             '<circle cx="37.1" cy="11.6" r="0.7" fill="#c8262d"/>'
             '<circle cx="31" cy="16.6" r="0.9" fill="#1f4e9c"/></g>' % INK)
    o.append(sign_in_hand("king", suit, 43.8, 44.2, 1.7))
    return "".join(o)


def knight(suit):
    c = DRESS[suit]
    horse = c["horse"]
    mane = "#3b2414" if horse.startswith("#f") or horse.startswith("#e") else "#2a180c"
    o = ['<ellipse cx="31" cy="90.6" rx="21" ry="2.3" fill="#d8cba4"/>']
    o.append('<g stroke="%s" stroke-width="0.5" stroke-linejoin="round">' % INK)
    # tail and far legs
    o.append('<path d="M16.4,58 Q8.6,62 10,78 Q12.4,70 17.8,63 Z" fill="%s"/>' % mane)
    o.append('<path d="M22.4,66 L25.4,66.4 L24.4,88 L21.8,88 Z" fill="%s"/>' % horse)
    o.append('<path d="M39.6,64 L42.6,62.8 L48.6,71 L46.6,73.4 Z" fill="%s"/>' % horse)
    # body, neck, head
    o.append('<path d="M15.6,60 Q16,52 26,52.6 L38.4,52.4 Q41,44 46.6,36.6 Q50,34 53,37.4 '
             'L58.4,45.6 Q59,48.6 55.8,49.4 L51,46 Q47.4,50 44.6,58 Q45,66 40,68.4 Q30,71.6 '
             '21,68.4 Q15.4,66.4 15.6,60 Z" fill="%s"/>' % horse)
    o.append('<path d="M47.4,36.4 L47.6,31.8 L50.2,35.4 Z" fill="%s"/>' % horse)
    o.append('<path d="M46.6,36.6 Q41,44 38.4,52.4 L40.4,52 Q43,44.4 47.8,37.8 Z" fill="%s"/>' % mane)
    # near legs
    o.append('<path d="M16.8,62 L21.2,64.6 L19.2,88 L16.2,88 Z" fill="%s"/>' % horse)
    o.append('<path d="M36.6,66 L40.2,65.6 L40.8,88 L37.8,88 Z" fill="%s"/>' % horse)
    o.append('</g>')
    o.append('<g fill="#2a180c">'
             '<rect x="15.6" y="87.4" width="4" height="2.4" rx="0.6"/>'
             '<rect x="21.4" y="87.4" width="3.4" height="2.2" rx="0.6"/>'
             '<rect x="37.4" y="87.4" width="4" height="2.4" rx="0.6"/>'
             '<circle cx="52.6" cy="40" r="0.7"/></g>')
    # caparison
    o.append('<path d="M21,52.6 L38.6,52.4 L38,68.6 Q30,71.2 22,68.6 Z" fill="%s" stroke="%s" '
             'stroke-width="0.5"/>' % (c["main"], INK))
    o.append('<path d="M22,66 Q30,68.6 38.2,66 L38,68.6 Q30,71.2 22,68.6 Z" fill="url(#goldbar)"/>')
    # reins
    o.append('<path d="M34.6,45.4 Q46,48 56.4,47" fill="none" stroke="#3b2414" stroke-width="0.6"/>')
    # rider
    o.append('<g stroke="%s" stroke-width="0.5" stroke-linejoin="round">' % INK)
    o.append('<path d="M27.4,50 L32.8,50 L33.4,68 L30.4,70.6 L28.6,68 Z" fill="%s"/>' % c["hose"])
    o.append('<path d="M28.6,69 L33.8,69.4 L34.4,71.8 L28.6,71.8 Z" fill="#3b2414"/>')
    o.append('<path d="M25.2,31.6 Q30,29.4 34.8,31.6 L36.6,52.6 Q30,54.4 23.4,52.6 Z" fill="%s"/>'
             % c["second"])
    o.append('<rect x="24.2" y="44" width="11.8" height="2.2" fill="url(#goldbar)"/>')
    o.append('<path d="M26.2,33.4 L33.4,44.6 L35,42.6 L29.2,33 Z" fill="%s"/>' % c["main"])
    o.append('<circle cx="34.4" cy="45" r="1.6" fill="%s"/>' % SKIN)
    o.append('<path d="M34,32 L41.6,25.2 L43.2,27.2 L36.4,35.4 Z" fill="%s"/>' % c["main"])
    o.append('</g>')
    o.append(head(29.6, 24, r=4.5, hair="#5a2e12"))
    o.append('<g stroke="%s" stroke-width="0.45">'
             '<path d="M23.4,19.6 Q29.6,11.4 35.8,19.6 Z" fill="%s"/>'
             '<path d="M22.4,20 L36.8,20 L36.4,21.4 L22.8,21.4 Z" fill="%s"/></g>' % (INK, c["hat"], c["hat"]))
    o.append(sign_in_hand("knight", suit, 42.6, 25.6, 1.6))
    return "".join(o)


COURT = {8: knave, 9: knight, 10: king}


# ---------------------------------------------------------------- back

def back():
    o = ['<rect width="%d" height="%d" rx="3" fill="#fdfcf8"/>' % (W, H)]
    x0, y0, x1, y1 = 4.0, 4.0, 58.0, 96.0
    o.append('<rect x="4" y="4" width="54" height="92" rx="1.5" fill="url(#backshade)"/>')
    # diagonal lattice clipped to the panel by hand, as Qt has no patterns
    segs = []
    step = 6.0
    for sign in (1, -1):
        k = -120.0
        while k <= 160.0:
            pts = []
            # line: y = sign*x + k
            for x in (x0, x1):
                y = sign * x + k
                if y0 <= y <= y1:
                    pts.append((x, y))
            for y in (y0, y1):
                x = (y - k) * sign
                if x0 <= x <= x1:
                    pts.append((x, y))
            pts = sorted(set((round(a, 3), round(b, 3)) for a, b in pts))
            if len(pts) >= 2:
                (ax, ay), (bx, by) = pts[0], pts[-1]
                if (ax, ay) != (bx, by):
                    segs.append("M%s,%sL%s,%s" % (f(ax), f(ay), f(bx), f(by)))
            k += step
    o.append('<path d="%s" fill="none" stroke="#7fa6e0" stroke-width="0.5"/>' % "".join(segs))
    dots = []
    for i in range(0, 20):
        for j in range(0, 32):
            x = x0 + 3 + i * 6
            y = y0 + j * 3 + (3 if i % 2 else 0)
            if x < x1 - 0.5 and y < y1 - 0.5 and y > y0 + 0.5 and (j % 2 == 0):
                dots.append((x, y))
    o.append('<g fill="#d4e2fa">' + "".join('<circle cx="%s" cy="%s" r="0.55"/>' % (f(x), f(y))
                                             for x, y in dots) + '</g>')
    o.append('<rect x="6.4" y="6.4" width="49.2" height="87.2" rx="1" fill="none" stroke="#fdfcf8" '
             'stroke-width="0.8"/>')
    # central medallion
    petals = "".join('<ellipse cx="0" cy="-7" rx="2.6" ry="5.4" transform="rotate(%d)"/>' % a
                     for a in range(0, 360, 30))
    o.append('<g transform="translate(31 50)">'
             '<ellipse rx="17" ry="22" fill="#fdfcf8"/>'
             '<ellipse rx="15.2" ry="20.2" fill="#1f4e9c"/>'
             '<g fill="#9cbcf0" stroke="#fdfcf8" stroke-width="0.4">%s</g>'
             '<circle r="5" fill="#fdfcf8"/><circle r="3.2" fill="#c8262d"/>'
             '<circle r="1.2" fill="#f2c230"/></g>' % petals)
    for cx, cy, rot in ((31, 15, 0), (31, 85, 180)):
        o.append('<g transform="translate(%d %d) rotate(%d)" fill="#fdfcf8">'
                 '<path d="M0,-4 L5,0 L0,4 L-5,0 Z"/><circle cx="-8" r="1.2"/><circle cx="8" r="1.2"/>'
                 '</g>' % (cx, cy, rot))
    return "".join(o)


# ---------------------------------------------------------------- document

def card(code):
    suit = SUITS[(code - 1) // 10]
    rank = (code - 1) % 10 + 1
    body = card_base()
    if rank <= 7:
        body += PIPS[suit](rank)
    else:
        body += COURT[rank](suit)
    body += index(rank, suit)
    return body


def place(i):
    return (i % COLUMNS) * PITCH_X, (i // COLUMNS) * PITCH_Y


def document():
    rows = 5
    width, height = COLUMNS * PITCH_X, rows * PITCH_Y
    parts = ['<?xml version="1.0" encoding="UTF-8"?>\n',
             '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
             'version="1.2" baseProfile="tiny" width="%d" height="%d" viewBox="0 0 %d %d">\n'
             % (width, height, width, height),
             '<title>Zentolletto deck</title>\n', defs(), "\n"]
    for code in range(1, 41):
        x, y = place(code - 1)
        parts.append('<g id="card%d" transform="translate(%d %d)">%s</g>\n' % (code, x, y, card(code)))
    x, y = place(40)
    parts.append('<g id="back" transform="translate(%d %d)">%s</g>\n' % (x, y, back()))
    parts.append("</svg>\n")
    return "".join(parts)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "assets", "pictures", "deck.svg")
    out = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default)
    with open(out, "w", encoding="utf-8") as fh:
        fh.write(document())
    print("wrote %s (%d bytes)" % (out, os.path.getsize(out)))


if __name__ == "__main__":
    main()
