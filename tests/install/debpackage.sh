#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# debpackage.sh BUILD SCRATCH ID: makes the Debian package of the build with CPack, checks its
# control fields (the Qt libraries and the platform plugins among the dependencies), unpacks
# it into a scratch root and checks the unpacked installation: every file in place, the
# desktop entry's icon among the installed icons, the copyright file and the changelog, and
# the unpacked program started headless finding its film database and help. lintian checks
# the package against the Debian policy.
set -euo pipefail
. "$(dirname "$0")/common.sh"
build=$1 scratch=$2 id=$3
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need file file
need lintian lintian

rm -rf "$scratch"
mkdir -p "$scratch"
"${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
debs=("$scratch"/out/lumidra_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single lumidra_*.deb"
deb=${debs[0]}
echo "package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = lumidra ] || fail "the package is not named lumidra"
[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "the package's section is not graphics"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The package names alone, one a line, without their versions.
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for dependency in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    grep -qxF "$dependency" <<<"$names" || fail "Depends does not name $dependency: $depends"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
check_installation "$root/usr" "$id" bin share

[ -s "$root/usr/share/doc/lumidra/copyright" ] || fail "the package carries no copyright file"
[ -s "$root/usr/share/doc/lumidra/changelog.gz" ] || fail "the package carries no changelog"

# The Debian policy checks: no error and no warning (informational notes are allowed).
lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 ||
    fail "lintian finds errors or warnings: $(cat "$scratch/lintian.log")"
echo "lintian: no errors, no warnings"

# The icon the desktop entry names is in the hicolor theme, as a drawing and in every size.
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/$id.desktop")
found=$(find "$root/usr/share/icons/hicolor" -name "$icon.png" -o -name "$icon.svg" | wc -l)
[ "$found" -eq 9 ] || fail "the icon $icon is installed $found times, not 9"

rm -rf "$scratch"
echo "OK"
