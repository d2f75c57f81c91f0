"""Shared helpers for drawing the game's SVG artwork.

Only what QtSvg renders is used: basic shapes, paths, linear and radial
gradients, opacity and transforms (no filters, masks, clip paths or CSS).
Run buttons.py, tiles.py and misc.py to redraw every picture.
"""
import math
import os
import random

# Pictures go to the art folder above this one unless ART_OUT names another.
OUT = os.environ.get("ART_OUT", os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))


def f(v):
    """Compact number formatting."""
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


class Svg:
    def __init__(self, w, h, title=None):
        self.w, self.h = w, h
        self.defs = []
        self.body = []
        self.ids = 0
        self.title = title

    def uid(self, base):
        self.ids += 1
        return f"{base}{self.ids}"

    def lin(self, stops, x1=0, y1=0, x2=0, y2=1, units="objectBoundingBox"):
        gid = self.uid("g")
        st = "".join(
            f'<stop offset="{f(o)}" stop-color="{c}"' + (f' stop-opacity="{f(a)}"' if a != 1 else "") + "/>"
            for o, c, a in [(s + (1,))[:3] for s in stops]
        )
        self.defs.append(
            f'<linearGradient id="{gid}" gradientUnits="{units}" x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}">{st}</linearGradient>'
        )
        return f"url(#{gid})"

    def rad(self, stops, cx=0.5, cy=0.5, r=0.5, units="objectBoundingBox", fx=None, fy=None):
        gid = self.uid("r")
        st = "".join(
            f'<stop offset="{f(o)}" stop-color="{c}"' + (f' stop-opacity="{f(a)}"' if a != 1 else "") + "/>"
            for o, c, a in [(s + (1,))[:3] for s in stops]
        )
        foc = ""
        if fx is not None:
            foc = f' fx="{f(fx)}" fy="{f(fy)}"'
        self.defs.append(
            f'<radialGradient id="{gid}" gradientUnits="{units}" cx="{f(cx)}" cy="{f(cy)}" r="{f(r)}"{foc}>{st}</radialGradient>'
        )
        return f"url(#{gid})"

    def add(self, s):
        self.body.append(s)

    def text(self):
        head = (
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{self.w}" height="{self.h}" viewBox="0 0 {self.w} {self.h}">\n'
        )
        t = f"<title>{self.title}</title>\n" if self.title else ""
        d = "<defs>\n" + "\n".join(self.defs) + "\n</defs>\n" if self.defs else ""
        return head + t + d + "\n".join(self.body) + "\n</svg>\n"

    def save(self, name):
        with open(os.path.join(OUT, name), "w") as fh:
            fh.write(self.text())


def attrs(**kw):
    out = []
    for k, v in kw.items():
        if v is None:
            continue
        k = k.rstrip("_").replace("_", "-")
        out.append(f'{k}="{f(v) if isinstance(v, (int, float)) else v}"')
    return " ".join(out)


def rect(x, y, w, h, **kw):
    return f'<rect x="{f(x)}" y="{f(y)}" width="{f(w)}" height="{f(h)}" {attrs(**kw)}/>'


def circle(cx, cy, r, **kw):
    return f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r)}" {attrs(**kw)}/>'


def ellipse(cx, cy, rx, ry, **kw):
    return f'<ellipse cx="{f(cx)}" cy="{f(cy)}" rx="{f(rx)}" ry="{f(ry)}" {attrs(**kw)}/>'


def path(d, **kw):
    return f'<path d="{d}" {attrs(**kw)}/>'


def poly(pts, **kw):
    return f'<polygon points="{" ".join(f(x) + "," + f(y) for x, y in pts)}" {attrs(**kw)}/>'


def line(x1, y1, x2, y2, **kw):
    return f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" {attrs(**kw)}/>'


def group(items, **kw):
    return f"<g {attrs(**kw)}>" + "".join(items) + "</g>"


def mix(c1, c2, t):
    a = [int(c1[i:i + 2], 16) for i in (1, 3, 5)]
    b = [int(c2[i:i + 2], 16) for i in (1, 3, 5)]
    return "#" + "".join(f"{round(x + (y - x) * t):02X}" for x, y in zip(a, b))


def lighten(c, t):
    return mix(c, "#FFFFFF", t)


def darken(c, t):
    return mix(c, "#000000", t)
