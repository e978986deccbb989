#!/usr/bin/env python3
"""Draws the sample scenario's room pictures: one small PNG per room, named
ROOM_0.png as the kiosk looks for them, with the room number on the wall.
Standard library only; the output is the same on every run."""

import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 160, 120

# Wall, floor and bedspread colours per room class.
CLASS_COLOURS = {
    1: ((232, 222, 200), (150, 110, 80), (90, 130, 190)),
    2: ((215, 230, 215), (120, 90, 70), (200, 90, 90)),
    3: ((225, 215, 235), (110, 100, 90), (110, 170, 120)),
    4: ((240, 230, 190), (90, 60, 50), (170, 120, 200)),
}

ROOMS = [(1, n) for n in range(201, 211)] + [(2, n) for n in range(301, 309)] + \
        [(3, n) for n in range(401, 407)] + [(4, n) for n in range(501, 507)]

DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


def fill(pixels, x0, y0, x1, y1, colour):
    for y in range(max(y0, 0), min(y1, HEIGHT)):
        for x in range(max(x0, 0), min(x1, WIDTH)):
            pixels[y][x] = colour


def draw_number(pixels, text, x, y, scale, colour):
    for digit in text:
        for row, bits in enumerate(DIGITS[digit]):
            for column, bit in enumerate(bits):
                if bit == "1":
                    fill(pixels, x + column * scale, y + row * scale,
                         x + (column + 1) * scale, y + (row + 1) * scale, colour)
        x += 4 * scale


def room_picture(room_class, number):
    wall, floor, spread = CLASS_COLOURS[room_class]
    pixels = [[wall] * WIDTH for _ in range(HEIGHT)]
    fill(pixels, 0, 80, WIDTH, HEIGHT, floor)
    fill(pixels, 100, 14, 146, 50, (160, 200, 235))      # window
    fill(pixels, 122, 14, 124, 50, (250, 250, 250))
    fill(pixels, 100, 31, 146, 33, (250, 250, 250))
    width = 60 + 10 * room_class                           # bigger beds for better rooms
    fill(pixels, 20, 62, 20 + width, 96, spread)           # bed
    fill(pixels, 20, 56, 44, 66, (250, 250, 250))          # pillow
    fill(pixels, 16, 48, 20, 100, (100, 70, 50))           # headboard
    draw_number(pixels, str(number), 12, 12, 4, (60, 60, 60))
    return pixels


def png_bytes(pixels):
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "sample-pictures")
    os.makedirs(folder, exist_ok=True)
    for room_class, number in ROOMS:
        with open(os.path.join(folder, "%d_0.png" % number), "wb") as out:
            out.write(png_bytes(room_picture(room_class, number)))


if __name__ == "__main__":
    main()
