#!/usr/bin/env python3
"""Speed and memory of conv against the ffmpeg program, format by format.

Run from the repository root after building:

    python3 bench/converter/compare_ffmpeg.py build            # 10-minute and 2-hour inputs
    python3 bench/converter/compare_ffmpeg.py build --quick    # 10-minute input only

Both programs convert the same generated 44.1 kHz stereo WAV with the same codec and
settings, one thread each, as the window asks for each format (MP3 128k 44100 Hz stereo ...).
Printed per format: the best wall time of each program over --runs alternating runs, the
ratio conv/ffmpeg (target <= 1.00), both peak resident sizes (target: conv no higher than
ffmpeg), and the share of conv's time spent reading its output back before putting it in
place (target <= 3 %), which conv reports when CONV_REPORT_CHECK_TIME is set. The CPU-time ratio is printed beside it: on a shared machine it is the steadier figure. With the 2-hour input, conv's peak memory is printed for both lengths (target: flat).

Debian's ffmpeg has no AMR-NB encoder, so its AMR baseline only decodes and resamples to
8 kHz mono WAV; that row shows what conv's encoding adds and is marked with "*".
Generated inputs are kept in BUILD/bench-converter and reused.
"""

import argparse
import os
import re
import subprocess
import sys

from conv_bench import converter, measure

FFMPEG = "/usr/bin/ffmpeg"

