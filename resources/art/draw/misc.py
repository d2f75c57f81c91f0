"""Face strip, title picture, slider thumb, cursors and application icon."""
import math
from common import *


def faces():
    s = Svg(75, 15, "Help faces: dropped, much, some more, little, no help")
    cols = ["#E53935", "#FB8C00", "#FDD835", "#A5D63A", "#3DBE4A"]
    ink = "#2B1B10"
    for i, c in enumerate(cols):
        cx, cy = 7.5 + 15 * i, 7.5
        g = s.rad([(0, lighten(c, 0.45)), (0.7, c), (1, darken(c, 0.2))], cx=0.4, cy=0.35, r=0.65)
        s.add(circle(cx, cy, 6.6, fill=g, stroke=darken(c, 0.55), stroke_width=0.8))
        for ex in (-2.3, 2.3):
            if i == 4:
                # laughing: closed, curved eyes
                s.add(path(f"M{f(cx + ex - 1.2)},{f(cy - 1.2)} Q{f(cx + ex)},{f(cy - 3.2)} {f(cx + ex + 1.2)},{f(cy - 1.2)}",
                           fill="none", stroke=ink, stroke_width=0.9, stroke_linecap="round"))
            else:
                s.add(ellipse(cx + ex, cy - 1.7, 0.85, 1.1, fill=ink))
        if i == 0:      # sad
            d = f"M{f(cx - 3)},{f(cy + 3.6)} Q{f(cx)},{f(cy + 0.6)} {f(cx + 3)},{f(cy + 3.6)}"
        elif i == 1:    # a little unhappy
            d = f"M{f(cx - 2.8)},{f(cy + 3.1)} Q{f(cx)},{f(cy + 1.6)} {f(cx + 2.8)},{f(cy + 3.1)}"
        elif i == 2:    # neutral
            d = f"M{f(cx - 2.8)},{f(cy + 2.6)} H{f(cx + 2.8)}"
        elif i == 3:    # smiling
            d = f"M{f(cx - 3)},{f(cy + 1.8)} Q{f(cx)},{f(cy + 4.8)} {f(cx + 3)},{f(cy + 1.8)}"
        if i < 4:
            s.add(path(d, fill="none", stroke=ink, stroke_width=0.95, stroke_linecap="round"))
        else:           # laughing, open mouth
            s.add(path(f"M{f(cx - 3.6)},{f(cy + 1)} Q{f(cx)},{f(cy + 7.2)} {f(cx + 3.6)},{f(cy + 1)} Z",
                       fill="#7A1A12", stroke=ink, stroke_width=0.7, stroke_linejoin="round"))
            s.add(path(f"M{f(cx - 1.6)},{f(cy + 3.4)} Q{f(cx)},{f(cy + 2.6)} {f(cx + 1.6)},{f(cy + 3.4)} "
                       f"Q{f(cx)},{f(cy + 4.6)} {f(cx - 1.6)},{f(cy + 3.4)} Z", fill="#F07A6A"))
    s.save("faces.svg")


def boat(scale, ox, oy, sail="#000000", jib="#2EB84F", hull="#000000"):
    """The emblem: a Quellon-like sail boat of right isosceles triangles, drawn in a 256 box."""
    def P(pts):
        return [(ox + x * scale, oy + y * scale) for x, y in pts]
    return [
        poly(P([(132, 40), (132, 152), (244, 152)]), fill=sail),
        poly(P([(120, 64), (120, 152), (32, 152)]), fill=jib),
        poly(P([(20, 166), (236, 166), (196, 206), (60, 206)]), fill=hull),
        poly(P([(132, 28), (132, 40), (150, 34)]), fill=sail),
    ]


def icon():
    s = Svg(256, 256, "Quellon")
    s.add(rect(8, 8, 240, 240, rx=44, fill=s.lin([(0, "#E4E4E4"), (0.55, "#C0C0C0"), (1, "#9A9A9A")]),
               stroke="#202020", stroke_width=10))
    s.add(rect(22, 20, 212, 96, rx=34, fill=s.lin([(0, "#FFFFFF", 0.55), (1, "#FFFFFF", 0.0)])))
    s.add("".join(boat(0.82, 23, 22)))
    s.save("quellon.svg")


