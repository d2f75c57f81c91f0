"""Background sheet rows (window tile x 0-99, tool-bar tile x 100-199) and dialog textures.

The window tile wraps in both directions: every element near an edge is repeated
100 px further on, so the tile repeats without seams. Its spill to the right is
covered by the tool-bar tile, drawn afterwards. The tool-bar tile only repeats
sideways; it holds elements strictly inside x 100-199 and full-width lines whose
ends meet level, so nothing of it spills into the window tile.
"""
import math
import random
from common import *


def periodic_curve(pts_y, x0=0.0, period=100.0):
    """Smooth closed-period curve through equally spaced y values (Catmull-Rom -> cubic)."""
    n = len(pts_y)
    step = period / n
    ys = pts_y + [pts_y[0]]
    pts = [(x0 + i * step, ys[i]) for i in range(n + 1)]

    def y_at(i):
        return pts_y[i % n]

    d = f"M{f(pts[0][0])},{f(pts[0][1])}"
    for i in range(n):
        p0 = (x0 + (i - 1) * step, y_at(i - 1))
        p1 = (x0 + i * step, y_at(i))
        p2 = (x0 + (i + 1) * step, y_at(i + 1))
        p3 = (x0 + (i + 2) * step, y_at(i + 2))
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += f" C{f(c1[0])},{f(c1[1])} {f(c2[0])},{f(c2[1])} {f(p2[0])},{f(p2[1])}"
    return d


def cos_wave(rng, y, amp, n=20, terms=2):
    """y values of a sum of cosines: periodic and level at both ends, so the ends meet without a step."""
    ph = [(k, rng.uniform(0.3, 1.0) * amp / k) for k in range(1, terms + 1)]
    return [y + sum(a * math.cos(2 * math.pi * k * i / n) for k, a in ph) for i in range(n)]


def sin_wave(rng, y, amp, n=20, terms=3):
    ph = [(k, rng.uniform(0, 2 * math.pi), rng.uniform(0.3, 1.0) * amp / k) for k in range(1, terms + 1)]
    return [y + sum(a * math.sin(2 * math.pi * k * i / n + p) for k, p, a in ph) for i in range(n)]


def smooth_open(pts):
    """Open Catmull-Rom curve through points."""
    d = f"M{f(pts[0][0])},{f(pts[0][1])}"
    for i in range(len(pts) - 1):
        p0 = pts[max(i - 1, 0)]
        p1, p2 = pts[i], pts[i + 1]
        p3 = pts[min(i + 2, len(pts) - 1)]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += f" C{f(c1[0])},{f(c1[1])} {f(c2[0])},{f(c2[1])} {f(p2[0])},{f(p2[1])}"
    return d


def wrapped(s, make, x, y, reach, size=100):
    """Draw make(dx, dy) once, plus copies shifted by the tile size where it reaches over an edge."""
    xs = [0] + ([size] if x - reach < 0 else []) + ([-size] if x + reach > size else [])
    ys = [0] + ([size] if y - reach < 0 else []) + ([-size] if y + reach > size else [])
    for dx in xs:
        for dy in ys:
            s.add(make(dx, dy))


def shift(dx, dy):
    return None if dx == 0 and dy == 0 else f"translate({dx},{dy})"


def toolbar_bevel(s):
    s.add(rect(100, 0, 100, 60, fill=s.lin([(0, "#FFFFFF", 0.16), (0.12, "#FFFFFF", 0.0), (0.82, "#000000", 0.0),
                                             (1, "#000000", 0.3)])))
    s.add(rect(100, 0, 100, 1, fill="#FFFFFF", fill_opacity=0.3))
    s.add(rect(100, 58.5, 100, 1.5, fill="#000000", fill_opacity=0.35))


