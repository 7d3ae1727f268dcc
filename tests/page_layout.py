#!/usr/bin/env python3
"""Screen positions of the widgets a test clicks, computed as the installer
lays its pages out: weights along each layout after its padding, aspect
ratios fitted and centred, pixels rounded.

    page_layout.py PAGE SCALE LEFT TOP
prints "name left top right bottom" for every named widget of PAGE
(welcome, custom, progress, finished, reminder, warn, error) whose window's top-left corner is at LEFT, TOP.
"""
import math
import sys


def lay(kind, weight, *children, pad=(0, 0, 0, 0), aspect=0.0, name=None, margin=(0, 0)):
    return {"kind": kind, "weight": weight, "children": children, "pad": pad, "aspect": aspect, "name": name,
            "margin": margin}


def v(weight, *children, pad=(0, 0, 0, 0), name=None):
    return lay("v", weight, *children, pad=pad, name=name)


def h(weight, *children, pad=(0, 0, 0, 0), name=None):
    return lay("h", weight, *children, pad=pad, name=name)


def w(weight, name=None, aspect=0.0, margin=(0, 0)):
    return lay("w", weight, aspect=aspect, name=name, margin=margin)


WELCOME = (600, 400, v(0,
    h(4, w(27), w(1, "close", 1.0)),
    w(3, "spacer"),
    v(42, w(15, "logo"), w(4, "title")),
    w(6, "message"),
    h(16, w(25), w(21, "install", 3.5), w(25)),
    w(10),
    h(6, w(12, "checkbox"), w(10, "agreement"), w(20, "hint"), w(10, "custom"), pad=(0, 10, 0, 0)),
    pad=(20, 24, 20, 24)))


CUSTOM = (600, 400, v(0,
    h(4, w(5, "back"), w(23)),
    v(88,
      w(8, "heading"),
      w(3),
      h(4, w(8, "path_label"), w(38, "box", margin=(0, 4)), w(4, "browse")),
      w(3),
      h(4, w(8, "required_label"), w(8, "required"), w(8, "free_label"), w(8, "free"), w(18, "hint")),
      w(3),
      h(4, w(8, "options_label"), w(42, "join", margin=(0, -4))),
      w(2),
      h(18, w(24), w(23, "install", 3.5), w(24)),
      w(1, "message"),
      pad=(24, 30, 24, 30)),
    pad=(20, 24, 20, 0)))


def prompt(close):
    title = [w(27, "title")] + ([w(1, "close", 1.0)] if close else [])
    return (400, 200, v(0,
        h(3, *title, pad=(10, 5, 10, 5)),
        v(17, v(5, h(40, w(30, "icon"), w(16), w(300, "heading")), h(60, w(30), w(16), w(300, "detail"))),
              h(2, w(15), w(6, "first", 38 / 15), w(1), w(6, "second", 38 / 15)), pad=(24, 16, 24, 16))))


PROGRESS = (600, 400, v(0,
    v(3, h(1, w(5), w(1, "hide")), w(10), pad=(20, 24, 20, 0), name="banner"),
    v(1, w(6), w(6, "status"), w(3), w(2, "bar"), w(3), pad=(48, 0, 48, 24))))

FINISHED = (600, 400, v(0,
    h(4, w(27), w(1, "close", 1.0)),
    w(3),
    v(42, w(15, "logo"), w(4, "heading"), w(4, "second")),
    w(2),
    w(6),
    h(24, w(25), w(21, "start", 3.5), w(25)),
    pad=(20, 24, 20, 24)))

PAGES = {"welcome": WELCOME, "custom": CUSTOM, "progress": PROGRESS, "finished": FINISHED, "reminder": prompt(True),
         "warn": prompt(True), "error": prompt(False)}


def rnd(x):
    return int(math.floor(x + 0.5))


def place(node, l, t, r, b, s, out):
    if node["name"] and node["kind"] != "w":
        out[node["name"]] = (l, t, r, b)
    if node["kind"] == "w":
        mx, my = (int(m * s) for m in node["margin"])
        l, t, r, b = l - mx, t - my, r + mx, b + my
        if node["aspect"]:
            width, height, a = r - l, b - t, node["aspect"]
            if width > a * height:
                x = l + (width - a * height) / 2
                l, r = rnd(x), rnd(x + a * height)
            else:
                y = t + (height - width / a) / 2
                t, b = rnd(y), rnd(y + width / a)
        if node["name"]:
            out[node["name"]] = (l, t, r, b)
        return
    pl, pt, pr, pb = (p * s for p in node["pad"])
    total = sum(c["weight"] for c in node["children"])
    if node["kind"] == "v":
        unit, y = (b - t - pt - pb) / total, t + pt
        for c in node["children"]:
            place(c, rnd(l + pl), rnd(y), rnd(r - pr), rnd(y + c["weight"] * unit), s, out)
            y += c["weight"] * unit
    else:
        unit, x = (r - l - pl - pr) / total, l + pl
        for c in node["children"]:
            place(c, rnd(x), rnd(t + pt), rnd(x + c["weight"] * unit), rnd(b - pb), s, out)
            x += c["weight"] * unit


def main():
    page, scale, left, top = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    width, height, root = PAGES[page]
    out = {}
    place(root, 0, 0, rnd(width * scale), rnd(height * scale), scale, out)
    for name, (l, t, r, b) in out.items():
        print(name, l + left, t + top, r + left, b + top)


main()
