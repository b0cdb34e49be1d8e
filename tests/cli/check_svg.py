#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks zone plate SVG images as other programs see them.

Each image is read with an XML parser (its page, title, description, background and discs) and
drawn by a real renderer, rsvg-convert (Debian package librsvg2-bin). On the drawing, the edges
of the rings are measured along the horizontal and the vertical line through the centre and
compared with the radii worked out here, independently of the program:
d(i) = c * sqrt(i * f * lambda) * M millimetres.

Checked: the expected files of the core's tests (3 zones, f = 100 mm, c = 2, positive and
negative), and a plate that lumidra-calc writes enlarged 20 times (15 zones, f = 150 mm, c = 2),
drawn at its size in millimetres.

Exit status 0 when all holds, 1 on a difference, 77 (skipped) without rsvg-convert.
"""

import argparse
import math
import os
import shutil
import struct
import subprocess
import sys
import zlib
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
WAVELENGTH = 0.00055
# Measured edges may stray this far from the computed ones (pixels): anti-aliased edges are
# located to a fraction of a pixel.
TOLERANCE_PX = 0.35

problems = []


def check(condition, message):
    if not condition:
        problems.append(message)
    return condition


def zone_radii_mm(zones, focal, constant, enlarge):
    return [constant * math.sqrt(i * focal * WAVELENGTH) * enlarge / 2 for i in range(1, zones + 1)]


def read_svg(path, negative):
    """The image's page and discs, checked against what every plate image holds."""
    root = ET.parse(path).getroot()
    name = os.path.basename(path)
    check(root.tag == SVG + "svg", f"{name}: the root is {root.tag}")
    view = [float(v) for v in root.get("viewBox").split()]
    side = view[2]
    check(view[:2] == [0, 0] and view[3] == side, f"{name}: viewBox {view} is no square page")
    for attr in ("width", "height"):
        text = root.get(attr)
        check(text.endswith("mm") and abs(float(text[:-2]) - side / 72 * 25.4) < 1e-9,
              f"{name}: {attr} {text} is not the page of {side} points in millimetres")
    title = root.find(SVG + "title")
    desc = root.find(SVG + "desc")
    check(title is not None and title.text.startswith("Zone Plate - Number of zones: "),
          f"{name}: no title with the plate's data")
    check(desc is not None and "\nCreated by Lumidra.\n" in desc.text,
          f"{name}: no description with the plate's data")

    open_fill, closed_fill = ("black", "white") if negative else ("white", "black")
    shapes = [e for e in root if e.tag in (SVG + "rect", SVG + "circle")]
    page = shapes[0]
    check(page.tag == SVG + "rect" and float(page.get("width")) == side
          and float(page.get("height")) == side and page.get("fill") == closed_fill,
          f"{name}: the page is not painted {closed_fill}")
    discs = shapes[1:]
    radii = [float(d.get("r")) for d in discs]
    check(radii == sorted(radii, reverse=True) and len(set(radii)) == len(radii),
          f"{name}: the discs do not run from the largest to the smallest")
    zones = len(discs)
    for k, disc in enumerate(discs):
        zone = zones - k
        check(abs(float(disc.get("cx")) - side / 2) < 1e-12 * side
              and abs(float(disc.get("cy")) - side / 2) < 1e-12 * side,
              f"{name}: zone {zone} is not centred")
        want = open_fill if zone % 2 == 1 else closed_fill
        check(disc.get("fill") == want, f"{name}: zone {zone} is {disc.get('fill')}, not {want}")
    return root, side, radii


