#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's small sizes, each drawn on its own pixel grid, to the PNGs that are
# committed beside them; run it after changing one (needs librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../src/icons"
for size in 16 22 24 32 48; do
    rsvg-convert --width="$size" --height="$size" "jotlark-$size.svg" --output="jotlark-$size.png"
done
