#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed files of fuzz_filmdb into corpus/filmdb/ (run from any folder).

A films.dat record is 528 bytes: a name (length byte, 255 bytes), a formula (length byte,
255 bytes), MinTime and MaxTime (little-endian doubles). Record 0 holds the version text.
"""
import pathlib
import struct


def record(name=b"", formula=b"", min_time=0.0, max_time=0.0, name_length=None):
    def field(text, length):
        return bytes([len(text) if length is None else length]) + text.ljust(255, b"\0")[:255]

    return field(name, name_length) + field(formula, None) + struct.pack("<dd", min_time, max_time)


version = record(b"Test films 2024-01")
seeds = {
    "version-only.dat": version,
    "two-films-and-a-remainder.dat": version
    + record(b"Pan 100", b"+1-0.5+0.25", 1, 100)
    + record(b"Pan 400", b"+0,5+1,25", 0.5, 1000)
    + b"x" * 100,
    "same-name-twice.dat": version
    + record(b"Ortho 25", b"+1+1", 1, 10)
    + record(b"Ortho 25", b"+2", 1, 10),
    "cp1252-and-bad-formulas.dat": record(b"Films \x80 \xe9t\xe9 \x81")
    + record(b"Slide \xb0", b"1.5", 2, 1)
    + record(b"Empty formula", b"", 0, 0)
    + record(b"", b"+1.5E-3", float("inf"), float("nan")),
    "length-beyond-the-text.dat": version + record(b"short", b"+1", 1, 2, name_length=255),
    "shorter-than-a-record.dat": version[:100],
}
folder = pathlib.Path(__file__).resolve().parent / "corpus" / "filmdb"
folder.mkdir(parents=True, exist_ok=True)
for name, data in seeds.items():
    (folder / name).write_bytes(data)
