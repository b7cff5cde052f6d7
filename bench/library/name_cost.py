#!/usr/bin/env python3
"""What naming outputs from tags costs: one-minute tagged MP3 files converted to MP3 by
`pelkora --batch -j 1`, with and without --name, in alternating rounds. Prints the median
wall time of each and their ratio (target: at most 1.02).

    python3 bench/library/name_cost.py build [files] [rounds]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def make_sources(folder, count):
    for i in range(count):
        subprocess.run(
            ["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
             f"sine=frequency={300 + 40 * i}:duration=60", "-ac", "2",
             "-metadata", "artist=The Testers", "-metadata", "album=First Light",
             "-metadata", f"track={i + 1}/{count}", "-metadata", f"title=Song {i + 1}",
             os.path.join(folder, f"{i + 1:02d}.mp3")], check=True)


def run(program, sources, output, extra):
    shutil.rmtree(output, ignore_errors=True)
    os.makedirs(output)
    start = time.monotonic()
    subprocess.run([program, "--batch", "-q", "-j", "1", "--format", "mp3", "--output", output,
                    *extra, sources], check=True)
    return time.monotonic() - start


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 6
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    program = os.path.abspath(os.path.join(build, "pelkora", "pelkora"))
    with tempfile.TemporaryDirectory() as work:
        sources = os.path.join(work, "in")
        os.makedirs(sources)
        make_sources(sources, count)
        output = os.path.join(work, "out")
        plain, named = [], []
        for _ in range(rounds):
            plain.append(run(program, sources, output, []))
            named.append(run(program, sources, output,
                             ["--name", "{artist}/{album}/{track} - {title}"]))
        expected = os.path.join(output, "The Testers", "First Light", "01 - Song 1.mp3")
        if not os.path.isfile(expected):
            sys.exit(f"the named output {expected} is missing")
    p, n = statistics.median(plain), statistics.median(named)
    print(f"{count} one-minute MP3 files to MP3, {rounds} rounds each, median wall time")
    print(f"  plain names:      {p:.2f} s")
    print(f"  names from tags:  {n:.2f} s")
    print(f"  ratio {n / p:.3f} (target at most 1.02)")


if __name__ == "__main__":
    main()
