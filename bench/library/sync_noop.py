#!/usr/bin/env python3
"""A synchronised run with nothing to do: `pelkora --batch --sync` over SOURCES tiny files that
an earlier sync converted already, against `find SRC OUT -printf '%s %T@'` over the same trees
(the least any tool must do to see that nothing changed). Prints the first sync's time, the
median no-op time, its ratio to find (target: at most 1 s and at most 3x), and the no-op run's
peak memory.

    python3 bench/library/sync_noop.py build [sources] [rounds]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def timed(command):
    start = time.monotonic()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.monotonic() - start


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    program = os.path.abspath(os.path.join(build, "pelkora", "pelkora"))
    with tempfile.TemporaryDirectory() as work:
        source, output = os.path.join(work, "src"), os.path.join(work, "out")
        tone = os.path.join(work, "tone.wav")
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                        "sine=d=0.05", "-ac", "1", tone], check=True)
        for i in range(count):
            folder = os.path.join(source, f"album{i // 100:04d}")
            os.makedirs(folder, exist_ok=True)
            shutil.copy(tone, os.path.join(folder, f"track{i:06d}.wav"))
        sync = [program, "--batch", "-q", "--sync", "--format", "wav", "--output", output,
                source]
        first = timed(sync)
        noop, found = [], []
        for _ in range(rounds):
            noop.append(timed(sync))
            found.append(timed(["find", source, output, "-printf", "%s %T@\n"]))
        # The no-op run converts nothing, so its peak is the program's own.
        measured = subprocess.run(["/usr/bin/time", "-f", "%M", *sync], check=True,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        peak_kb = int(measured.stderr.strip().splitlines()[-1])
    n, f = statistics.median(noop), statistics.median(found)
    print(f"{count} sources, {rounds} rounds")
    print(f"  first sync (every file converted): {first:.1f} s")
    print(f"  no-op sync: {n:.3f} s (target at most 1 s)")
    print(f"  find over both trees: {f:.3f} s")
    print(f"  ratio {n / f:.1f} (target at most 3)")
    print(f"  peak memory of the no-op run: {peak_kb / 1024:.0f} MB")


if __name__ == "__main__":
    main()