# ---------------------------------------------------------------- wood
def wood(s, rng):
    planks = [(0, "#B8824D"), (50, "#AF7A46")]
    for y, c in planks:
        s.add(rect(0, y, 100, 50, fill=c))
    # soft tone changes along each plank
    for y, c in planks:
        for _ in range(3):
            cx, cy = rng.uniform(0, 100), y + rng.uniform(12, 38)
            col = rng.choice(["#C99560", "#9C6A3B"])
            g = s.rad([(0, col, 0.5), (1, col, 0)])
            wrapped(s, lambda dx, dy, cx=cx, cy=cy, g=g: ellipse(cx, cy, 30, 9, fill=g, transform=shift(dx, dy)), cx, cy,
                    30)
    # grain lines: periodic across the tile
    for y0 in (0, 50):
        for i in range(11):
            y = y0 + 3 + i * 4.4 + rng.uniform(-1, 1)
            d = periodic_curve(sin_wave(rng, y, rng.uniform(0.6, 2.0)))
            col = rng.choice(["#7A4D26", "#8A5A2E", "#6B411F", "#D9A66E"])
            op, w = rng.uniform(0.25, 0.55), rng.uniform(0.5, 1.1)
            for dx in (-100, 0, 100):
                s.add(path(d, fill="none", stroke=col, stroke_opacity=op, stroke_width=w, transform=shift(dx, 0)))
    # joints between planks, on whole pixels so they stay crisp
    s.add(rect(0, 0, 100, 1, fill="#4A2E17"))
    s.add(rect(0, 99, 100, 1, fill="#4A2E17"))
    s.add(rect(0, 49, 100, 2, fill="#4A2E17"))
    s.add(rect(0, 51, 100, 1, fill="#D5A36C", fill_opacity=0.5))
    s.add(rect(0, 1, 100, 1, fill="#D5A36C", fill_opacity=0.5))
    s.add(rect(61, 1, 1, 48, fill="#4A2E17"))
    s.add(rect(17, 51, 1, 48, fill="#4A2E17"))


def wood_bar(s, rng):
    s.add(rect(100, 0, 100, 100, fill="#5A361C"))
    for i in range(14):
        y = 2 + i * 4.2 + rng.uniform(-0.8, 0.8)
        d = periodic_curve(cos_wave(rng, y, rng.uniform(0.5, 1.6)), x0=100)
        col = rng.choice(["#3E2410", "#472A13", "#7A4D2A"])
        s.add(path(d, fill="none", stroke=col, stroke_opacity=rng.uniform(0.35, 0.6), stroke_width=rng.uniform(0.5, 1.1)))
    toolbar_bevel(s)


# ---------------------------------------------------------------- marble
def marble(s, rng):
    s.add(rect(0, 0, 100, 100, fill="#D3CEC4"))
    for _ in range(9):
        cx, cy = rng.uniform(0, 100), rng.uniform(0, 100)
        col = rng.choice(["#B9B2A5", "#E8E4DC", "#C3BCAF"])
        rx, ry = rng.uniform(14, 30), rng.uniform(8, 20)
        g = s.rad([(0, col, 0.7), (1, col, 0)])
        wrapped(s, lambda dx, dy, cx=cx, cy=cy, g=g, rx=rx, ry=ry:
                ellipse(cx, cy, rx, ry, fill=g, transform=shift(dx, dy)), cx, cy, max(rx, ry))
    # veins: wandering lines, drawn with their wrapped copies
    for v in range(6):
        x, y = rng.uniform(0, 100), rng.uniform(0, 100)
        ang = rng.uniform(-0.5, 0.5) + (0.9 if v % 2 else -0.2)
        pts = [(x, y)]
        for _ in range(rng.randint(6, 12)):
            ang += rng.uniform(-0.35, 0.35)
            x += 8 * math.cos(ang)
            y += 8 * math.sin(ang)
            pts.append((x, y))
        d = smooth_open(pts)
        col = "#8C857A" if v % 2 == 0 else "#A39B8E"
        w = rng.uniform(0.5, 1.0)
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        for dx in (-200, -100, 0, 100, 200):
            for dy in (-200, -100, 0, 100, 200):
                if max(xs) + dx < -2 or min(xs) + dx > 102 or max(ys) + dy < -2 or min(ys) + dy > 102:
                    continue
                s.add(path(d, fill="none", stroke=col, stroke_opacity=0.5, stroke_width=w, transform=shift(dx, dy)))
                s.add(path(d, fill="none", stroke=col, stroke_opacity=0.1, stroke_width=w * 3,
                           transform=shift(dx, dy)))


