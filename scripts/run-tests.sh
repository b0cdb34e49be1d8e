#!/usr/bin/env bash
# The whole test suite: the normal build and its tests, the same under the address and
# undefined-behaviour sanitizers, the web page (the core's tests under node, the page in
# headless chromium), then the hardening checks (fuzz targets for SECONDS each and the registry
# test under Wine). `scripts/run-tests.sh quick` runs the normal build's tests only.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-all}
seconds=${LUMIDRA_FUZZ_SECONDS:-30}

cmake --preset dev && cmake --build --preset dev && ctest --preset dev -j2
[ "$mode" = quick ] && exit 0

cmake --preset asan && cmake --build --preset asan && ctest --preset asan -j2
cmake --workflow --preset web
scripts/run-hardening.sh "$seconds"
