#!/usr/bin/env python3
"""A synchronised run with nothing to do: `pelkora --batch --sync` over SOURCES tiny files that
an earlier sync converted already, against `find SRC OUT -printf '%s %T@'` over the same trees
(the least any tool must do to see that nothing changed). Prints the first sync's time, the
median no-op time, its ratio to find (target: at most 1 s and at most 3x), and the no-op run's
peak memory.

    python3 bench/library/sync_noop.py build [sources] [rounds] [--seed]

The first sync converts every file (about 17 ms each on two cores, half an hour for 100000).
With --seed it converts the first 100 only and gives the rest copies of their record rows and
hard links of their outputs, so a no-op run over 100000 sources is ready in seconds; a trial
sync over 200 sources first checks that the copies pass as synced.
"""
import os
import shutil
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import time

SEEDED = 100


def timed(command):
    start = time.monotonic()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.monotonic() - start


def name(i):
    return f"album{i // 100:04d}/track{i:06d}"


def linkable(original, i):
    """original, or a same-dated copy of it for every 50000 links, below ext4's link limit."""
    if i < 50000:
        return original
    copy = f"{original}.{i // 50000}"
    if not os.path.exists(copy):
        shutil.copy2(original, copy)
    return copy


def make_sources(tone, source, first, last):
    # Links rather than copies: the no-op run only looks at names, sizes and times.
    for i in range(first, last):
        os.makedirs(os.path.join(source, f"album{i // 100:04d}"), exist_ok=True)
        os.link(linkable(tone, i), os.path.join(source, name(i) + ".wav"))


def clone(work, output, first, last):
    """Record rows and outputs for sources first..last, copied from source 0's."""
    record = sqlite3.connect(os.path.join(output, ".pelkora-sync.sqlite"))
    columns = [row[1] for row in record.execute("PRAGMA table_info(sources)")]
    model = dict(zip(columns, record.execute("SELECT * FROM sources WHERE key = ?",
                                             (os.fsencode(name(0) + ".wav"),)).fetchone()))
    original = os.path.join(work, "output.wav")
    if not os.path.exists(original):
        os.link(os.path.join(output, os.fsdecode(model["output"])), original)
    rows = []
    for i in range(first, last):
        out = os.path.basename(name(i)) + ".wav"
        os.link(linkable(original, i), os.path.join(output, out))
        rows.append(dict(model, key=os.fsencode(name(i) + ".wav"), output=os.fsencode(out)))
    with record:
        record.executemany(f"INSERT INTO sources ({', '.join(columns)}) VALUES "
                           f"({', '.join(':' + c for c in columns)})", rows)
    record.close()


def inodes(output, first, last):
    # An output the sync made again is a new file, no longer one of the links.
    return [os.stat(os.path.join(output, os.path.basename(name(i)) + ".wav")).st_ino
            for i in range(first, last)]


def main():
    seed = "--seed" in sys.argv
    args = [a for a in sys.argv[1:] if a != "--seed"]
    build = args[0] if len(args) > 0 else "build"
    count = int(args[1]) if len(args) > 1 else 10000
    rounds = int(args[2]) if len(args) > 2 else 3
    program = os.path.abspath(os.path.join(build, "pelkora", "pelkora"))
    with tempfile.TemporaryDirectory() as work:
        source, output = os.path.join(work, "src"), os.path.join(work, "out")
        tone = os.path.join(work, "tone.wav")
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                        "sine=d=0.05", "-ac", "1", tone], check=True)
        sync = [program, "--batch", "-q", "--sync", "--format", "wav", "--output", output,
                source]
        converted = min(count, SEEDED) if seed else count
        make_sources(tone, source, 0, converted)
        first = timed(sync)
        if converted < count:
            trial = min(count, 2 * SEEDED)
            make_sources(tone, source, converted, trial)
            clone(work, output, converted, trial)
            seeded = inodes(output, converted, trial)
            subprocess.run(sync, check=True, stdout=subprocess.DEVNULL)
            if inodes(output, converted, trial) != seeded:
                sys.exit("the sync converted the seeded sources again; run without --seed")
            make_sources(tone, source, trial, count)
            clone(work, output, trial, count)
            seeded = inodes(output, converted, count)
        noop, found = [], []
        for _ in range(rounds):
            noop.append(timed(sync))
            found.append(timed(["find", source, output, "-printf", "%s %T@\n"]))
        # The no-op run converts nothing, so its peak is the program's own.
        measured = subprocess.run(["/usr/bin/time", "-f", "%M", *sync], check=True,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        peak_kb = int(measured.stderr.strip().splitlines()[-1])
        if converted < count and inodes(output, converted, count) != seeded:
            sys.exit("a no-op run converted seeded sources again")
    n, f = statistics.median(noop), statistics.median(found)
    print(f"{count} sources, {rounds} rounds")
    if converted < count:
        print(f"  first sync of {converted} (the other {count - converted} seeded): "
              f"{first:.1f} s")
    else:
        print(f"  first sync (every file converted): {first:.1f} s")
    print(f"  no-op sync: {n:.3f} s (target at most 1 s)")
    print(f"  find over both trees: {f:.3f} s")
    print(f"  ratio {n / f:.1f} (target at most 3)")
    print(f"  peak memory of the no-op run: {peak_kb / 1024:.0f} MB")


if __name__ == "__main__":
    main()
