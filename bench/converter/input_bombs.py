#!/usr/bin/env python3
"""Peak memory and time of conv on small hostile inputs whose tags unpack to gigabytes.

Run from the repository root after building conv:

    python3 bench/converter/input_bombs.py build

Inputs, generated into BUILD/bench-converter-bombs and reused:
  flac-png-bomb    a ~1 MB FLAC whose PNG cover claims 16000x16000 pixels of zeros
  mp3-id3-zlib     a ~1 MB MP3 with 5 zlib-compressed ID3v2 APIC frames of ~200 MB each
  mp3-id3-zlib-16mb  the same with 4 frames of 4 MB, within what conv unpacks
  png-bomb-as-input  the 16000x16000 PNG itself as the input
  mp3-16mb-cover     an MP3 with a plain 16 MB cover, the largest an output keeps
  mp3-1200-covers  an MP3 with 1,200 tiny APIC frames
  flac-1200-covers a FLAC with 1,200 tiny PICTURE blocks
Each is converted to MP3, FLAC, OGG, WAV and AMR. Printed per run: the exit status, the
peak resident size of conv (target: under 150 MB for any input under 20 MB), the wall
time, and conv's last line.
"""

import os
import struct
import subprocess
import sys
import zlib

from conv_bench import converter, flac_blocks, measure

PNG_SIDE = 16000
ID3_FRAME_BYTES = 200 * 1000 * 1000
ID3_FRAMES = 5
MANY = 1200
OUTPUTS = [".mp3", ".flac", ".ogg", ".wav", ".amr"]


def ffmpeg(*args):
    subprocess.run(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y", *args],
                   check=True)


def deflate_zeros(total, level=9):
    packer = zlib.compressobj(level)
    chunk = bytes(1 << 20)
    parts = []
    left = total
    while left:
        n = min(left, len(chunk))
        parts.append(packer.compress(chunk[:n]))
        left -= n
    parts.append(packer.flush())
    return b"".join(parts)


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(
        ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def bomb_png(side):
    # Every row: filter byte 0, then black RGB pixels; all zeros, so it packs ~1000:1.
    ihdr = struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)
    data = deflate_zeros(side * (side * 3 + 1))
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + png_chunk(b"IDAT", data) +
            png_chunk(b"IEND", b""))


def tiny_png():
    ihdr = struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) +
            png_chunk(b"IDAT", zlib.compress(b"\0\0\0\0")) + png_chunk(b"IEND", b""))


def flac_with_pictures(flac, pictures):
    blocks, frames = flac_blocks(flac)
    blocks = [b for b in blocks if b[0] != 1]  # no padding
    for width, height, image in pictures:
        body = struct.pack(">I", 3) + struct.pack(">I", 9) + b"image/png" + struct.pack(
            ">I", 0) + struct.pack(">IIII", width, height, 24, 0) + struct.pack(
                ">I", len(image)) + image
        blocks.append((6, body))
    out = b"fLaC"
    for i, (kind, body) in enumerate(blocks):
        last = 0x80 if i == len(blocks) - 1 else 0
        out += bytes([kind | last]) + len(body).to_bytes(3, "big") + body
    return out + frames


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def apic_body(image):
    return b"\x00image/png\x00\x03\x00" + image


def id3v24(frames):
    body = b"".join(frames)
    return b"ID3\x04\x00\x00" + synchsafe(len(body)) + body


def id3_frame(kind, body, flags=0):
    return kind + synchsafe(len(body)) + struct.pack(">H", flags) + body


def compressed_apic(unpacked_bytes):
    # A PNG signature, then zeros: compression flag and data length indicator (v2.4).
    packer = zlib.compressobj(9)
    head = apic_body(b"\x89PNG\r\n\x1a\n")
    packed = packer.compress(head) + packer.compress(bytes(unpacked_bytes - len(head)))
    packed += packer.flush()
    return id3_frame(b"APIC", struct.pack(">I", unpacked_bytes) + packed, 0x0009)


def make_inputs(folder):
    os.makedirs(folder, exist_ok=True)
    paths = {}
    flac = os.path.join(folder, "base.flac")
    mp3 = os.path.join(folder, "base.mp3")
    if not os.path.exists(mp3):
        ffmpeg("-f", "lavfi", "-i", "sine=duration=2", "-ac", "2", flac)
        ffmpeg("-f", "lavfi", "-i", "sine=duration=2", "-ac", "2", "-c:a", "libmp3lame", mp3)
    with open(flac, "rb") as f:
        flac_bytes = f.read()
    with open(mp3, "rb") as f:
        mp3_bytes = f.read()

    def keep(name, build):
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            with open(path + ".part", "wb") as f:
                f.write(build())
            os.rename(path + ".part", path)
        paths[name] = path

    keep("flac-png-bomb.flac",
         lambda: flac_with_pictures(flac_bytes, [(PNG_SIDE, PNG_SIDE, bomb_png(PNG_SIDE))]))
    keep("mp3-id3-zlib.mp3",
         lambda: id3v24([compressed_apic(ID3_FRAME_BYTES)] * ID3_FRAMES) + mp3_bytes)
    # Within the limit: converts, with the pictures unpacked once.
    keep("mp3-id3-zlib-16mb.mp3",
         lambda: id3v24([compressed_apic(4 * 1000 * 1000)] * 4) + mp3_bytes)
    keep("png-bomb-as-input.png", lambda: bomb_png(PNG_SIDE))
    # The largest cover an output keeps, stored plainly: what a legitimate big tag costs.
    keep("mp3-16mb-cover.mp3",
         lambda: id3v24([id3_frame(b"APIC", apic_body(tiny_png() + bytes(16_000_000)))]) +
         mp3_bytes)
    keep("mp3-1200-covers.mp3",
         lambda: id3v24([id3_frame(b"APIC", apic_body(tiny_png()))] * MANY) + mp3_bytes)
    keep("flac-1200-covers.flac",
         lambda: flac_with_pictures(flac_bytes, [(1, 1, tiny_png())] * MANY))
    return paths


def run(conv, source, output):
    seconds, _, peak, code, text = measure([conv, "-i", source, "-y", output])
    lines = text.replace("\r", "\n").strip().splitlines()
    return code, peak / 1024.0, seconds, lines[-1] if lines else ""


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    conv = converter(build)
    folder = os.path.join(build, "bench-converter-bombs")
    inputs = make_inputs(folder)
    print(f"{'input':22} {'size':>8} {'output':6} {'exit':>4} {'peak MB':>8} {'time s':>7}  last line")
    for name, path in inputs.items():
        size = os.path.getsize(path) / 1e6
        for ext in OUTPUTS:
            output = os.path.join(folder, "out" + ext)
            code, peak, seconds, last = run(conv, path, output)
            if os.path.exists(output):
                os.unlink(output)
            print(f"{name:22} {size:6.1f}MB {ext:6} {code:>4} {peak:8.1f} {seconds:7.2f}  {last[-90:]}",
                  flush=True)


if __name__ == "__main__":
    main()
