#!/usr/bin/env python3
"""Lays out the browser program as static files any web server can serve: the page, tolvi.js
and tolvi.wasm, the title picture and the icons as PNG, the sample files, and a service
worker whose cache is named by a hash of all of them.

Usage: lay_out_page.py BUILD_DIR OUT_DIR (BUILD_DIR holds tolvi.js and tolvi.wasm)."""

import hashlib
import json
import pathlib
import shutil
import struct
import sys
import zlib

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "resources"))
import make_art  # noqa: E402

PAGE = ROOT / "web" / "page"
SAMPLES = ["string.dat", "japanese.dat", "japanese.utf8.txt", "Gelvo.ini"]
ICON_SIZES = [192, 512]


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def bmp_to_png(bmp):
    """An 8-bit bitmap with its colour table, bottom-up rows, as a PNG of the same palette."""
    pixels_at, = struct.unpack_from("<I", bmp, 10)
    info_size, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", bmp, 14)
    colours, = struct.unpack_from("<I", bmp, 14 + 32)
    if bits != 8 or compression != 0 or height <= 0:
        sys.exit("lay_out_page: the title picture must be an uncompressed bottom-up 8-bit bitmap")
    colours = colours or 256
    table = bmp[14 + info_size:14 + info_size + 4 * colours]
    # Blue, green, red and an unused byte each.
    palette = b"".join(bytes((blue_green_red[2], blue_green_red[1], blue_green_red[0]))
                       for blue_green_red in (table[i:i + 3] for i in range(0, len(table), 4)))
    row_bytes = (width + 3) // 4 * 4
    rows = [bmp[pixels_at + row_bytes * (height - 1 - y):][:width] for y in range(height)]
    raw = b"".join(b"\0" + row for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"PLTE", palette)
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def icon_png(size):
    """The program's icon drawn again at size, each of its pixels a square."""
    colours, clear = make_art.make_icon()
    factor = size // make_art.ICON_SIZE
    big, big_clear = make_art.Canvas(size, size), make_art.Canvas(size, size)
    for y in range(size):
        for x in range(size):
            big.put(x, y, colours.get(x // factor, y // factor))
            big_clear.put(x, y, clear.get(x // factor, y // factor))
    return make_art.png_bytes(big, big_clear, make_art.VGA16)


def service_worker(out):
    files = sorted(p.relative_to(out).as_posix() for p in out.rglob("*") if p.is_file())
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0" + (out / name).read_bytes())
    text = (PAGE / "sw.js").read_text()
    text = text.replace("@CACHE@", "tolvi-" + digest.hexdigest()[:16])
    return text.replace("@FILES@", json.dumps(["./"] + files))


def main():
    build, out = (pathlib.Path(a) for a in sys.argv[1:3])
    shutil.rmtree(out, ignore_errors=True)
    (out / "samples").mkdir(parents=True)
    for source in PAGE.iterdir():
        if source.name != "sw.js":
            shutil.copyfile(source, out / source.name)
    for name in ("tolvi.js", "tolvi.wasm"):
        shutil.copyfile(build / name, out / name)
    for name in SAMPLES:
        shutil.copyfile(ROOT / "data" / name, out / "samples" / name)
    (out / "title.png").write_bytes(bmp_to_png((ROOT / "resources" / "title.bmp").read_bytes()))
    shutil.copyfile(ROOT / "resources" / "tolvi.png", out / "tolvi.png")
    for size in ICON_SIZES:
        (out / f"icon-{size}.png").write_bytes(icon_png(size))
    (out / "sw.js").write_text(service_worker(out))


if __name__ == "__main__":
    main()
