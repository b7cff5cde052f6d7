#!/usr/bin/env python3
"""How long conv takes on inputs flooded with tags.

Run from the repository root after building:

    python3 bench/converter/tag_flood.py build                 # 10,000 and 100,000 tags
    python3 bench/converter/tag_flood.py build --counts 70000  # other counts

Each input is a one-second FLAC file whose Vorbis comment holds N distinct tags
("KEY123=value 123"), made here from a plain FLAC by rewriting its metadata blocks. Printed
per tag count and output format: conv's wall time, CPU time and peak resident size, and
whether it said it left tags out. Formats that hold no tags (AAC, AC3, AMR) show what reading
the tags costs alone; the "ffprobe" row is the same libraries' reader on its own, the floor
for any program built on them. Runs that take longer than --timeout seconds are stopped and shown as such.
Generated inputs are kept in BUILD/bench-converter and reused.
"""

import argparse
import os
import re
import struct
import subprocess
import sys

from conv_bench import converter, flac_blocks, measure

FFMPEG = "/usr/bin/ffmpeg"
FFPROBE = "/usr/bin/ffprobe"
FORMATS = [".mp3", ".wma", ".ogg", ".wav", ".flac", ".aac", ".ac3", ".amr"]
VORBIS_COMMENT = 4


def with_tags(data, count):
    """The FLAC file with its Vorbis comment replaced by `count` distinct tags."""
    blocks, frames = flac_blocks(data)
    comments = [f"KEY{i}=value {i}".encode() for i in range(count)]
    vendor = b"tag_flood"
    body = struct.pack("<I", len(vendor)) + vendor + struct.pack("<I", len(comments))
    body += b"".join(struct.pack("<I", len(c)) + c for c in comments)
    if len(body) >= 1 << 24:
        sys.exit(f"{count} tags do not fit in one FLAC metadata block")
    kept = [b for b in blocks if b[0] != VORBIS_COMMENT]
    kept.insert(1, (VORBIS_COMMENT, body))  # right after STREAMINFO
    out = bytearray(b"fLaC")
    for i, (kind, block) in enumerate(kept):
        last = 0x80 if i == len(kept) - 1 else 0
        out += bytes([kind | last]) + len(block).to_bytes(3, "big") + block
    return bytes(out) + frames


def make_input(work, count):
    path = os.path.join(work, f"tags-{count}.flac")
    if os.path.exists(path):
        return path
    plain = os.path.join(work, "tags-plain.flac")
    if not os.path.exists(plain):
        subprocess.run([FFMPEG, "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-f",
                        "lavfi", "-i", "sine=duration=1", "-ac", "2", plain], check=True)
    with open(plain, "rb") as f:
        data = with_tags(f.read(), count)
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", help="build folder holding pelkora/data/conv")
    parser.add_argument("--counts", type=int, nargs="+", default=[10000, 100000])
    parser.add_argument("--timeout", type=float, default=300.0, help="seconds per run")
    args = parser.parse_args()

    conv = converter(args.build)
    work = os.path.join(args.build, "bench-converter")
    os.makedirs(work, exist_ok=True)

    print(f"{'tags':>7} {'format':6} {'wall s':>8} {'cpu s':>8} {'peak MB':>8} {'exit':>5}  "
          f"tags left out")
    for count in args.counts:
        source = make_input(work, count)
        wall, cpu, peak, code, _ = measure([FFPROBE, "-v", "quiet", source], args.timeout)
        shown = "stopped" if code is None else str(code)
        print(f"{count:7} {'ffprobe':7} {wall:7.2f} {cpu:8.2f} {peak / 1024:8.1f} {shown:>5}",
              flush=True)
        for ext in FORMATS:
            target = os.path.join(work, "tag-flood-out" + ext)
            wall, cpu, peak, code, text = measure([conv, "-i", source, "-y", target],
                                                  args.timeout)
            if os.path.exists(target):
                os.remove(target)
            shown = "stopped" if code is None else str(code)
            capped = "yes" if re.search(r"tags? (is|are) beyond", text) else "no"
            print(f"{count:7} {ext[1:]:6} {wall:8.2f} {cpu:8.2f} {peak / 1024:8.1f} {shown:>5}  "
                  f"{capped}", flush=True)


if __name__ == "__main__":
    main()
