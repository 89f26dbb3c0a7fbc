#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/screenshot.png headless: the main window and two notes (one ringing, red) on a
# virtual screen with a window manager. Needs Xvfb, openbox and ImageMagick; run after a build.
# `screenshot.sh docs/screenshot-dark.png --dark` takes it under Fusion and a dark scheme.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
options=("${@:2}")
display=:${SCREENSHOT_DISPLAY:-97}
home=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$home"' EXIT

mkdir -p "$home/jotlk" "$(dirname "$out")"
printf '%s\r\n' \
    '"Le 12/07 à 09:10 am","Buy bread~~and milk","Wednesday 12/09 10:45 am",""' \
    '"Le 12/08 à 06:32 pm","Call the plumber about the kitchen tap","Friday 12/11 2:30 pm",""' \
    '"Le 12/08 à 06:40 pm","Book train tickets for the holidays","",""' \
    > "$home/jotlk/planifs.txt"

Xvfb "$display" -screen 0 1280x520x24 -nolisten tcp & pids+=($!)
export DISPLAY=$display XDG_DATA_HOME=$home XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=xcb
sleep 1
openbox & pids+=($!)
sleep 1
build/tools/screenshot_scene "${options[@]}" & pids+=($!)
sleep 3
import -window root "$out"
convert "$out" -trim +repage "$out" # the bare screen around the windows
echo "wrote $out"