def marble_bar(s, rng):
    s.add(rect(100, 0, 100, 100, fill="#2A463B"))
    for _ in range(6):
        cx, cy = rng.uniform(125, 175), rng.uniform(10, 50)
        g = s.rad([(0, "#3D6455", 0.6), (1, "#3D6455", 0)])
        s.add(ellipse(cx, cy, 24, 12, fill=g))
    for i in range(4):
        d = periodic_curve(cos_wave(rng, 8 + i * 14 + rng.uniform(-3, 3), rng.uniform(2, 5), n=20, terms=3), x0=100)
        s.add(path(d, fill="none", stroke="#A8CBBB", stroke_opacity=0.3, stroke_width=rng.uniform(0.4, 0.8)))
    toolbar_bevel(s)


# ---------------------------------------------------------------- felt
def felt(s, rng):
    s.add(rect(0, 0, 100, 100, fill="#2E7548"))
    for _ in range(6):
        cx, cy = rng.uniform(0, 100), rng.uniform(0, 100)
        col = rng.choice(["#347F50", "#286A40"])
        g = s.rad([(0, col, 0.8), (1, col, 0)])
        wrapped(s, lambda dx, dy, cx=cx, cy=cy, g=g: circle(cx, cy, 26, fill=g, transform=shift(dx, dy)), cx, cy, 26)
    for _ in range(900):
        x, y = rng.uniform(0, 100), rng.uniform(0, 100)
        r = rng.uniform(0.35, 0.8)
        col = rng.choice(["#46935F", "#1F5A36", "#3C8A57", "#235F3B"])
        op = rng.uniform(0.35, 0.8)
        wrapped(s, lambda dx, dy, x=x, y=y, r=r, col=col, op=op:
                circle(x + dx, y + dy, r, fill=col, fill_opacity=op), x, y, r)


def felt_bar(s, rng):
    s.add(rect(100, 0, 100, 100, fill="#4A1F14"))
    s.add(rect(100, 0, 100, 60, fill=s.lin([(0, "#7A3824"), (0.5, "#5A2616"), (1, "#3A160C")])))
    for i in range(10):
        d = periodic_curve(cos_wave(rng, 4 + i * 5.5 + rng.uniform(-1, 1), rng.uniform(0.4, 1.2)), x0=100)
        s.add(path(d, fill="none", stroke="#2A0E06", stroke_opacity=0.35, stroke_width=rng.uniform(0.4, 0.9)))
    for y in (5, 54):
        s.add(line(100, y, 200, y, stroke="#D8B45A", stroke_width=1, stroke_dasharray="3,2", stroke_opacity=0.75))
    toolbar_bevel(s)


# ---------------------------------------------------------------- paper
def paper(s, rng):
    s.add(rect(0, 0, 100, 100, fill="#ECE2C9"))
    for _ in range(8):
        cx, cy = rng.uniform(0, 100), rng.uniform(0, 100)
        col = rng.choice(["#DCCFAF", "#F6EFDD", "#E2D5B6"])
        g = s.rad([(0, col, 0.8), (1, col, 0)])
        r = rng.uniform(12, 24)
        wrapped(s, lambda dx, dy, cx=cx, cy=cy, g=g, r=r: circle(cx, cy, r, fill=g, transform=shift(dx, dy)), cx, cy, r)
    for _ in range(150):
        x, y = rng.uniform(0, 100), rng.uniform(0, 100)
        a = rng.uniform(0, math.pi)
        ln = rng.uniform(3, 9)
        bend = rng.uniform(-1.5, 1.5)
        x2, y2 = x + ln * math.cos(a), y + ln * math.sin(a)
        mx, my = (x + x2) / 2 - bend * math.sin(a), (y + y2) / 2 + bend * math.cos(a)
        col = rng.choice(["#B9A77F", "#C8B78F", "#FFFFFF", "#A8946A"])
        op, w = rng.uniform(0.3, 0.6), rng.uniform(0.3, 0.6)
        d = f"M{f(x)},{f(y)} Q{f(mx)},{f(my)} {f(x2)},{f(y2)}"
        wrapped(s, lambda dx, dy, d=d, col=col, op=op, w=w:
                path(d, fill="none", stroke=col, stroke_opacity=op, stroke_width=w, transform=shift(dx, dy)), x, y,
                ln + 2)


