#!/usr/bin/env bash
# Installs what building and testing Lumidra needs on Debian 12. Safe to run again.
set -euo pipefail
packages=(
    build-essential cmake ninja-build
    qt6-base-dev libxkbcommon-dev libpng-dev
    libgtest-dev libbenchmark-dev time
    fonts-dejavu-core fonts-noto-core
    qpdf librsvg2-bin python3
    desktop-file-utils appstream dpkg-dev file help2man lintian
    emscripten chromium chromium-driver python3-selenium
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -o DPkg::Lock::Timeout=120
$sudo apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=120 "${missing[@]}"
