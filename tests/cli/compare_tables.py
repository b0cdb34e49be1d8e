#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs lumidra-calc twice and checks that the two exposure tables agree row by row: the
same labels, the same rows marked as beyond the film's data, and times within a relative
tolerance (plus what the printed text rounds away).

    compare_tables.py --cli PROGRAM --tolerance 0.05 --first ARGS... --second ARGS...
"""
import re
import subprocess
import sys

UNITS = {"s": 1, "m": 60, "h": 3600}


def seconds(text):
    """A time as printed exactly ("1/8", "2.2 s", "1 m 5 s", "1 h 5 m", "1 h") in seconds, and
    how far the printed text may lie from it."""
    if "/" in text:
        num, den = text.split("/")
        return float(num) / float(den), float(num) / float(den) / 2
    parts = text.split()
    values = [float(v) for v in parts[::2]]
    units = parts[1::2]
    total = sum(v * UNITS[u] for v, u in zip(values, units))
    if units[-1] == "h":
        slack = 60  # minutes below one are left out
    elif units[-1] == "m":
        slack = 30 if units[0] == "h" else 1  # rounded minutes; seconds below one left out
    else:
        decimals = re.search(r"\.(\d+)", text)
        slack = 0.5 * 10 ** -(len(decimals.group(1)) if decimals else 0)
    return total, slack


def table(cli, args):
    run = subprocess.run([cli] + args, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"lumidra-calc {' '.join(args)}: exit {run.returncode}: {run.stderr}")
    rows = [line.split("\t") for line in run.stdout.splitlines()[1:]]
    return rows


def main():
    argv = sys.argv[1:]
    cli = argv[argv.index("--cli") + 1]
    tolerance = float(argv[argv.index("--tolerance") + 1])
    first = argv[argv.index("--first") + 1:argv.index("--second")]
    second = argv[argv.index("--second") + 1:]
    a, b = table(cli, first), table(cli, second)
    problems = []
    if len(a) != 18 or len(b) != 18:
        problems.append(f"expected 18 rows, got {len(a)} and {len(b)}")
    for row_a, row_b in zip(a, b):
        label = row_a[0]
        if row_a[0] != row_b[0] or row_a[2:] != row_b[2:]:
            problems.append(f"row {label}: {row_a} against {row_b}")
            continue
        ta, ra = seconds(row_a[1])
        tb, rb = seconds(row_b[1])
        if abs(ta - tb) > tolerance * tb + ra + rb:
            problems.append(f"row {label}: {row_a[1]} against {row_b[1]}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
