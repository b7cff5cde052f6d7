"""What the converter benchmarks share: finding conv, timing one run, reading FLAC blocks."""

import os
import subprocess
import sys
import tempfile
import threading
import time


def converter(build):
    """The conv program of a build folder; ends the benchmark when it is not built."""
    conv = os.path.join(build, "pelkora", "data", "conv")
    if not os.access(conv, os.X_OK):
        sys.exit(f"no converter at {conv}; build first")
    return conv


def measure(argv, timeout=None, env=None):
    """Wall seconds, CPU seconds, peak resident kilobytes, exit status (None when stopped at
    the timeout) and what the program printed, of one run."""
    start = time.perf_counter()
    with tempfile.TemporaryFile() as out:
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=out, stderr=out, env=env)
        stopper = threading.Timer(timeout, proc.kill) if timeout else None
        if stopper:
            stopper.start()
        _, status, usage = os.wait4(proc.pid, 0)
        if stopper:
            stopper.cancel()
        wall = time.perf_counter() - start
        out.seek(0)
        text = out.read().decode(errors="replace")
    code = os.waitstatus_to_exitcode(status)
    if timeout and wall >= timeout:
        code = None
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, code, text


def flac_blocks(data):
    """The metadata blocks of a FLAC file as (type, body), and the frames after them."""
    if data[:4] != b"fLaC":
        sys.exit("not a FLAC file")
    pos, blocks = 4, []
    while True:
        header = data[pos]
        length = int.from_bytes(data[pos + 1:pos + 4], "big")
        blocks.append((header & 0x7F, data[pos + 4:pos + 4 + length]))
        pos += 4 + length
        if header & 0x80:
            return blocks, data[pos:]
