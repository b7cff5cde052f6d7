"""Feeds the converter damaged copies of tagged media and counts what went wrong.

    python3 bench/converter/mutants.py build-asan [runs] [seed]

Seeds are tagged files with cover art made by ffmpeg (MP3, FLAC, OGG, M4A, WAV); each run takes
one, flips, inserts, deletes or repeats a few byte ranges, converts it into a format chosen in
turn, and notes sanitizer reports, crashes (killed by a signal), hangs (no end within 60 s),
temporary files left behind and outputs left after a failure. Meant for a sanitizer tree; it
prints one line of counts and the first cases of each kind."""

import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from conv_bench import converter, measure  # noqa: E402

FORMATS = ["mp3", "flac", "ogg", "wav", "wma", "ac3", "aac", "amr", "mpg", "opus", "m4a"]
REPORTS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:")


def make_seeds(folder):
    cover = os.path.join(folder, "cover.png")
    subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x64",
                    "-frames:v", "1", cover], check=True)
    tags = ["-metadata", "title=Morning Song", "-metadata", "artist=The Testers",
            "-metadata", "album=Attack", "-metadata", "track=2/9", "-metadata", "date=2024"]
    seeds = []
    for ext, codec, art in [("mp3", "libmp3lame", True), ("flac", "flac", True),
                            ("ogg", "libvorbis", False), ("m4a", "aac", True),
                            ("wav", "pcm_s16le", False)]:
        path = os.path.join(folder, "seed." + ext)
        argv = ["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=duration=3", "-ac", "2"]
        if art:
            argv += ["-i", cover, "-map", "0:a", "-map", "1:v", "-c:v", "png",
                     "-disposition:v", "attached_pic"]
        argv += ["-c:a", codec] + tags + [path]
        subprocess.run(argv, check=True)
        with open(path, "rb") as f:
            seeds.append((ext, f.read()))
    return seeds


def mutate(data, rng):
    data = bytearray(data)
    for _ in range(rng.randint(1, 6)):
        if not data:
            break
        pos = rng.randrange(len(data))
        kind = rng.randrange(5)
        if kind == 0:
            data[pos] ^= 1 << rng.randrange(8)
        elif kind == 1:
            data[pos:pos + 4] = rng.randbytes(4)
        elif kind == 2:
            data[pos:pos] = rng.randbytes(rng.randint(1, 64))
        elif kind == 3:
            del data[pos:pos + rng.randint(1, 256)]
        else:
            length = rng.randint(1, 512)
            data[pos:pos] = data[pos:pos + length] * rng.randint(2, 20)
    return bytes(data)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-asan"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    conv = converter(build)
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:abort_on_error=0",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    found = {"reports": [], "crashes": [], "hangs": [], "leftovers": [], "failed outputs": []}
    statuses = {}
    with tempfile.TemporaryDirectory() as work:
        seeds = make_seeds(work)
        out = os.path.join(work, "out")
        for run in range(runs):
            ext, seed = seeds[run % len(seeds)]
            source = os.path.join(work, f"mutant.{ext}")
            with open(source, "wb") as f:
                f.write(mutate(seed, rng))
            shutil.rmtree(out, ignore_errors=True)
            os.mkdir(out)
            target = os.path.join(out, "result." + FORMATS[run % len(FORMATS)])
            _, _, _, code, text = measure([conv, "-i", source, "-y", target], timeout=60, env=env)
            statuses[code] = statuses.get(code, 0) + 1
            case = f"run {run}: {ext} -> {FORMATS[run % len(FORMATS)]}"
            if any(r in text for r in REPORTS):
                found["reports"].append(case)
            if code is None:
                found["hangs"].append(case)
            elif code < 0 or code > 128:
                found["crashes"].append(f"{case} (status {code})")
            left = [n for n in os.listdir(out) if n != "result." + FORMATS[run % len(FORMATS)]]
            if left:
                found["leftovers"].append(f"{case}: {left}")
            if code == 1 and os.path.exists(target):
                found["failed outputs"].append(case)
    print(f"{runs} runs; exit statuses {dict(sorted(statuses.items(), key=str))}")
    print(", ".join(f"{len(v)} {k}" for k, v in found.items()))
    for kind, cases in found.items():
        for case in cases[:5]:
            print(f"  {kind}: {case}")


if __name__ == "__main__":
    main()
