#!/usr/bin/env python3
"""Draws the program's icons (a computer mouse) and writes them as .ico files.

  make-icons.py OUTDIR

writes mainicon.ico (48, 32, 24, 16 pixels at 8, 24 and 32 bits), trayicon.ico and
trayiconhot.ico (16 colours), trayiconxp.ico and trayiconxphot.ico (32 bits with
alpha), each at 48, 32, 24 and 16 pixels: the notification area takes the size of
the display's scale (16 at 100 %, 24 at 150 %, 32 at 200 %). The drawing is computed, not stored: every pixel is
the coverage of a few shapes, sampled 4 x 4 times for smooth edges.
"""
import os
import struct
import sys

SAMPLES = 4

# Colours (r, g, b) of the two variants. The hot one glows orange: the hold keys
# are down and the window is about to come up.
NORMAL = {"body": (236, 238, 242), "edge": (40, 48, 64), "button": (64, 128, 220),
          "cable": (40, 48, 64)}
HOT = {"body": (255, 214, 120), "edge": (150, 40, 0), "button": (235, 70, 20),
       "cable": (150, 40, 0)}
# The 16-colour icons use colours of the standard palette and hard edges.
NORMAL16 = {"body": (255, 255, 255), "edge": (0, 0, 0), "button": (0, 0, 255),
            "cable": (0, 0, 0)}
HOT16 = {"body": (255, 255, 0), "edge": (128, 0, 0), "button": (255, 0, 0),
         "cable": (128, 0, 0)}


def shape_at(x, y):
    """What lies at (x, y) in the unit square: None, 'edge', 'body', 'button', 'cable'."""
    cx, cy, rx, ry = 0.5, 0.6, 0.33, 0.38
    d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
    if d <= 1.0:
        inner = ((x - cx) / (rx - 0.07)) ** 2 + ((y - cy) / (ry - 0.07)) ** 2
        if inner > 1.0:
            return "edge"
        split_y = cy - 0.04
        if abs(y - split_y) < 0.03 or (y < split_y and abs(x - cx) < 0.03):
            return "edge"
        if y < split_y and x < cx:
            return "button"  # the left button
        return "body"
    # The cable: a gentle curve from the top of the body to the top edge.
    if 0.0 <= y <= cy - ry + 0.02:
        curve_x = cx + 0.12 * (1 - y / (cy - ry)) ** 2
        if abs(x - curve_x) < 0.045:
            return "cable"
    return None


def render(size, colours, samples=SAMPLES):
    """Rows of (r, g, b, a) from the top, alpha 0..255."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    part = shape_at(x, y)
                    if part:
                        c = colours[part]
                        acc = [a + b for a, b in zip(acc, c)]
                        hits += 1
            if hits:
                row.append(tuple(v // hits for v in acc) + (255 * hits // (samples * samples),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256():
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [(v * 255 // 39, v * 255 // 39, v * 255 // 39) for v in range(40)]
    return colours


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))


def row_bytes(bits, size):
    return ((size * bits + 31) // 32) * 4


def image(rows, bits):
    """One icon image: BITMAPINFOHEADER, palette, colour bits, AND mask."""
    size = len(rows)
    palette = VGA16 if bits == 4 else palette256() if bits == 8 else []
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         len(palette), 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        if bits == 32:
            for r, g, b, a in row:
                line += bytes((b, g, r, a))
        elif bits == 24:
            for r, g, b, a in row:
                line += bytes((b, g, r)) if a >= 128 else b"\0\0\0"
        else:
            indexes = [nearest(palette, (r, g, b)) if a >= 128 else 0 for r, g, b, a in row]
            if bits == 8:
                line += bytes(indexes)
            else:
                for i in range(0, size, 2):
                    second = indexes[i + 1] if i + 1 < size else 0
                    line.append((indexes[i] << 4) | second)
        line += b"\0" * (row_bytes(bits, size) - len(line))
        xor += line
        m = bytearray(row_bytes(1, size))
        for i, (_, _, _, a) in enumerate(row):
            if a < 128:
                m[i // 8] |= 0x80 >> (i % 8)
        mask += m
    return header + pal + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """images: list of (size, bits, data)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                               len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + entries + b"".join(d for _, _, d in images))


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    main_images = []
    for size in (48, 32, 24, 16):
        rows = render(size, NORMAL)
        for bits in (8, 24, 32):
            main_images.append((size, bits, image(rows, bits)))
    write_ico(os.path.join(outdir, "mainicon.ico"), main_images)
    for hot, name, colours, colours16 in ((False, "trayicon", NORMAL, NORMAL16),
                                          (True, "trayiconhot", HOT, HOT16)):
        sizes = (48, 32, 24, 16)
        write_ico(os.path.join(outdir, name + ".ico"),
                  [(n, 4, image(render(n, colours16, samples=1), 4)) for n in sizes])
        modern = "trayiconxphot" if hot else "trayiconxp"
        write_ico(os.path.join(outdir, modern + ".ico"),
                  [(n, 32, image(render(n, colours), 32)) for n in sizes])


if __name__ == "__main__":
    main()
