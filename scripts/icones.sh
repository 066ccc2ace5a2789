#!/usr/bin/env bash
# Draws the icon's PNG sizes (hicolor theme, window icon) from packaging/icones/arkalune.svg.
# Run after each change of the SVG; the PNGs are kept in the repository so that a build needs no
# SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icones"
for taille in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$taille" -h "$taille" arkalune.svg -o "arkalune-$taille.png"
done
