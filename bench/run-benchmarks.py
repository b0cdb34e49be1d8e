#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the core benchmarks (lumidra_bench) and checks their targets.

Every benchmark runs several times (--repetitions); the medians are compared: each
keystroke's recalculation below 0.1 ms, the 10 001-zone PDF within 1.5 times the time
of printing its numbers alone, and the fit of a film of one's own (which the films dialog
runs on a worker thread after a pause in typing) below half a second. Further arguments go to the benchmark program (for example
--benchmark_filter=Keystroke). Exit status 0 when every target is met, 1 otherwise.
"""
import argparse
import json
import os
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
KEYSTROKE_LIMIT_NS = 100_000.0
PDF_FLOOR_LIMIT = 1.5
FIT_LIMIT_NS = 500e6
UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def find_program(given):
    if given:
        return Path(given)
    for preset in ("bench", "dev"):
        program = ROOT / "build" / preset / "bin" / "lumidra_bench"
        if program.exists():
            return program
    sys.exit("lumidra_bench not built: cmake --workflow --preset bench")


def check_slowest(medians, prefix, what, limit_ns, scale, unit):
    """Prints the slowest benchmark whose name starts with prefix against limit_ns; False when
    it misses (True also when there is none)."""
    family = {n: t for n, t in medians.items() if n.startswith(prefix)}
    if not family:
        return True
    slowest = max(family, key=family.get)
    passed = family[slowest] < limit_ns
    print(f"slowest {what} {slowest}: {family[slowest] / scale:.3f} {unit} "
          f"(target < {limit_ns / scale:g} {unit}): {'PASS' if passed else 'MISS'}")
    return passed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", help="the benchmark program (default: build/bench/bin, "
                        "else build/dev/bin)")
    parser.add_argument("--repetitions", type=int, default=5)
    args, extra = parser.parse_known_args()
    program = find_program(args.program)

    run = subprocess.run([str(program), "--benchmark_format=json",
                          f"--benchmark_repetitions={args.repetitions}",
                          "--benchmark_report_aggregates_only=true", *extra],
                         capture_output=True, text=True)
    if run.returncode != 0:
        print(run.stderr, file=sys.stderr)
        return 2
    report = json.loads(run.stdout)
    medians = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            name = entry["run_name"]
            medians[name] = entry["real_time"] * UNIT_NS[entry["time_unit"]]
            label = f" ({entry['label']})" if entry.get("label") else ""
            print(f"{name + label:44} {medians[name] / 1e3:12.3f} us")

    load = os.getloadavg()
    print(f"\n{program}, median of {args.repetitions}, load average {load[0]:.2f} "
          f"{load[1]:.2f} {load[2]:.2f}")
    ok = True
    ok &= check_slowest(medians, "BM_Keystroke", "keystroke", KEYSTROKE_LIMIT_NS, 1e3, "us")
    for zones in (11, 1001, 10001):
        pdf = medians.get(f"BM_ZonePlatePdf/{zones}")
        floor = medians.get(f"BM_ZonePlatePdfNumbersOnly/{zones}")
        if pdf is None or floor is None:
            continue
        line = (f"PDF of {zones} zones: {pdf / 1e6:.3f} ms, numbers alone {floor / 1e6:.3f} ms, "
                f"ratio {pdf / floor:.3f}")
        if zones == 10001:
            passed = pdf / floor <= PDF_FLOOR_LIMIT
            ok &= passed
            line += f" (target <= {PDF_FLOOR_LIMIT}): {'PASS' if passed else 'MISS'}"
        print(line)
    ok &= check_slowest(medians, "BM_FitFilm", "film fit", FIT_LIMIT_NS, 1e6, "ms")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
