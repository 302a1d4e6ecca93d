#!/usr/bin/env python3
"""Draws the language flags of translations/flags/ (32 x 20 pixels, RGB PNG).

Run from the checkout: python3 tools/gen_flags.py. Plain zlib, no image library.
"""
import struct
import zlib
from pathlib import Path

W, H = 32, 20
RED = (200, 16, 46)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GOLD = (255, 206, 0)


def english(x, y):
    # St George's cross: a red cross on white.
    return RED if abs(x - (W - 1) / 2) < 2.5 or abs(y - (H - 1) / 2) < 2.5 else WHITE


def german(x, y):
    return (BLACK, RED, GOLD)[min(2, y * 3 // H)]


def png(pixel):
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(W)) for y in range(H))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


out = Path(__file__).resolve().parent.parent / "translations" / "flags"
out.mkdir(parents=True, exist_ok=True)
for name, pixel in (("English", english), ("German", german)):
    (out / (name + ".png")).write_bytes(png(pixel))
