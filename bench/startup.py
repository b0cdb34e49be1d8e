#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up time and peak memory of lumidra against a bare Qt window with five empty tabs.

Starts both programs headless (QT_QPA_PLATFORM=offscreen), alternately, N times each for the
time to the first painted frame and N times each under /usr/bin/time -v for the peak resident
memory, and prints the medians and their ratios. The programs report their first frame
themselves when LUMIDRA_EXIT_AFTER_FIRST_FRAME=1 (app/firstframe.h) and then end. The time
counts from just before the program is started: loading it and its libraries is part of it.

Exit status 0 when both ratios are within their targets (start-up 1.35, memory 1.25), 1 when
one is missed, 2 when a program could not be measured.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

TIME_TARGET = 1.35
MEMORY_TARGET = 1.25
ROOT = Path(__file__).resolve().parent.parent


def find_build_dir(given):
    if given:
        return Path(given)
    for preset in ("bench", "dev"):
        d = ROOT / "build" / preset / "bin"
        if (d / "lumidra").exists() and (d / "bare_window").exists():
            return d
    sys.exit("no build with lumidra and bare_window: cmake --workflow --preset bench")


def first_frame_ms(program, env):
    """Milliseconds from the start of the process to its first frame, and to main."""
    start = time.monotonic_ns()
    run = subprocess.run([str(program)], env=env, capture_output=True, text=True, timeout=60)
    values = dict(line.split() for line in run.stdout.splitlines() if line.count(" ") == 1)
    if run.returncode != 0 or "first-frame-ns" not in values:
        raise RuntimeError(f"{program.name} reported no frame (status {run.returncode}):\n"
                           f"{run.stdout}{run.stderr}")
    return ((int(values["first-frame-ns"]) - start) / 1e6,
            (int(values["main-ns"]) - start) / 1e6)


def peak_rss_kib(program, env):
    run = subprocess.run(["/usr/bin/time", "-v", str(program)], env=env, capture_output=True,
                         text=True, timeout=60)
    match = re.search(r"Maximum resident set size \(kbytes\): (\d+)", run.stderr)
    if run.returncode != 0 or not match:
        raise RuntimeError(f"{program.name} under /usr/bin/time failed (status "
                           f"{run.returncode}):\n{run.stderr}")
    return int(match.group(1))


def verdict(ratio, target):
    return "PASS" if ratio <= target else "MISS"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-n", "--runs", type=int, default=21, help="runs of each (default 21)")
    parser.add_argument("--bin", help="folder with lumidra and bare_window "
                        "(default build/bench/bin, else build/dev/bin)")
    args = parser.parse_args()
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("/usr/bin/time is missing (Debian package time)")

    bindir = find_build_dir(args.bin)
    programs = {"lumidra": bindir / "lumidra", "bare window": bindir / "bare_window"}
    with tempfile.TemporaryDirectory(prefix="lumidra-startup-") as scratch:
        env = dict(os.environ)
        env.update({
            "QT_QPA_PLATFORM": "offscreen",
            "LUMIDRA_EXIT_AFTER_FIRST_FRAME": "1",
            # Neither the user's settings, cache nor runtime folder are touched.
            "LUMIDRA_SETTINGS": str(Path(scratch) / "settings.reg"),
            "XDG_CACHE_HOME": str(Path(scratch) / "cache"),
            "XDG_RUNTIME_DIR": scratch,
        })
        os.chmod(scratch, 0o700)
        frames = {name: [] for name in programs}
        mains = {name: [] for name in programs}
        rss = {name: [] for name in programs}
        try:
            # One unmeasured start of each fills the file cache, and lumidra's record of the
            # room of its pages (TPlanSizes), as any start after the first finds them.
            for program in programs.values():
                first_frame_ms(program, env)
            for _ in range(args.runs):
                for name, program in programs.items():
                    frame, entered = first_frame_ms(program, env)
                    frames[name].append(frame)
                    mains[name].append(entered)
            for _ in range(args.runs):
                for name, program in programs.items():
                    rss[name].append(peak_rss_kib(program, env))
        except (RuntimeError, subprocess.TimeoutExpired) as error:
            print(error, file=sys.stderr)
            return 2

    load = os.getloadavg()
    print(f"{bindir}, {args.runs} runs each, load average {load[0]:.2f} {load[1]:.2f} "
          f"{load[2]:.2f}")
    print(f"{'':12} {'first frame':>12} {'(in main)':>10} {'peak RSS':>11}")
    med = {}
    for name in programs:
        med[name] = (statistics.median(frames[name]), statistics.median(rss[name]))
        print(f"{name:12} {med[name][0]:9.1f} ms {statistics.median(mains[name]):7.1f} ms "
              f"{med[name][1] / 1024:7.1f} MiB")
    time_ratio = med["lumidra"][0] / med["bare window"][0]
    rss_ratio = med["lumidra"][1] / med["bare window"][1]
    print(f"start-up ratio {time_ratio:.3f} (target <= {TIME_TARGET}): "
          f"{verdict(time_ratio, TIME_TARGET)}")
    print(f"peak memory ratio {rss_ratio:.3f} (target <= {MEMORY_TARGET}): "
          f"{verdict(rss_ratio, MEMORY_TARGET)}")
    return 0 if time_ratio <= TIME_TARGET and rss_ratio <= MEMORY_TARGET else 1


if __name__ == "__main__":
    sys.exit(main())