# Extension, conv arguments (as the window builds them), ffmpeg output arguments.
FORMATS = [
    (".mp3", ["-y", "-vn", "-ab", "128k", "-ar", "44100", "-ac", "2"],
     ["-vn", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-ac", "2"]),
    (".wma", ["-y", "-vn", "-acodec", "wmav1"], ["-vn", "-c:a", "wmav1", "-b:a", "128k"]),
    (".ogg", ["-y", "-vn", "-ac", "2"], ["-vn", "-c:a", "libvorbis", "-q:a", "3", "-ac", "2"]),
    (".wav", ["-y", "-vn", "-acodec", "pcm_s16le"], ["-vn", "-c:a", "pcm_s16le"]),
    (".flac", ["-y", "-vn"], ["-vn", "-c:a", "flac"]),
    (".ac3", ["-y", "-vn"], ["-vn", "-c:a", "ac3"]),
    (".aac", ["-y", "-vn"], ["-vn", "-c:a", "aac"]),
    (".amr", ["-y", "-vn", "-ar", "8000", "-ab", "7.4k", "-ac", "1"],
     ["-vn", "-ar", "8000", "-ac", "1", "-c:a", "pcm_s16le", "-f", "wav"]),
    (".mpg", ["-y", "-vn", "-ab", "128k", "-ar", "44100", "-ac", "2"],
     ["-vn", "-c:a", "mp2", "-b:a", "128k", "-ar", "44100", "-ac", "2", "-f", "mpeg"]),
]


def make_input(path, seconds):
    if os.path.exists(path):
        return
    print(f"generating {path} ({seconds // 60} min) ...", flush=True)
    # Two tones with noise: encoders have real work, unlike with silence or a pure tone.
    expr = ("0.25*sin(2*PI*440*t)+0.1*sin(2*PI*3520*t)+0.15*(random(0)-0.5)|"
            "0.25*sin(2*PI*554*t)+0.1*sin(2*PI*2217*t)+0.15*(random(1)-0.5)")
    tmp = path + ".tmp.wav"
    subprocess.run([FFMPEG, "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi",
                    "-i", f"aevalsrc=exprs='{expr}':sample_rate=44100:duration={seconds}",
                    "-c:a", "pcm_s16le", tmp], check=True)
    os.replace(tmp, path)


def measure_run(argv):
    """Wall seconds, CPU seconds, peak resident kilobytes and output check seconds of one run."""
    wall, cpu, peak, code, text = measure(argv, env=dict(os.environ, CONV_REPORT_CHECK_TIME="1"))
    if code != 0:
        sys.exit(f"failed ({code}): {' '.join(argv)}")
    found = re.findall(r"check: ([0-9.]+) ms", text)
    return wall, cpu, peak, float(found[-1]) / 1000 if found else 0.0


def commands(conv, source, out_dir, ext, conv_args, ff_args):
    conv_out = os.path.join(out_dir, "conv" + ext)
    ff_out = os.path.join(out_dir, "ffmpeg" + ext)
    conv_cmd = [conv, "-i", source] + conv_args + [conv_out]
    ff_cmd = [FFMPEG, "-nostdin", "-hide_banner", "-threads", "1", "-filter_threads", "1",
              "-i", source, "-threads", "1", "-y"] + ff_args + [ff_out]
    return conv_cmd, ff_cmd


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", help="build folder holding pelkora/data/conv")
    parser.add_argument("--quick", action="store_true", help="skip the 2-hour input")
    parser.add_argument("--runs", type=int, default=3, help="runs per program and format")
    args = parser.parse_args()

    conv = converter(args.build)
    work = os.path.join(args.build, "bench-converter")
    os.makedirs(work, exist_ok=True)
    short = os.path.join(work, "input-10min.wav")
    make_input(short, 600)
    long = os.path.join(work, "input-2h.wav")
    if not args.quick:
        make_input(long, 7200)

    print(f"\n10-minute 44.1 kHz stereo WAV, best of {args.runs} runs, one thread each")
    print(f"{'format':7} {'conv s':>8} {'ffmpeg s':>9} {'ratio':>7} {'cpu ratio':>10} "
          f"{'conv MB':>8} {'ffmpeg MB':>10} {'check %':>8}  verdict")
    peaks = {}
    for ext, conv_args, ff_args in FORMATS:
        conv_cmd, ff_cmd = commands(conv, short, work, ext, conv_args, ff_args)
        conv_runs, ff_runs = [], []
        for _ in range(args.runs):
            conv_runs.append(measure_run(conv_cmd))
            ff_runs.append(measure_run(ff_cmd))
        conv_t = min(r[0] for r in conv_runs)
        ff_t = min(r[0] for r in ff_runs)
        cpu_ratio = min(r[1] for r in conv_runs) / min(r[1] for r in ff_runs)
        conv_m = max(r[2] for r in conv_runs)
        ff_m = max(r[2] for r in ff_runs)
        ratio = conv_t / ff_t
        best = min(conv_runs, key=lambda r: r[0])
        share = 100.0 * best[3] / best[0]
        peaks[ext] = conv_m
        mark = "*" if ext == ".amr" else " "
        ok = (ratio <= 1.00 or ext == ".amr") and conv_m <= ff_m and share <= 3.0
        verdict = "ok" if ok else "MISSED"
        if ext == ".amr":
            verdict += " (memory only; no like baseline)"
        print(f"{ext[1:]:6}{mark} {conv_t:8.2f} {ff_t:9.2f} {ratio:7.3f} {cpu_ratio:10.3f} "
              f"{conv_m / 1024:8.1f} {ff_m / 1024:10.1f} {share:8.2f}  {verdict}")
        for name in ("conv" + ext, "ffmpeg" + ext):
            os.remove(os.path.join(work, name))

    if args.quick:
        return
    print("\nconv peak memory, 10-minute against 2-hour input (one run each)")
    print(f"{'format':7} {'10 min MB':>10} {'2 h MB':>8} {'growth':>8}")
    for ext, conv_args, ff_args in FORMATS:
        conv_cmd, _ = commands(conv, long, work, ext, conv_args, ff_args)
        _, _, m, _ = measure_run(conv_cmd)
        os.remove(os.path.join(work, "conv" + ext))
        print(f"{ext[1:]:7} {peaks[ext] / 1024:10.1f} {m / 1024:8.1f} "
              f"{(m - peaks[ext]) / 1024:+8.1f}")


if __name__ == "__main__":
    main()
