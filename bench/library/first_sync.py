#!/usr/bin/env python3
"""A first synchronised run: `pelkora --batch --sync` to MP3 over SOURCES one-second WAV files
into an empty output folder, against `xargs -0 -n 13 -P <cores>` starting data/conv itself,
with no shell between and its progress sent to /dev/null, with the arguments pelkora gives it,
over the same files into another empty folder (the least any tool must do to convert them all
on every core). Prints the median wall time of each, per file, and their ratio (target: at
most 1.10). pelkora runs its default number of jobs, one per core.

    python3 bench/library/first_sync.py build [sources] [rounds]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# Given to both so that settings files left by other runs cannot make the work unequal.
BITRATE, RATE, CHANNELS = "128", "44100", "2"


def timed(command, output, stdin=None, stderr=None):
    shutil.rmtree(output, ignore_errors=True)
    os.makedirs(output)
    start = time.monotonic()
    subprocess.run(command, check=True, stdin=stdin, stdout=subprocess.DEVNULL, stderr=stderr)
    return time.monotonic() - start


def outputs(folder):
    return sum(1 for _, _, names in os.walk(folder) for name in names if name.endswith(".mp3"))


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    program = os.path.abspath(os.path.join(build, "pelkora", "pelkora"))
    conv = os.path.abspath(os.path.join(build, "pelkora", "data", "conv"))
    cores = len(os.sched_getaffinity(0))
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "src")
        synced, direct = os.path.join(work, "out-sync"), os.path.join(work, "out-xargs")
        tone = os.path.join(work, "tone.wav")
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                        "sine=d=1", tone], check=True)
        # One conv command line per file, as pelkora builds it; xargs hands conv 13 at a time.
        commands = os.path.join(work, "commands")
        with open(commands, "wb") as listing:
            for i in range(count):
                folder = os.path.join(source, f"album{i // 100:04d}")
                os.makedirs(folder, exist_ok=True)
                path = os.path.join(folder, f"track{i:06d}.wav")
                shutil.copy(tone, path)
                out = os.path.join(direct, f"track{i:06d}.mp3")
                arguments = ["-i", path, "-y", "-vn", "-ab", BITRATE + "k", "-ar", RATE,
                             "-ac", CHANNELS, "-map_meta_data", f"{path}:{out}", out]
                listing.write(b"".join(os.fsencode(a) + b"\0" for a in arguments))
        sync = [program, "--batch", "-q", "--sync", "--format", "mp3", "--bitrate", BITRATE,
                "--rate", RATE, "--channels", CHANNELS, "--output", synced, source]
        xargs = ["xargs", "-0", "-n", "13", "-P", str(cores), conv]
        ours, theirs = [], []
        for round_ in range(rounds):
            # Alternate which goes first so neither always finds the page cache warmer.
            with open(commands, "rb") as listing:
                if round_ % 2 == 0:
                    ours.append(timed(sync, synced))
                    theirs.append(timed(xargs, direct, listing, subprocess.DEVNULL))
                else:
                    theirs.append(timed(xargs, direct, listing, subprocess.DEVNULL))
                    ours.append(timed(sync, synced))
            for folder in (synced, direct):
                made = outputs(folder)
                if made != count:
                    sys.exit(f"{folder} holds {made} MP3 files, not {count}")
    p, x = statistics.median(ours), statistics.median(theirs)
    print(f"{count} one-second WAV files to MP3, {cores} cores, {rounds} rounds, "
          "median wall time")
    for label, seconds in (("first sync:", p), (f"xargs -P {cores} conv:", x)):
        print(f"  {label:<18} {seconds:.2f} s ({1000 * seconds / count:.1f} ms per file)")
    print(f"  ratio {p / x:.3f} (target at most 1.10)")


if __name__ == "__main__":
    main()
