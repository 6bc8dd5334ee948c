#!/usr/bin/env python3
"""Two pictures of Strakon's frame (binary PPM of the client area, as windowShot writes them)
must be equal pixel for pixel, except the clock times of the progress panel.

    samePicture.py LINUX.ppm WINDOWS.ppm

The clock fields are the times right of "STARTING HOUR =" and of each "CASE STUDY N. k =":
in pane coordinates (the pane starts below the 22-pixel menu bar) columns width-112 to
width-45 and rows top+6 to top+35 of each panel box drawn in the Linux picture, whose tops are
20, 76, 132, ... (56 apart). Everything else, menu bar, status line and message box
included, is compared exactly.
"""
import sys

MENU_BAR = 22
STATUS_LINE = 22


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, size, depth, pixels = data.split(b"\n", 3)
    width, height = map(int, size.split())
    if magic != b"P6" or depth != b"255" or len(pixels) != width * height * 3:
        raise SystemExit(f"{path}: not a binary PPM of {width}x{height}")
    return width, height, pixels


def clock_fields(width, height, pixels):
    """The clock fields of the boxes drawn (their top edge is not black)."""
    pane_height = height - MENU_BAR - STATUS_LINE
    top = 20
    while top + 42 <= pane_height:
        edge = 3 * ((MENU_BAR + top) * width + width - 112)
        if pixels[edge:edge + 3] != b"\0\0\0":
            yield width - 112, MENU_BAR + top + 6, width - 45, MENU_BAR + top + 35
        top += 56


def main():
    linux, windows = sys.argv[1], sys.argv[2]
    w1, h1, a = read_ppm(linux)
    w2, h2, b = read_ppm(windows)
    if (w1, h1) != (w2, h2):
        print(f"the frames differ in size: Linux {w1}x{h1}, Windows {w2}x{h2}")
        return 1
    masked = bytearray(w1 * h1)
    for x0, y0, x1, y1 in clock_fields(w1, h1, a):
        for y in range(y0, min(y1, h1)):
            masked[y * w1 + x0:y * w1 + x1] = b"\1" * (x1 - x0)
    differing = []
    row = 3 * w1
    for y in range(h1):
        if a[y * row:(y + 1) * row] == b[y * row:(y + 1) * row]:
            continue
        for x in range(w1):
            i = y * w1 + x
            if not masked[i] and a[3 * i:3 * i + 3] != b[3 * i:3 * i + 3]:
                differing.append((x, y))
    if differing:
        shown = ", ".join(f"({x},{y})" for x, y in differing[:8])
        print(f"{len(differing)} pixels differ outside the clock fields, first at {shown}")
        return 1
    print(f"the {w1}x{h1} frames are equal outside the clock fields ({sum(masked)} pixels left out)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
