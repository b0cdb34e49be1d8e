#!/usr/bin/env bash
# Renders the SVG drawings under resources/pictures to the PNG files the program loads
# (1x and 2x). Needs rsvg-convert (Debian package librsvg2-bin); run it after editing a drawing.
set -euo pipefail
cd "$(dirname "$0")/../resources/pictures"
for svg in *.svg; do
    name=${svg%.svg}
    rsvg-convert "$svg" -o "$name.png"
    rsvg-convert -z 2 "$svg" -o "$name@2x.png"
done
