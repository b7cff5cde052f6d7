"""Feeds the tag reader damaged copies of tagged media and counts what went wrong.

    python3 bench/tags/tag_mutants.py build-asan [runs] [seed]

The tag reader runs inside the window's process, so a file that crashes or hangs it takes the
window down. Seeds and mutations are the converter's (bench/converter/mutants.py): tagged files
with cover art, a few byte ranges flipped, inserted, deleted or repeated. Each mutant is read by
tag_probe on its own; sanitizer reports, crashes (killed by a signal or a failing status) and
hangs (no end within 20 s) are counted. Every other mutant is damaged only near its start or its
end, where the tags sit (ID3v2, FLAC and Ogg headers in front; M4A's moov and ID3v1 often at
the end), so most of the damage lands in what the reader parses. Meant for a sanitizer tree."""

import os
import random
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "converter"))
from conv_bench import measure  # noqa: E402
from mutants import REPORTS, make_seeds, mutate  # noqa: E402


def mutate_tags(data, rng):
    """Damage confined to the first or the last 16 KiB."""
    span = min(len(data), 16384)
    if rng.randrange(2):
        return mutate(data[:span], rng) + data[span:]
    return data[:len(data) - span] + mutate(data[len(data) - span:], rng)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-asan"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 400
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    probe = os.path.join(build, "tests", "naming", "tag_probe")
    if not os.access(probe, os.X_OK):
        sys.exit(f"no tag_probe at {probe}; build first")
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:abort_on_error=0",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    found = {"reports": [], "crashes": [], "hangs": []}
    tagged = untagged = 0
    slowest = 0.0
    with tempfile.TemporaryDirectory() as work:
        seeds = make_seeds(work)
        for run in range(runs):
            ext, seed = seeds[run % len(seeds)]
            source = os.path.join(work, f"mutant.{ext}")
            with open(source, "wb") as f:
                f.write(mutate_tags(seed, rng) if run % 2 else mutate(seed, rng))
            wall, _, _, code, text = measure([probe, source], timeout=20, env=env)
            slowest = max(slowest, wall)
            case = f"run {run}: {ext}"
            if any(r in text for r in REPORTS):
                found["reports"].append(case)
                with open(os.path.join(build, f"tag_mutant_{run}.{ext}"), "wb") as f:
                    f.write(open(source, "rb").read())
            if code is None:
                found["hangs"].append(case)
            elif code != 0:
                found["crashes"].append(f"{case} (status {code})")
            elif "no tags" in text:
                untagged += 1
            else:
                tagged += 1
    print(f"{runs} mutants; {tagged} read with tags, {untagged} without; "
          f"slowest read {slowest:.2f} s")
    print(", ".join(f"{len(v)} {k}" for k, v in found.items()))
    for kind, cases in found.items():
        for case in cases[:5]:
            print(f"  {kind}: {case}")


if __name__ == "__main__":
    main()