def read_png(path):
    """Width, height and the grey level of each pixel (red channel) of an 8-bit PNG."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    assert depth == 8 and colour in (2, 6), f"unexpected PNG format {depth}/{colour}"
    bpp = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line[0::bpp])
        prev = line
    return width, height, rows


def edges(values):
    """Where the grey level crosses the middle between black and white, in pixel coordinates
    (pixel i covers i to i + 1; its value is taken at its middle)."""
    found = []
    for i in range(len(values) - 1):
        a, b = values[i] - 127.5, values[i + 1] - 127.5
        if (a < 0) != (b < 0):
            found.append(i + 0.5 + a / (a - b))
    return found


def measure(png, name, centre_px, radii_px):
    """Compares the ring edges right of and below the centre of the page (centre_px from the
    top left corner; a renderer rounds the picture up to whole pixels, so the middle of the
    picture is not necessarily the centre of the page) with radii_px."""
    width, height, rows = read_png(png)
    c = centre_px
    half_lines = {
        "right": [x - c for x in edges(list(rows[int(c)])) if x > c],
        "down": [y - c for y in edges([r[int(c)] for r in rows]) if y > c],
    }
    expected = sorted(radii_px)
    largest = 0.0
    for way, found in half_lines.items():
        if not check(len(found) == len(expected),
                     f"{name} {way}: {len(found)} edges, expected {len(expected)}"):
            continue
        worst = max(abs(f - e) for f, e in zip(sorted(found), expected))
        check(worst <= TOLERANCE_PX, f"{name} {way}: an edge strays {worst:.2f} px")
        largest = max(largest, worst)
    print(f"{name}: {len(expected)} edges right and below, outermost at {expected[-1]:.2f} px, "
          f"all within {largest:.2f} px of the computed radii")


def render(svg, png, extra):
    subprocess.run(["rsvg-convert", "-f", "png", "-o", png, *extra, svg], check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True, help="lumidra-calc")
    parser.add_argument("--data", required=True, help="the folder of the expected files")
    parser.add_argument("--work", required=True, help="a folder for the files made here")
    args = parser.parse_args()
    if not shutil.which("rsvg-convert"):
        print("rsvg-convert is not installed (Debian package librsvg2-bin)")
        return 77
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)

    # The expected files: a 0.8 mm plate on a page of one inch. The view is narrowed to the
    # 3 points around the centre, drawn 600 pixels wide, so that the rings are wide enough to
    # measure; the discs themselves are drawn as written.
    px_per_point = 600 / 3
    for polarity in ("positive", "negative"):
        path = os.path.join(args.data, f"zoneplate_n3_{polarity}.svg")
        root, side, radii = read_svg(path, polarity == "negative")
        computed = [r / 25.4 * 72 for r in zone_radii_mm(3, 100, 2, 1)]
        check(all(abs(a - b) < 1e-12 for a, b in zip(sorted(radii), computed)),
              f"{polarity}: radii {radii} differ from {computed}")
        root.set("viewBox", f"{side / 2 - 1.5} {side / 2 - 1.5} 3 3")
        root.set("width", "600")
        root.set("height", "600")
        zoomed = os.path.join(args.work, f"{polarity}.svg")
        ET.register_namespace("", SVG[1:-1])
        ET.ElementTree(root).write(zoomed, encoding="UTF-8", xml_declaration=True)
        png = os.path.join(args.work, f"{polarity}.png")
        render(zoomed, png, [])
        measure(png, f"N=3 {polarity}", 300, [r * px_per_point for r in computed])

    # Written by the program: 15 zones, 150 mm, enlarged 20 times (44.5 mm across), drawn at
    # its size in millimetres at 300 dots per inch.
    for polarity, flags in (("positive", []), ("negative", ["--negative"])):
        base = os.path.join(args.work, f"n15_{polarity}")
        subprocess.run([args.cli, "zoneplate", "--zones", "15", "--focal", "150", "--constant",
                        "2", "--enlarge", "20", "--svg", base, *flags], check=True)
        _, side, _ = read_svg(base + ".svg", polarity == "negative")
        png = base + ".png"
        render(base + ".svg", png, ["--dpi-x", "300", "--dpi-y", "300"])
        px_per_mm = 300 / 25.4
        measure(png, f"N=15x20 {polarity}", side / 72 * 25.4 / 2 * px_per_mm,
                [r * px_per_mm for r in zone_radii_mm(15, 150, 2, 20)])

    for p in problems:
        print("FAIL:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
