"""Button faces: tool bar, dialog buttons, option buttons, flags."""
import math
from common import *

BLUE = "#2F6FD0"
RED = "#D23A2E"
GREEN = "#2E9E45"
INK = "#10213F"


class Pal:
    def __init__(self, state):
        self.state = state

    def c(self, col):
        if self.state != "disabled":
            return col
        r, g, b = (int(col[i:i + 2], 16) for i in (1, 3, 5))
        lum = round(0.3 * r + 0.59 * g + 0.11 * b)
        lum = round(150 + lum * 0.35)
        return f"#{lum:02X}{lum:02X}{lum:02X}"

    @property
    def fg(self):
        return "#FFFFFF" if self.state != "disabled" else "#D8D8D8"

    @property
    def ink(self):
        return INK if self.state != "disabled" else "#555555"


def plate(s, base, state, w=50, h=50, inset=3, rx=10):
    x, y, pw, ph = inset, inset, w - 2 * inset, h - 2 * inset
    if state == "disabled":
        base = "#8A8A8A"
    if state == "hover":
        s.add(rect(0.5, 0.5, w - 1, h - 1, rx=rx + 2.5,
                   fill=s.rad([(0, "#FFF8C0", 1), (0.75, "#FFE066", 0.9), (1, "#FFC400", 0.35)], r=0.6)))
        base = lighten(base, 0.2)
    top, bot = lighten(base, 0.38), darken(base, 0.28)
    s.add(rect(x, y, pw, ph, rx=rx, fill=s.lin([(0, top), (0.5, base), (1, bot)]),
               stroke=darken(base, 0.62), stroke_width=1.5))
    # gloss over the upper half
    s.add(rect(x + 2.5, y + 2, pw - 5, ph * 0.46, rx=rx - 2.5,
               fill=s.lin([(0, "#FFFFFF", 0.55), (1, "#FFFFFF", 0.06)])))
    if state == "hover":
        s.add(rect(x + 1.2, y + 1.2, pw - 2.4, ph - 2.4, rx=rx - 1.2, fill="none",
                   stroke="#FFF7C8", stroke_width=1.2, stroke_opacity=0.9))


def face(name, base, symbol, states=("normal", "hover"), w=50, h=50, inset=3, rx=10, title=""):
    for st in states:
        s = Svg(w, h, title)
        plate(s, base, st, w, h, inset, rx)
        p = Pal(st)
        items = symbol(s, p)
        g = group(items, opacity=0.8) if st == "disabled" else "".join(items)
        s.add(g)
        s.save(f"{name}-{st}.svg")


# ---- symbols (50 x 50 space) ----

def sym_newgame(s, p):
    return [
        path("M14,10 H29 L36,17 V40 H14 Z", fill=p.fg, stroke=p.ink, stroke_width=1.4, stroke_linejoin="round"),
        path("M29,10 V17 H36 Z", fill=p.c("#C6D3EA"), stroke=p.ink, stroke_width=1.2, stroke_linejoin="round"),
        line(18, 22, 28, 22, stroke=p.c("#9AAACB"), stroke_width=1.4),
        line(18, 26, 25, 26, stroke=p.c("#9AAACB"), stroke_width=1.4),
        circle(33.5, 33.5, 8.5, fill=p.c("#2DBA4E"), stroke=p.fg, stroke_width=1.6),
        path("M33.5,28.5 V38.5 M28.5,33.5 H38.5", stroke=p.fg, stroke_width=2.8, stroke_linecap="round", fill="none"),
    ]


def sym_load(s, p):
    return [
        path("M9,15 H19 L22,18 H37 V37 H9 Z", fill=p.c("#E7A93A"), stroke=p.c("#5A3A00"), stroke_width=1.3,
             stroke_linejoin="round"),
        path("M9,37 L14,24 H43 L37,37 Z", fill=p.c("#FFD46A"), stroke=p.c("#5A3A00"), stroke_width=1.3,
             stroke_linejoin="round"),
        path("M28,5.5 L36,13.5 H31.5 V21 H24.5 V13.5 H20 Z", fill=p.fg, stroke=p.ink, stroke_width=1.3,
             stroke_linejoin="round"),
    ]


