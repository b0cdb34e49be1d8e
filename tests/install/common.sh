# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the installation tests (sourced).

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A missing tool skips the test (exit 77, which CTest counts as skipped) on a developer's
# machine, but fails it under CI, where scripts/install-deps.sh installs every tool.
need() {
    local tool=$1 package=$2
    command -v "$tool" >/dev/null 2>&1 && return 0
    if [ "${CI:-}" = true ]; then
        fail "$tool is missing (Debian package $package)"
    fi
    echo "SKIP: $tool is missing (Debian package $package; scripts/install-deps.sh installs it)"
    exit 77
}

# Checks an installation under root (the folder that stands for /usr or the prefix): the
# files where the desktop looks for them, and the installed program finding its own data
# there rather than anywhere else.
check_installation() {
    local root=$1 id=$2 bindir=$3 datadir=$4
    local files=(
        "$bindir/lumidra" "$bindir/lumidra-calc"
        "$datadir/lumidra/films.dat" "$datadir/lumidra/lumi.html"
        "$datadir/applications/$id.desktop"
        "$datadir/metainfo/$id.metainfo.xml"
        "$datadir/icons/hicolor/scalable/apps/$id.svg"
    )
    local size
    for size in 16 22 24 32 48 64 128 256; do
        files+=("$datadir/icons/hicolor/${size}x$size/apps/$id.png")
    done
    # The manual pages, made by help2man when the build found it.
    if [ "${LUMIDRA_MAN_PAGES:-OFF}" = ON ]; then
        files+=("$datadir/man/man1/lumidra.1.gz" "$datadir/man/man1/lumidra-calc.1.gz")
    elif [ "${CI:-}" = true ]; then
        fail "the build made no manual pages (Debian package help2man)"
    else
        echo "NOTE: no manual pages checked: the build found no help2man"
    fi
    local f
    for f in "${files[@]}"; do
        [ -s "$root/$f" ] || fail "$root/$f is not installed"
    done
    for f in "$bindir/lumidra" "$bindir/lumidra-calc"; do
        [ -x "$root/$f" ] || fail "$root/$f is not executable"
    done
    # Each PNG is as large as the folder it lies in says (the theme picks icons by it).
    if command -v file >/dev/null 2>&1; then
        for size in 16 22 24 32 48 64 128 256; do
            f="$root/$datadir/icons/hicolor/${size}x$size/apps/$id.png"
            file "$f" | grep -q "PNG image data, $size x $size," || fail "$f: $(file -b "$f")"
        done
    fi

    # The desktop entry starts the installed program by name and names the installed icon.
    local desktop="$root/$datadir/applications/$id.desktop"
    grep -qx "Exec=lumidra" "$desktop" || fail "$desktop does not start lumidra"
    grep -qx "Icon=$id" "$desktop" || fail "$desktop does not name the icon $id"

    # The installed program finds the installed data (nothing lies beside it).
    local out
    out=$("$root/$bindir/lumidra" --check-data) || fail "lumidra --check-data failed: $out"
    echo "$out"
    local share
    share=$(cd "$root/$datadir/lumidra" && pwd -P)
    grep -q "^films.dat: $share/films.dat ([1-9][0-9]* films)$" <<<"$out" ||
        fail "the film database was not found in $share"
    grep -qx "lumi.html: $share/lumi.html" <<<"$out" || fail "the help was not found in $share"
    # The command-line program reads the same database.
    out=$("$root/$bindir/lumidra-calc" films) || fail "lumidra-calc films failed: $out"
    grep -q "^Ilford HP5 Plus	" <<<"$out" || fail "lumidra-calc does not list the installed films"
}
