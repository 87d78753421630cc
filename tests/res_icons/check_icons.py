#!/usr/bin/env python3
"""Checks the generated event icon strips and application icon.

Usage: check_icons.py DIR

DIR holds events256.bmp, events16.bmp and Corvane.ico as res/icons/draw_icons.py writes them.
Prints every problem found and exits non-zero if there is any.
"""
import os
import struct
import sys

ICON_COUNT = 28
ICON_SIZE = 16
MAGENTA = (255, 0, 255)
APP_SIZES = [16, 32, 48]

problems = []


def problem(message):
    problems.append(message)


def read_strip(path, bits):
    """Returns the strip as rows of RGB tuples, top row first, or None if it cannot be read."""
    name = os.path.basename(path)
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        problem("%s: cannot read: %s" % (name, e))
        return None
    if len(data) < 54 or data[:2] != b"BM":
        problem("%s: not a BMP file" % name)
        return None
    offset = struct.unpack_from("<I", data, 10)[0]
    header, width, height, planes, depth, compression = struct.unpack_from("<IiiHHI", data, 14)
    used = struct.unpack_from("<I", data, 46)[0]
    if header != 40:
        problem("%s: header size %d, expected a 40-byte BITMAPINFOHEADER" % (name, header))
        return None
    if (width, height) != (ICON_SIZE * ICON_COUNT, ICON_SIZE):
        problem("%s: size %dx%d, expected %dx%d (bottom-up)"
                % (name, width, height, ICON_SIZE * ICON_COUNT, ICON_SIZE))
        return None
    if planes != 1 or depth != bits or compression != 0:
        problem("%s: %d planes, %d bits, compression %d; expected 1 plane, %d bits, uncompressed"
                % (name, planes, depth, compression, bits))
        return None
    colours = used or 1 << bits
    stride = (width * bits + 31) // 32 * 4
    if colours > 1 << bits or 54 + 4 * colours > offset or offset + stride * height > len(data):
        problem("%s: palette or pixel data out of place" % name)
        return None
    palette = [tuple(data[54 + 4 * i + k] for k in (2, 1, 0)) for i in range(colours)]
    rows = []
    for y in range(height):
        line = data[offset + (height - 1 - y) * stride:]
        row = []
        for x in range(width):
            index = line[x] if bits == 8 else line[x // 2] >> (4 - 4 * (x % 2)) & 15
            if index >= colours:
                problem("%s: pixel (%d, %d) uses colour %d beyond the palette" % (name, x, y, index))
                return None
            row.append(palette[index])
        rows.append(row)
    return rows


def check_strip(path, bits):
    name = os.path.basename(path)
    rows = read_strip(path, bits)
    if rows is None:
        return
    if rows[0][0] != MAGENTA:
        problem("%s: top-left pixel is %s, expected magenta %s" % (name, rows[0][0], MAGENTA))
    cells = []
    for i in range(ICON_COUNT):
        cell = tuple(tuple(row[ICON_SIZE * i:ICON_SIZE * (i + 1)]) for row in rows)
        if all(px == MAGENTA for line in cell for px in line):
            problem("%s: icon %d is empty" % (name, i))
        for j, other in enumerate(cells):
            if other == cell:
                problem("%s: icons %d and %d are identical" % (name, j, i))
        cells.append(cell)


def check_ico(path):
    name = os.path.basename(path)
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        problem("%s: cannot read: %s" % (name, e))
        return
    if len(data) < 6 or struct.unpack_from("<HH", data) != (0, 1):
        problem("%s: not an icon file" % name)
        return
    count = struct.unpack_from("<H", data, 4)[0]
    if len(data) < 6 + 16 * count:
        problem("%s: directory cut short" % name)
        return
    sizes = []
    for i in range(count):
        w, h, _, _, _, depth, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        size = w or 256
        sizes.append(size)
        label = "%s: entry %d (%dx%d)" % (name, i, size, h or 256)
        if w != h or depth != 32:
            problem("%s: expected a square 32-bit image, got %d bits" % (label, depth))
            continue
        mask_stride = (size + 31) // 32 * 4
        if offset + length > len(data) or length != 40 + 4 * size * size + mask_stride * size:
            problem("%s: image data of %d bytes at %d does not fit" % (label, length, offset))
            continue
        header, iw, ih, planes, bits, compression = struct.unpack_from("<IiiHHI", data, offset)
        if (header, iw, ih, planes, bits, compression) != (40, size, 2 * size, 1, 32, 0):
            problem("%s: expected a BITMAPINFOHEADER of %dx%d (height doubled), 32 bits"
                    % (label, size, 2 * size))
            continue
        pixels = data[offset + 40:offset + 40 + 4 * size * size]
        mask = data[offset + 40 + 4 * size * size:offset + length]
        clear = opaque = 0
        for y in range(size):
            for x in range(size):
                alpha = pixels[4 * (y * size + x) + 3]
                masked = mask[y * mask_stride + x // 8] >> (7 - x % 8) & 1
                if (alpha == 0) != bool(masked):
                    problem("%s: AND mask disagrees with alpha at (%d, %d)" % (label, x, y))
                    break
                clear += alpha == 0
                opaque += alpha != 0
            else:
                continue
            break
        if not clear or not opaque:
            problem("%s: expected a picture on a transparent background" % label)
    if sorted(sizes) != APP_SIZES:
        problem("%s: entries of sizes %s, expected exactly %s" % (name, sizes, APP_SIZES))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_icons.py DIR")
    folder = sys.argv[1]
    check_strip(os.path.join(folder, "events256.bmp"), 8)
    check_strip(os.path.join(folder, "events16.bmp"), 4)
    check_ico(os.path.join(folder, "Corvane.ico"))
    for message in problems:
        print("FAIL " + message, file=sys.stderr)
    if problems:
        sys.exit(1)
    print("icon strips and application icon in %s look right" % folder)


if __name__ == "__main__":
    main()
