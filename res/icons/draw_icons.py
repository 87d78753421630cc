#!/usr/bin/env python3
"""Draws Corvane's event icon strips and application icon from the pixel maps beside this script.

Usage: draw_icons.py OUTDIR

Writes OUTDIR/events256.bmp (8-bit) and OUTDIR/events16.bmp (4-bit): the 28 event icons side by
side, icon i at x = 16 * i, magenta (255, 0, 255) where the background shows; and OUTDIR/Corvane.ico,
the application icon at 16, 32 and 48 pixels (32-bit images with their AND masks).

A pixel map is a text file: '#' lines are comments, then one row of characters per pixel row.
palette.txt gives each character its colour. The output depends on nothing but these files.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The event icons, in the order of the strip.
EVENT_ICONS = [
    "00_info", "01_warning", "02_gear_arrow", "03_gem_moving", "04_gem", "05_gem_page",
    "06_page_check", "07_monitor", "08_window_grid", "09_cubes", "10_folder_closed",
    "11_folder_open", "12_none", "13_sz", "14_expand_sz", "15_binary", "16_dword",
    "17_dword_be", "18_link", "19_multi_sz", "20_resource_list", "21_full_resource",
    "22_resource_requirements", "23_qword", "24_mui_sz", "25_finding_error", "26_finding_warning",
    "27_finding_information",
]
ICON_SIZE = 16
APP_SIZES = (16, 32, 48)
BACKGROUND = (255, 0, 255)

# The 16 standard colours, in the usual order of a 4-bit palette.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def fail(message):
    sys.exit("draw_icons.py: " + message)


def read_lines(name):
    try:
        with open(os.path.join(HERE, name), encoding="ascii") as f:
            return [line.rstrip("\r\n") for line in f if line.strip() and not line.startswith("#")]
    except (OSError, UnicodeDecodeError) as e:
        fail("%s: %s" % (name, e))


def read_palette():
    palette = {}
    for line in read_lines("palette.txt"):
        fields = line.split()
        char, rgb = fields[0], tuple(int(v) for v in fields[1:4])
        if len(char) != 1 or char in palette or not all(0 <= v <= 255 for v in rgb):
            fail("palette.txt: bad line %r" % line)
        palette[char] = rgb
    if palette.get(".") != BACKGROUND:
        fail("palette.txt: '.' must be the magenta background")
    return palette


def read_map(name, size, palette):
    """Returns the pixel map as rows of palette characters, checked for shape and colours."""
    rows = read_lines(name)
    if len(rows) != size or any(len(row) != size for row in rows):
        fail("%s: expected %d rows of %d characters" % (name, size, size))
    for y, row in enumerate(rows):
        for x, char in enumerate(row):
            if char not in palette:
                fail("%s: unknown colour %r at row %d, column %d" % (name, char, y, x))
    return rows


def nearest_vga(rgb):
    if rgb == BACKGROUND:
        return VGA.index(BACKGROUND)
    # Any other colour keeps clear of magenta, so that it never turns into background.
    candidates = [i for i, c in enumerate(VGA) if c != BACKGROUND]
    return min(candidates, key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, VGA[i])))


def bmp(width, height, bits, colours, indices):
    """An uncompressed bottom-up BMP; indices holds one palette index per pixel, top row first."""
    stride = (width * bits + 31) // 32 * 4
    pixels = bytearray()
    for y in reversed(range(height)):
        row = indices[y * width:(y + 1) * width]
        if bits == 8:
            line = bytes(row)
        else:
            line = bytes((row[x] << 4) | (row[x + 1] if x + 1 < width else 0) for x in range(0, width, 2))
        pixels += line + bytes(stride - len(line))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    table += bytes(4 * ((1 << bits) - len(colours)))
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       1 << bits, 0)
    return header + info + table + bytes(pixels)


def ico_image(rows, palette):
    """One ICO entry's data: a BITMAPINFOHEADER of doubled height, BGRA pixels and the AND mask."""
    size = len(rows)
    colour = bytearray()
    mask = bytearray()
    mask_stride = (size + 31) // 32 * 4
    for row in reversed(rows):
        bits = 0
        for x, char in enumerate(row):
            r, g, b = palette[char]
            clear = char == "."
            colour += bytes((0, 0, 0, 0)) if clear else bytes((b, g, r, 255))
            bits = (bits << 1) | clear
        bits <<= mask_stride * 8 - size
        mask += bits.to_bytes(mask_stride, "big")
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask),
                       0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[2])
    outdir = sys.argv[1]
    palette = read_palette()
    chars = list(palette)  # 8-bit palette order: the order of palette.txt

    icons = [read_map(name + ".txt", ICON_SIZE, palette) for name in EVENT_ICONS]
    width = ICON_SIZE * len(icons)
    strip = [char for y in range(ICON_SIZE) for icon in icons for char in icon[y]]
    if strip[0] != ".":
        fail("the first icon's top-left pixel must be background")

    events256 = bmp(width, ICON_SIZE, 8, [palette[c] for c in chars], [chars.index(c) for c in strip])
    vga_of = {c: nearest_vga(palette[c]) for c in chars}
    events16 = bmp(width, ICON_SIZE, 4, VGA, [vga_of[c] for c in strip])
    app = ico([(size, ico_image(read_map("app_%d.txt" % size, size, palette), palette))
               for size in APP_SIZES])

    os.makedirs(outdir, exist_ok=True)
    for name, data in (("events256.bmp", events256), ("events16.bmp", events16), ("Corvane.ico", app)):
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