def sym_help(s, p):
    rays = []
    for a in (-150, -120, -90, -60, -30):
        r = math.radians(a)
        rays.append(line(25 + 13 * math.cos(r), 20 + 13 * math.sin(r), 25 + 17 * math.cos(r), 20 + 17 * math.sin(r),
                         stroke=p.c("#FFF3A8"), stroke_width=2, stroke_linecap="round"))
    glass = s.rad([(0, p.c("#FFFBD6")), (0.6, p.c("#FFE24A")), (1, p.c("#F2B705"))], cx=0.42, cy=0.38, r=0.6)
    return rays + [
        path("M25,10 A10,10 0 0 1 31.5,27.6 L30.5,32 H19.5 L18.5,27.6 A10,10 0 0 1 25,10 Z", fill=glass,
             stroke=p.c("#6B4D00"), stroke_width=1.3, stroke_linejoin="round"),
        path("M22,31 L23,24 L25,27 L27,24 L28,31", fill="none", stroke=p.c("#B07A00"), stroke_width=1.1),
        rect(19.5, 32, 11, 3, rx=1, fill=p.c("#D9D9D9"), stroke=p.ink, stroke_width=1),
        rect(20, 35, 10, 3, rx=1, fill=p.c("#BDBDBD"), stroke=p.ink, stroke_width=1),
        path("M22,38 H28 L26.5,40.5 H23.5 Z", fill=p.c("#6F6F6F"), stroke=p.ink, stroke_width=1),
    ]


def sym_stats(s, p):
    bars = [(10.5, 28, "#FF6A5E"), (18.5, 21, "#FFD24A"), (26.5, 14, "#57D46A"), (34.5, 24, "#5FD4FF")]
    out = [line(8, 38.5, 42, 38.5, stroke=p.fg, stroke_width=2, stroke_linecap="round")]
    for x, y, c in bars:
        out.append(rect(x, y, 6, 38 - y, fill=p.c(c), stroke=p.ink, stroke_width=1.2))
    return out


def tri(x, y, size, rot):
    """Right isosceles triangle of the game's piece, right angle at the origin corner, turned by rot degrees."""
    pts = [(0, 0), (size, 0), (0, size)]
    cx, cy = size / 2, size / 2
    r = math.radians(rot)
    out = []
    for px, py in pts:
        dx, dy = px - cx, py - cy
        out.append((x + dx * math.cos(r) - dy * math.sin(r), y + dx * math.sin(r) + dy * math.cos(r)))
    return out


def sym_select(s, p):
    out = []
    cards = [(9, 9, 0), (26, 9, 90), (9, 26, 270), (26, 26, 180)]
    for i, (x, y, rot) in enumerate(cards):
        out.append(rect(x, y, 15, 15, fill=p.c("#C0C0C0"), stroke=p.ink, stroke_width=1.2))
        out.append(poly(tri(x + 7.5, y + 7.5, 10, rot), fill="#000000" if p.state != "disabled" else "#666666"))
    out.append(rect(25, 25, 17, 17, fill="none", stroke=p.c("#FFD83A"), stroke_width=2))
    return out


def gear_path(cx, cy, ro, ri, rh, teeth=8):
    pts = []
    n = teeth * 4
    for i in range(n):
        a = 2 * math.pi * (i + 0.5) / n
        r = ro if (i % 4) in (1, 2) else ri
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    d = "M" + " L".join(f"{f(x)},{f(y)}" for x, y in pts) + " Z "
    d += f"M{f(cx + rh)},{f(cy)} A{f(rh)},{f(rh)} 0 1 0 {f(cx - rh)},{f(cy)} A{f(rh)},{f(rh)} 0 1 0 {f(cx + rh)},{f(cy)} Z"
    return d


def sym_options(s, p):
    return [path(gear_path(25, 25, 15, 11, 5), fill=p.fg, fill_rule="evenodd", stroke=p.ink, stroke_width=1.3,
                 stroke_linejoin="round"),
            circle(25, 25, 8, fill="none", stroke=p.c("#9AAACB"), stroke_width=1.2)]


def sym_info(s, p):
    col = p.c(INK)
    return [circle(25, 25, 15, fill=p.fg, stroke=p.ink, stroke_width=1.3),
            circle(25, 16.5, 2.8, fill=col),
            path("M21,22 H27.5 V33 H30 V36 H20 V33 H22.5 V25 H21 Z", fill=col)]