def title():
    s = Svg(105, 77, "Quellon title")
    s.add(rect(6.5, 2.5, 92, 50, rx=8, fill=s.lin([(0, "#E6E6E6"), (0.6, "#C0C0C0"), (1, "#9E9E9E")]),
               stroke="#000000", stroke_width=1.5))
    s.add(rect(9, 4.5, 87, 20, rx=6, fill=s.lin([(0, "#FFFFFF", 0.6), (1, "#FFFFFF", 0)])))
    s.add("".join(boat(0.24, 20.8, -0.6)))
    # title lettering: a dark shadow under white letters
    for dx, dy, col in ((1.6, 1.6, "#000000"), (0, 0, "#FFFFFF")):
        s.add(f'<text x="{f(52.5 + dx)}" y="{f(71.5 + dy)}" font-family="sans-serif" font-weight="bold" '
              f'font-size="19" text-anchor="middle" fill="{col}">Quellon</text>')
    s.save("title.svg")


def slider_thumb():
    s = Svg(25, 40, "Slider thumb")
    s.add(rect(1.5, 1.5, 22, 37, rx=6, fill=s.lin([(0, "#8FD0FF"), (0.45, "#2EA6FE"), (1, "#1670B8")], x2=1, y2=0),
               stroke="#0B3A66", stroke_width=1.2))
    for y in (15, 20, 25):
        s.add(line(7, y, 18, y, stroke="#0B3A66", stroke_width=1.2, stroke_linecap="round"))
        s.add(line(7, y + 1.2, 18, y + 1.2, stroke="#D8F0FF", stroke_width=0.8, stroke_linecap="round"))
    s.save("slider-thumb.svg")


def centre_on_pixel(s):
    """Shift by half a pixel: the drawing is centred on (16, 16), the hotspot pixel's centre is (16.5, 16.5)."""
    s.body = ['<g transform="translate(0.5,0.5)">'] + s.body + ["</g>"]


def cursor_turn():
    """Two curved arrows round the hotspot (16, 16): the piece turns about its anchor."""
    s = Svg(32, 32, "Turn cursor, hotspot 16,16")
    c, r = 16, 10

    def pt(a, rr=r):
        a = math.radians(a)
        return c + rr * math.cos(a), c + rr * math.sin(a)

    arcs, heads = [], []
    for a0, a1 in ((200, 318), (20, 138)):
        x0, y0 = pt(a0)
        x1, y1 = pt(a1)
        arcs.append(f"M{f(x0)},{f(y0)} A{r},{r} 0 0 1 {f(x1)},{f(y1)}")
        # arrow head at the end, pointing along the turn
        t = math.radians(a1)
        tx, ty = -math.sin(t), math.cos(t)
        nx, ny = math.cos(t), math.sin(t)
        tip = (x1 + tx * 5, y1 + ty * 5)
        heads.append([tip, (x1 + nx * 4.2, y1 + ny * 4.2), (x1 - nx * 4.2, y1 - ny * 4.2)])
    for d in arcs:
        s.add(path(d, fill="none", stroke="#FFFFFF", stroke_width=5.5, stroke_linecap="round"))
    for h in heads:
        s.add(poly(h, fill="#FFFFFF", stroke="#FFFFFF", stroke_width=3, stroke_linejoin="round"))
    for d in arcs:
        s.add(path(d, fill="none", stroke="#000000", stroke_width=2.5, stroke_linecap="butt"))
    for h in heads:
        s.add(poly(h, fill="#000000"))
    s.add(circle(16, 16, 2.6, fill="#FFFFFF"))
    s.add(circle(16, 16, 1.4, fill="#000000"))
    centre_on_pixel(s)
    s.save("cursor-turn.svg")


def cursor_move():
    """Four-way arrow centred on the hotspot (16, 16)."""
    s = Svg(32, 32, "Move cursor, hotspot 16,16")
    a, hw, hl, L = 1.5, 4.5, 5, 14   # half arm width, half head width, head length, arm reach
    pts = []
    for k in range(4):
        ang = math.radians(90 * k)

        def R(x, y):
            return (16 + x * math.cos(ang) - y * math.sin(ang), 16 + x * math.sin(ang) + y * math.cos(ang))
        pts += [R(a, -a), R(L - hl, -a), R(L - hl, -hw), R(L, 0), R(L - hl, hw), R(L - hl, a)]
    s.add(poly(pts, fill="#FFFFFF", stroke="#FFFFFF", stroke_width=3, stroke_linejoin="round"))
    s.add(poly(pts, fill="#000000"))
    centre_on_pixel(s)
    s.save("cursor-move.svg")


def main():
    faces()
    icon()
    title()
    slider_thumb()
    cursor_turn()
    cursor_move()


if __name__ == "__main__":
    main()