def paper_bar(s, rng):
    s.add(rect(100, 0, 100, 100, fill="#8E6B43"))
    for _ in range(90):
        x, y = rng.uniform(106, 194), rng.uniform(3, 57)
        a = rng.uniform(0, math.pi)
        ln = rng.uniform(2, 5)
        col = rng.choice(["#6E5030", "#A8855A", "#5E4226"])
        s.add(line(x, y, x + ln * math.cos(a), y + ln * math.sin(a), stroke=col, stroke_opacity=rng.uniform(0.3, 0.6),
                   stroke_width=rng.uniform(0.3, 0.6)))
    for i in range(5):
        d = periodic_curve(cos_wave(rng, 6 + i * 11, 1.2), x0=100)
        s.add(path(d, fill="none", stroke="#6E5030", stroke_opacity=0.15, stroke_width=2.5))
    toolbar_bevel(s)


# ---------------------------------------------------------------- slate
def slate(s, rng):
    s.add(rect(0, 0, 100, 100, fill="#56616C"))
    # strata: bands between two periodic curves, repeated one period up and down
    y = 0
    while y < 100:
        h = rng.uniform(5, 14)
        top = sin_wave(rng, y, 2.5, n=10)
        bot = [t + h + b for t, b in zip(top, sin_wave(rng, 0, 1.5, n=10))]
        col = rng.choice(["#5F6B77", "#4D5761", "#596470", "#515C67"])
        # build the band as one closed path over three periods (x -100 .. 200)
        n = len(top)
        step = 10
        ptop = [(-100 + i * step, top[i % n]) for i in range(3 * n + 1)]
        pbot = [(-100 + i * step, bot[i % n]) for i in range(3 * n + 1)]
        d = smooth_open(ptop) + " L" + smooth_open(list(reversed(pbot)))[1:] + " Z"
        for dy in (-100, 0, 100):
            s.add(path(d, fill=col, fill_opacity=0.8, transform=shift(0, dy)))
            s.add(path(smooth_open(ptop), fill="none", stroke="#3E474F", stroke_opacity=0.35, stroke_width=0.6,
                       transform=shift(0, dy)))
        y += h
    for _ in range(25):
        x, y = rng.uniform(0, 100), rng.uniform(0, 100)
        a = rng.uniform(-0.4, 0.4)
        ln = rng.uniform(4, 12)
        op = rng.uniform(0.12, 0.3)
        wrapped(s, lambda dx, dy, x=x, y=y, a=a, ln=ln, op=op:
                line(x + dx, y + dy, x + dx + ln * math.cos(a), y + dy + ln * math.sin(a), stroke="#C9D2DA",
                     stroke_opacity=op, stroke_width=0.4), x, y, ln)


def slate_bar(s, rng):
    s.add(rect(100, 0, 100, 100, fill="#2F363D"))
    y = 0
    while y < 60:
        h = rng.uniform(6, 12)
        d1 = periodic_curve(cos_wave(rng, y, 1.5, n=10), x0=100)
        s.add(path(d1, fill="none", stroke="#454E57", stroke_opacity=0.6, stroke_width=h * 0.5))
        s.add(path(d1, fill="none", stroke="#20262B", stroke_opacity=0.5, stroke_width=0.6))
        y += h
    for _ in range(12):
        x, y = rng.uniform(106, 185), rng.uniform(4, 56)
        a = rng.uniform(-0.3, 0.3)
        s.add(line(x, y, x + 9 * math.cos(a), y + 9 * math.sin(a), stroke="#B8C2CC", stroke_opacity=0.15,
                   stroke_width=0.4))
    toolbar_bevel(s)


# ---------------------------------------------------------------- night sky
def star(s, x, y, r, col, glint, dx=0, dy=0):
    out = [circle(x + dx, y + dy, r, fill=col)]
    if glint:
        L = r * 5
        out.append(path(f"M{f(x + dx - L)},{f(y + dy)} H{f(x + dx + L)} M{f(x + dx)},{f(y + dy - L)} V{f(y + dy + L)}",
                        stroke=col, stroke_opacity=0.55, stroke_width=0.45, fill="none"))
        out.append(circle(x + dx, y + dy, r * 2.6, fill=col, fill_opacity=0.18))
    return "".join(out)


