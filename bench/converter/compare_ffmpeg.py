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

Then the same conversions of the formats that hold gain tags with ReplayGain on (-replaygain 1)
against without: wall ratio (target <= 1.03; the loudness is measured on a second thread, so on
a machine with a free core the wall time hardly moves) and CPU ratio (what the measuring costs
in all, decoding a lossy output again included).

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

# Label, extension, conv arguments (as the window builds them), ffmpeg output arguments.
FORMATS = [
    ("mp3", ".mp3", ["-y", "-vn", "-ab", "128k", "-ar", "44100", "-ac", "2"],
     ["-vn", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-ac", "2"]),
    ("wma", ".wma", ["-y", "-vn", "-acodec", "wmav1"], ["-vn", "-c:a", "wmav1", "-b:a", "128k"]),
    ("ogg", ".ogg", ["-y", "-vn", "-ac", "2"], ["-vn", "-c:a", "libvorbis", "-q:a", "3", "-ac", "2"]),
    ("wav", ".wav", ["-y", "-vn", "-acodec", "pcm_s16le"], ["-vn", "-c:a", "pcm_s16le"]),
    ("flac", ".flac", ["-y", "-vn"], ["-vn", "-c:a", "flac"]),
    ("ac3", ".ac3", ["-y", "-vn"], ["-vn", "-c:a", "ac3"]),
    ("aac", ".aac", ["-y", "-vn"], ["-vn", "-c:a", "aac"]),
    ("amr", ".amr", ["-y", "-vn", "-ar", "8000", "-ab", "7.4k", "-ac", "1"],
     ["-vn", "-ar", "8000", "-ac", "1", "-c:a", "pcm_s16le", "-f", "wav"]),
    ("mpg", ".mpg", ["-y", "-vn", "-ab", "128k", "-ar", "44100", "-ac", "2"],
     ["-vn", "-c:a", "mp2", "-b:a", "128k", "-ar", "44100", "-ac", "2", "-f", "mpeg"]),
    ("opus", ".opus", ["-y", "-vn", "-acodec", "libopus", "-ab", "128k", "-ac", "2"],
     ["-vn", "-c:a", "libopus", "-b:a", "128k", "-ac", "2"]),
    ("m4a", ".m4a", ["-y", "-vn", "-acodec", "aac", "-ab", "192k", "-ar", "44100", "-ac", "2"],
     ["-vn", "-c:a", "aac", "-b:a", "192k", "-ar", "44100", "-ac", "2", "-f", "ipod",
      "-movflags", "+faststart"]),
    ("alac", ".m4a", ["-y", "-vn", "-acodec", "alac"],
     ["-vn", "-c:a", "alac", "-f", "ipod", "-movflags", "+faststart"]),
]

# The formats with a place for gain tags.
TAGGED = ("mp3", "wma", "ogg", "flac", "opus", "m4a", "alac")


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
    for label, ext, conv_args, ff_args in FORMATS:
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
        peaks[label] = conv_m
        mark = "*" if ext == ".amr" else " "
        ok = (ratio <= 1.00 or ext == ".amr") and conv_m <= ff_m and share <= 3.0
        verdict = "ok" if ok else "MISSED"
        if ext == ".amr":
            verdict += " (memory only; no like baseline)"
        print(f"{label:6}{mark} {conv_t:8.2f} {ff_t:9.2f} {ratio:7.3f} {cpu_ratio:10.3f} "
              f"{conv_m / 1024:8.1f} {ff_m / 1024:10.1f} {share:8.2f}  {verdict}")
        for name in ("conv" + ext, "ffmpeg" + ext):
            os.remove(os.path.join(work, name))

    print(f"\n10-minute input, conv with -replaygain 1 against without, best of {args.runs} runs")
    print(f"{'format':7} {'plain s':>8} {'gain s':>8} {'ratio':>7} {'cpu ratio':>10} "
          f"{'gain MB':>8}  verdict")
    gain_peaks = {}
    for label, ext, conv_args, ff_args in FORMATS:
        if label not in TAGGED:
            continue
        plain_cmd, _ = commands(conv, short, work, ext, conv_args, ff_args)
        gain_cmd = plain_cmd[:-1] + ["-replaygain", "1", plain_cmd[-1]]
        plain_runs, gain_runs = [], []
        for _ in range(args.runs):
            plain_runs.append(measure_run(plain_cmd))
            gain_runs.append(measure_run(gain_cmd))
        plain_t = min(r[0] for r in plain_runs)
        gain_t = min(r[0] for r in gain_runs)
        cpu_ratio = min(r[1] for r in gain_runs) / min(r[1] for r in plain_runs)
        gain_peaks[label] = max(r[2] for r in gain_runs)
        ratio = gain_t / plain_t
        print(f"{label:7} {plain_t:8.2f} {gain_t:8.2f} {ratio:7.3f} {cpu_ratio:10.3f} "
              f"{gain_peaks[label] / 1024:8.1f}  {'ok' if ratio <= 1.03 else 'MISSED'}")
        os.remove(os.path.join(work, "conv" + ext))

    if args.quick:
        return
    print("\nconv peak memory, 10-minute against 2-hour input (one run each)")
    print(f"{'format':13} {'10 min MB':>10} {'2 h MB':>8} {'growth':>8}")
    for label, ext, conv_args, ff_args in FORMATS:
        for gain in ([False, True] if label in TAGGED else [False]):
            conv_cmd, _ = commands(conv, long, work, ext, conv_args, ff_args)
            if gain:
                conv_cmd = conv_cmd[:-1] + ["-replaygain", "1", conv_cmd[-1]]
            _, _, m, _ = measure_run(conv_cmd)
            os.remove(os.path.join(work, "conv" + ext))
            short_peak = gain_peaks[label] if gain else peaks[label]
            name = label + (" +gain" if gain else "")
            print(f"{name:13} {short_peak / 1024:10.1f} {m / 1024:8.1f} "
                  f"{(m - short_peak) / 1024:+8.1f}")


if __name__ == "__main__":
    main()
