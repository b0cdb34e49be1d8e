#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The checks beyond the unit tests (docs/hardening.md):
#   - every libFuzzer target of the core, built with clang-19 and the sanitizers, run for
#     SECONDS seconds each from its seed corpus in tests/fuzz/corpus/;
#   - the registry back end of the settings store, cross-built with mingw-w64 and run under
#     Wine in a fresh Wine prefix below /tmp.
# Usage: scripts/run-hardening.sh [SECONDS] [all|fuzz|wine]   (defaults: 30, all; 0 seconds
# replays the seed corpora once)
# Installs the Debian packages it needs. Ends with "hardening: N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
what="${2:-all}"
case "$seconds" in '' | *[!0-9]*) echo "SECONDS must be a whole number" >&2; exit 2 ;; esac
case "$what" in all | fuzz | wine) ;; *) echo "unknown part: $what" >&2; exit 2 ;; esac

passed=0
failed=0
scratch=""
wineprefix=""
cleanup() {
    [ -n "$scratch" ] && rm -rf "$scratch"
    # The Wine prefix is this script's own; its wineserver ends a few seconds after the last
    # program in it.
    if [ -n "$wineprefix" ]; then
        WINEPREFIX="$wineprefix" timeout 60 wineserver -w 2>/dev/null || true
        rm -rf "$wineprefix"
    fi
    return 0
}
trap cleanup EXIT
pass() { passed=$((passed + 1)); echo "PASS: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $1"; }

install_packages() {
    local missing=() p sudo=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -o DPkg::Lock::Timeout=120
    $sudo apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=120 "${missing[@]}"
}

packages=(cmake ninja-build)
[ "$what" != wine ] && packages+=(clang-19 libclang-rt-19-dev)
[ "$what" != fuzz ] && packages+=(g++-mingw-w64-x86-64 wine64 wine)
install_packages "${packages[@]}"

run_fuzzers() {
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j2
    local bin=build/fuzz/bin work=build/fuzz/work target name log runs
    # A small quarantine keeps the sanitizer from touching fresh memory on every allocation,
    # which makes the film database target several times faster.
    export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
    # Targets that need files keep them here, in memory where possible.
    scratch="$(mktemp -d /dev/shm/lumidra-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
    export LUMIDRA_FUZZ_SCRATCH="$scratch"
    mkdir -p "$work/artifacts"
    # 0 seconds replays the seed corpora once (libFuzzer reads -max_total_time=0 as forever).
    local limit="-max_total_time=$seconds"
    [ "$seconds" -eq 0 ] && limit="-runs=0"
    for target in "$bin"/fuzz_*; do
        name="$(basename "$target")"
        name="${name#fuzz_}"
        mkdir -p "$work/$name"
        log="$work/$name.log"
        # New inputs go to the work folder; the committed seeds are only read. The outer
        # timeout only guards against a fuzzer that fails to stop by itself.
        if timeout --kill-after=10 $((seconds + 120)) \
            "$target" "$limit" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$work/artifacts/$name-" \
            "$work/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
            runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
            pass "fuzz_$name: ${runs:-?} runs in ${seconds} s"
        else
            tail -n 40 "$log"
            fail "fuzz_$name: see $log and $work/artifacts/"
        fi
    done
}

run_wine_test() {
    cmake --preset mingw >/dev/null
    cmake --build --preset mingw -j2
    wineprefix="$(mktemp -d /tmp/lumidra-wine.XXXXXX)"
    export WINEPREFIX="$wineprefix" WINEDEBUG=-all WINEARCH=win64
    if ! timeout 300 wineboot -i >"$wineprefix/boot.log" 2>&1; then
        cat "$wineprefix/boot.log"
        fail "registry_test: wineboot failed"
        return
    fi
    timeout 120 wineserver -w || true
    if timeout 180 wine build/mingw/bin/registry_test.exe; then
        pass "registry_test under Wine"
    else
        fail "registry_test under Wine"
    fi
}

[ "$what" != wine ] && run_fuzzers
[ "$what" != fuzz ] && run_wine_test

echo "hardening: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