def night(s, rng):
    s.add(rect(0, 0, 100, 100, fill="#17244F"))
    for _ in range(4):
        cx, cy = rng.uniform(0, 100), rng.uniform(0, 100)
        col = rng.choice(["#2A2563", "#1B2C5E", "#302058"])
        g = s.rad([(0, col, 0.75), (1, col, 0)])
        wrapped(s, lambda dx, dy, cx=cx, cy=cy, g=g: ellipse(cx, cy, 34, 22, fill=g, transform=shift(dx, dy)), cx, cy,
                34)
    for i in range(70):
        x, y = rng.uniform(0, 100), rng.uniform(0, 100)
        big = i < 4
        r = rng.uniform(0.7, 1.0) if big else rng.uniform(0.25, 0.6)
        col = rng.choice(["#FFFFFF", "#FFF3CF", "#D6E4FF", "#FFFFFF"])
        if not big:
            col = mix(col, "#17244F", rng.uniform(0, 0.5))
        wrapped(s, lambda dx, dy, x=x, y=y, r=r, col=col, big=big: star(s, x, y, r, col, big, dx, dy), x, y,
                6 if big else 1)


def night_bar(s, rng):
    s.add(rect(100, 0, 100, 100, fill="#080D22"))
    s.add(rect(100, 0, 100, 60, fill=s.lin([(0, "#060A1C"), (1, "#182554")])))
    for i in range(22):
        x, y = rng.uniform(102, 198), rng.uniform(2, 56)
        r = rng.uniform(0.25, 0.55)
        s.add(circle(x, y, r, fill="#DDE6FF", fill_opacity=rng.uniform(0.35, 0.9)))
    toolbar_bevel(s)


BACKGROUNDS = [("wood", wood, wood_bar), ("marble", marble, marble_bar), ("felt", felt, felt_bar),
               ("paper", paper, paper_bar), ("slate", slate, slate_bar), ("night sky", night, night_bar)]


# ---------------------------------------------------------------- dialog textures
def texture_dialog():
    rng = random.Random(71)
    s = Svg(100, 100, "Dialog background texture")
    s.add(rect(0, 0, 100, 100, fill="#1C2C57"))
    for _ in range(10):
        cx, cy = rng.uniform(0, 100), rng.uniform(0, 100)
        col = rng.choice(["#2A3F78", "#142046", "#24366A"])
        r = rng.uniform(12, 26)
        g = s.rad([(0, col, 0.8), (1, col, 0)])
        wrapped(s, lambda dx, dy, cx=cx, cy=cy, g=g, r=r: circle(cx, cy, r, fill=g, transform=shift(dx, dy)), cx, cy, r)
    for _ in range(220):
        x, y = rng.uniform(0, 100), rng.uniform(0, 100)
        r = rng.uniform(0.3, 0.7)
        col = rng.choice(["#3A5294", "#0E1633"])
        op = rng.uniform(0.3, 0.7)
        wrapped(s, lambda dx, dy, x=x, y=y, r=r, col=col, op=op: circle(x + dx, y + dy, r, fill=col, fill_opacity=op),
                x, y, r)
    s.save("texture-dialog.svg")


def texture_panel():
    rng = random.Random(72)
    s = Svg(100, 100, "Content panel texture")
    s.add(rect(0, 0, 100, 100, fill="#1E2350"))
    for _ in range(7):
        cx, cy = rng.uniform(0, 100), rng.uniform(0, 100)
        col = rng.choice(["#2A2F6A", "#171B40"])
        r = rng.uniform(15, 28)
        g = s.rad([(0, col, 0.8), (1, col, 0)])
        wrapped(s, lambda dx, dy, cx=cx, cy=cy, g=g, r=r: circle(cx, cy, r, fill=g, transform=shift(dx, dy)), cx, cy, r)
    # fine diagonal weave, spacing divides the tile so the lines meet at the edges
    for c in range(-100, 201, 5):
        s.add(line(c - 10, -10, c + 110, 110, stroke="#3A4290", stroke_opacity=0.22, stroke_width=0.6))
        s.add(line(c + 110, -10, c - 10, 110, stroke="#0E1130", stroke_opacity=0.25, stroke_width=0.6))
    s.save("texture-panel.svg")


def main():
    for i, (name, win, bar) in enumerate(BACKGROUNDS):
        rng = random.Random(100 + i)
        s = Svg(200, 100, f"Background {i + 1}: {name} (window tile x 0-99, tool-bar tile x 100-199)")
        win(s, rng)
        bar(s, rng)
        s.save(f"background-{i}.svg")
    texture_dialog()
    texture_panel()


if __name__ == "__main__":
    main()