def sym_rules(s, p):
    return [
        path("M25,14 C20,10.5 13,10.5 8,12.5 V37 C13,35 20,35 25,38 C30,35 37,35 42,37 V12.5 C37,10.5 30,10.5 25,14 Z",
             fill=p.c("#8E2E1E"), stroke=p.ink, stroke_width=1.2, stroke_linejoin="round"),
        path("M25,15 C20.5,12 14,12 10,13.5 V34.5 C14,33 20.5,33 25,35.5 Z", fill=p.fg, stroke=p.ink,
             stroke_width=1.1, stroke_linejoin="round"),
        path("M25,15 C29.5,12 36,12 40,13.5 V34.5 C36,33 29.5,33 25,35.5 Z", fill=p.c("#F3F0E6"), stroke=p.ink,
             stroke_width=1.1, stroke_linejoin="round"),
        path("M13,18 C16,17 19,17 22,18.5 M13,22 C16,21 19,21 22,22.5 M13,26 C16,25 19,25 22,26.5 "
             "M28,18.5 C31,17 34,17 37,18 M28,22.5 C31,21 34,21 37,22 M28,26.5 C31,25 34,25 37,26",
             fill="none", stroke=p.c("#7D8AA8"), stroke_width=1.2),
        path("M33,12.6 V21 L35,19 L37,21 V12.7", fill=p.c("#E23B3B"), stroke=p.c("#7A1010"), stroke_width=0.8),
    ]


def sym_exit(s, p):
    return [
        rect(10, 9, 18, 32, fill=p.c("#3A2413"), stroke=p.fg, stroke_width=1.6),
        path("M11,10 L22,13 V43 L11,40 Z", fill=p.c("#A8682E"), stroke=p.ink, stroke_width=1.2, stroke_linejoin="round"),
        circle(19.5, 27, 1.4, fill=p.c("#FFD24A")),
        path("M27,22 H35 V17 L43.5,25 L35,33 V28 H27 Z", fill=p.fg, stroke=p.ink, stroke_width=1.3,
             stroke_linejoin="round"),
    ]


def sym_tick(s, p):
    d = "M13,26 L21.5,34.5 L37.5,15.5"
    return [path(d, fill="none", stroke=p.c("#0B3D16"), stroke_width=9, stroke_linecap="round", stroke_linejoin="round"),
            path(d, fill="none", stroke=p.fg, stroke_width=5.5, stroke_linecap="round", stroke_linejoin="round")]


def sym_cross(s, p):
    d = "M16,16 L34,34 M34,16 L16,34"
    return [path(d, fill="none", stroke=p.c("#4A0A05"), stroke_width=9, stroke_linecap="round"),
            path(d, fill="none", stroke=p.fg, stroke_width=5.5, stroke_linecap="round")]


# ---- option symbols ----

def sym_language(s, p):
    blue = p.c("#1F4E9E")
    return [
        circle(22, 28, 13, fill=s.rad([(0, p.c("#E9F6FF")), (1, p.c("#9ED3F5"))], cx=0.4, cy=0.35, r=0.7),
               stroke=p.ink, stroke_width=1.3),
        ellipse(22, 28, 5.5, 13, fill="none", stroke=blue, stroke_width=1.1),
        line(22, 15, 22, 41, stroke=blue, stroke_width=1.1),
        line(9, 28, 35, 28, stroke=blue, stroke_width=1.1),
        path("M11,21.5 H33 M11,34.5 H33", stroke=blue, stroke_width=1.1, fill="none"),
        path("M29,7 H43 A2.5,2.5 0 0 1 45.5,9.5 V18 A2.5,2.5 0 0 1 43,20.5 H37 L32,25 L33,20.5 H29 "
             "A2.5,2.5 0 0 1 26.5,18 V9.5 A2.5,2.5 0 0 1 29,7 Z",
             fill=p.c("#FFD84A"), stroke=p.ink, stroke_width=1.2, stroke_linejoin="round"),
        path("M31.5,17.5 L36,9.5 L40.5,17.5 M33.2,14.6 H38.8", fill="none", stroke=p.ink, stroke_width=1.5,
             stroke_linejoin="round"),
    ]


def sym_sound(s, p):
    return [
        path("M9,20 H16 L25,12 V38 L16,30 H9 Z", fill=p.fg, stroke=p.ink, stroke_width=1.3, stroke_linejoin="round"),
        path("M29.5,19.5 A7.5,7.5 0 0 1 29.5,30.5", fill="none", stroke=p.ink, stroke_width=4.4, stroke_linecap="round"),
        path("M33.5,14.5 A13,13 0 0 1 33.5,35.5", fill="none", stroke=p.ink, stroke_width=4.4, stroke_linecap="round"),
        path("M29.5,19.5 A7.5,7.5 0 0 1 29.5,30.5", fill="none", stroke=p.fg, stroke_width=2.4, stroke_linecap="round"),
        path("M33.5,14.5 A13,13 0 0 1 33.5,35.5", fill="none", stroke=p.fg, stroke_width=2.4, stroke_linecap="round"),
    ]


