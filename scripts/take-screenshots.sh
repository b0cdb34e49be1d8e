#!/usr/bin/env bash
# Builds the dev preset and saves a headless picture of each tab into docs/ (for the README).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev --target take_screenshots
QT_QPA_PLATFORM=offscreen LC_ALL=en_US.UTF-8 build/dev/bin/take_screenshots docs
