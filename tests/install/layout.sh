#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# layout.sh BUILD SCRATCH ID BINDIR DATADIR: installs the build twice, as a package would
# (DESTDIR, prefix /usr) and under a prefix of its own, and checks each installation: every
# file in place, and the installed programs finding the installed data. Then takes the film
# database away and expects the check to fail.
set -euo pipefail
. "$(dirname "$0")/common.sh"
build=$1 scratch=$2 id=$3 bindir=$4 datadir=$5

rm -rf "$scratch"
mkdir -p "$scratch"

echo "== DESTDIR=$scratch/destdir, prefix /usr"
DESTDIR="$scratch/destdir" "${CMAKE:-cmake}" --install "$build" --prefix /usr >"$scratch/destdir.log" ||
    fail "cmake --install failed: $(cat "$scratch/destdir.log")"
check_installation "$scratch/destdir/usr" "$id" "$bindir" "$datadir"

echo "== prefix $scratch/prefix"
"${CMAKE:-cmake}" --install "$build" --prefix "$scratch/prefix" >"$scratch/prefix.log" ||
    fail "cmake --install failed: $(cat "$scratch/prefix.log")"
check_installation "$scratch/prefix" "$id" "$bindir" "$datadir"

echo "== without the film database"
rm "$scratch/prefix/$datadir/lumidra/films.dat"
if out=$("$scratch/prefix/$bindir/lumidra" --check-data); then
    fail "lumidra --check-data succeeded without a film database: $out"
fi
echo "$out"
grep -q "^films.dat: missing" <<<"$out" || fail "the missing film database is not reported"

rm -rf "$scratch"
echo "OK"
