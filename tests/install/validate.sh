#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# validate.sh desktop|metainfo FILE: the desktop entry or the software centre description
# passes its validator (desktop-file-validate; appstreamcli validate, strict, offline).
set -euo pipefail
. "$(dirname "$0")/common.sh"
kind=$1 file=$2
case $kind in
desktop)
    need desktop-file-validate desktop-file-utils
    # The validator prints hints and errors; a clean entry prints nothing at all.
    out=$(desktop-file-validate "$file" 2>&1) || fail "$out"
    [ -z "$out" ] || fail "$out"
    ;;
metainfo)
    need appstreamcli appstream
    appstreamcli validate --no-net --strict "$file" || fail "appstreamcli rejects $file"
    ;;
*)
    fail "unknown kind $kind"
    ;;
esac
echo "OK: $file"