def sym_music(s, p):
    return [
        path("M17.5,36 V14.5 L37.5,9.5 V32", fill="none", stroke=p.ink, stroke_width=4.6, stroke_linejoin="round"),
        path("M17.5,14.5 L37.5,9.5 V15.5 L17.5,20.5 Z", fill=p.fg, stroke=p.ink, stroke_width=1.2, stroke_linejoin="round"),
        path("M17.5,36 V14.5 M37.5,15 V32", fill="none", stroke=p.fg, stroke_width=2.4),
        ellipse(13, 36.5, 5.6, 4.2, fill=p.fg, stroke=p.ink, stroke_width=1.2, transform="rotate(-22 13 36.5)"),
        ellipse(33, 32.5, 5.6, 4.2, fill=p.fg, stroke=p.ink, stroke_width=1.2, transform="rotate(-22 33 32.5)"),
    ]


def sym_background(s, p):
    return [
        rect(7.5, 10.5, 35, 29, fill=p.c("#C9A26B"), stroke=p.ink, stroke_width=1.3),
        rect(11, 14, 28, 22, fill=s.lin([(0, p.c("#5CB6F0")), (1, p.c("#CDEBFF"))])),
        circle(32, 19.5, 3.2, fill=p.c("#FFE14D")),
        path("M11,36 L19,24 L25,31 L29,27 L39,36 Z", fill=p.c("#3E9E4A"), stroke=p.c("#1F5A27"), stroke_width=0.8,
             stroke_linejoin="round"),
        rect(11, 14, 28, 22, fill="none", stroke=p.ink, stroke_width=1),
    ]


def sym_pattern(s, p):
    return [
        rect(8, 10, 34, 30, fill=p.c("#C0C0C0"), stroke=p.ink, stroke_width=1.3),
        rect(8.65, 10.65, 32.7, 5.5, fill=p.c("#1F4E9E")),
        rect(36.5, 12, 3.5, 3, fill=p.c("#DDE6F5")),
        poly([(13, 28), (25, 16), (37, 28)], fill=p.c("#000000")),
        rect(16.5, 27.5, 17, 9.5, fill=p.c("#000000")),
    ]


# ---- navigation (50 x 25) ----

def arrow(up, p, col, x=25):
    if up:
        pts = [(x, 5.5), (x + 10, 17.5), (x - 10, 17.5)]
    else:
        pts = [(x, 19.5), (x + 10, 7.5), (x - 10, 7.5)]
    return poly(pts, fill=col, stroke=p.ink, stroke_width=1.3, stroke_linejoin="round")


def sym_next(s, p):
    return [arrow(True, p, p.fg)]


def sym_prev(s, p):
    return [arrow(False, p, p.fg)]


def open_piece(p, up):
    y0 = 7.5 if up else 7.5
    return poly([(33.5, y0), (43.5, y0 + 10), (33.5, y0 + 10)], fill="none", stroke=p.fg, stroke_width=1.8,
                stroke_linejoin="round")


def sym_next_unsolved(s, p):
    return [arrow(True, p, p.c("#FFC83D"), x=20), open_piece(p, True)]


def sym_prev_unsolved(s, p):
    return [arrow(False, p, p.c("#FFC83D"), x=20), open_piece(p, False)]


# ---- flags ----

def union_jack(x, y, w, h):
    out = [rect(x, y, w, h, fill="#012169")]
    L = math.hypot(w, h)

    def band(t, flip, col):
        # band along a diagonal, cut to the flag's rectangle
        a, b = t * L / h, t * L / w
        pts = [(0, 0), (a, 0), (w, h - b), (w, h), (w - a, h), (0, b)]
        if flip:
            pts = [(px, h - py) for px, py in pts]
        return poly([(x + px, y + py) for px, py in pts], fill=col)

    out += [band(h * 0.1, False, "#FFFFFF"), band(h * 0.1, True, "#FFFFFF"),
            band(h * 0.035, False, "#C8102E"), band(h * 0.035, True, "#C8102E")]
    cw, rw = h / 3, h / 5
    out += [rect(x + (w - cw) / 2, y, cw, h, fill="#FFFFFF"), rect(x, y + (h - cw) / 2, w, cw, fill="#FFFFFF"),
            rect(x + (w - rw) / 2, y, rw, h, fill="#C8102E"), rect(x, y + (h - rw) / 2, w, rw, fill="#C8102E")]
    return out


