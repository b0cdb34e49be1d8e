#!/usr/bin/env bash
# Renders the SVG drawings to the PNG files that the build uses, so that building needs no
# renderer: the pictures under resources/pictures (1x and 2x) and the program's icon
# resources/icons/org.example.Lumidra.svg at each size of the hicolor icon theme.
# Needs rsvg-convert (Debian package librsvg2-bin); run it after editing a drawing.
set -euo pipefail
cd "$(dirname "$0")/../resources"
for svg in pictures/*.svg; do
    name=${svg%.svg}
    rsvg-convert "$svg" -o "$name.png"
    rsvg-convert -z 2 "$svg" -o "$name@2x.png"
done
# The sizes are those that resources/CMakeLists.txt installs and the window icon is made of.
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" icons/org.example.Lumidra.svg \
        -o "icons/org.example.Lumidra-$size.png"
done