def us_flag(x, y, w, h):
    out = [rect(x, y, w, h, fill="#FFFFFF")]
    sh = h / 13
    for i in range(0, 13, 2):
        out.append(rect(x, y + i * sh, w, sh, fill="#B22234"))
    cw, ch = w * 0.4, sh * 7
    out.append(rect(x, y, cw, ch, fill="#3C3B6E"))
    for r in range(4):
        for c in range(5):
            out.append(circle(x + cw * (c + 0.5 + (0.25 if r % 2 else -0.25)) / 5.2 + 0.3,
                              y + ch * (r + 0.5) / 4, 0.75, fill="#FFFFFF"))
    return out


def flag_frame(x, y, w, h):
    return rect(x, y, w, h, fill="none", stroke="#1A1A1A", stroke_width=1.2)


def shadow(x, y, w, h):
    return rect(x + 1.5, y + 1.5, w, h, fill="#000000", fill_opacity=0.35)


def flags(name, draw, title):
    for st in ("normal", "hover"):
        s = Svg(50, 50, title)
        if st == "hover":
            s.add(rect(0.5, 0.5, 49, 49, rx=9,
                       fill=s.rad([(0, "#FFF8C0", 1), (0.75, "#FFE066", 0.9), (1, "#FFC400", 0.35)], r=0.6)))
        items = draw(s, st)
        s.add("".join(items))
        s.save(f"{name}-{st}.svg")


def draw_german(s, st):
    out = []
    x, y, w, h = 4, 5, 42, 25
    out += [shadow(x, y, w, h), rect(x, y, w, h / 3, fill="#000000"), rect(x, y + h / 3, w, h / 3, fill="#DD0000"),
            rect(x, y + 2 * h / 3, w, h / 3, fill="#FFCE00"), flag_frame(x, y, w, h)]
    x, y, w, h = 4, 33, 21, 14
    out += [shadow(x, y, w, h), rect(x, y, w, h, fill="#C8102E"), rect(x, y + h / 3, w, h / 3, fill="#FFFFFF"),
            flag_frame(x, y, w, h)]
    x, y, w, h = 32, 33, 14, 14
    out += [shadow(x, y, w, h), rect(x, y, w, h, fill="#DA291C"),
            rect(x + 5.7, y + 2.6, 2.6, 8.8, fill="#FFFFFF"), rect(x + 2.6, y + 5.7, 8.8, 2.6, fill="#FFFFFF"),
            flag_frame(x, y, w, h)]
    if st == "hover":
        out.append(rect(4, 5, 42, 12, fill="#FFFFFF", fill_opacity=0.12))
    return out


def draw_english(s, st):
    out = []
    x, y, w, h = 4, 4, 42, 21
    out += [shadow(x, y, w, h)] + union_jack(x, y, w, h) + [flag_frame(x, y, w, h)]
    x, y, w, h = 4, 28, 42, 19
    out += [shadow(x, y, w, h)] + us_flag(x, y, w, h) + [flag_frame(x, y, w, h)]
    if st == "hover":
        out.append(rect(4, 4, 42, 10, fill="#FFFFFF", fill_opacity=0.12))
    return out


def main():
    three = ("normal", "hover", "disabled")
    face("tool-newgame", BLUE, sym_newgame, three, title="New game")
    face("tool-load", BLUE, sym_load, three, title="Load game")
    face("tool-help", BLUE, sym_help, three, title="Help")
    face("tool-stats", BLUE, sym_stats, three, title="Statistics")
    face("tool-select", BLUE, sym_select, three, title="Select Quellon")
    face("tool-options", BLUE, sym_options, title="Options")
    face("tool-info", BLUE, sym_info, title="Information")
    face("tool-rules", BLUE, sym_rules, title="Rules")
    face("tool-exit", RED, sym_exit, title="Exit")
    nav = dict(w=50, h=25, inset=2, rx=7)
    face("tool-next", BLUE, sym_next, title="Next Quellon", **nav)
    face("tool-prev", BLUE, sym_prev, title="Previous Quellon", **nav)
    face("tool-next-unsolved", BLUE, sym_next_unsolved, title="Next unsolved Quellon", **nav)
    face("tool-prev-unsolved", BLUE, sym_prev_unsolved, title="Previous unsolved Quellon", **nav)
    face("button-ok", GREEN, sym_tick, title="OK / Yes")
    face("button-cancel", RED, sym_cross, title="Cancel / No")
    face("option-language", BLUE, sym_language, title="Language")
    face("option-sound", BLUE, sym_sound, title="Sound")
    face("option-music", BLUE, sym_music, three, title="Music")
    face("option-background", BLUE, sym_background, title="Background")
    face("option-pattern", BLUE, sym_pattern, title="Pattern")
    flags("flag-german", draw_german, "Deutsch")
    flags("flag-english", draw_english, "English")


if __name__ == "__main__":
    main()
