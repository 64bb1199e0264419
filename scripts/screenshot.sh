#!/usr/bin/env bash
# Renders the real window mid-game into docs/screenshot.png: builds pelmora, starts it on a
# virtual display (Xvfb), presses ｽﾀｰﾄ, lets the clock run, skips a problem with 先に進む so an
# example answer shows, picks an operator, and grabs the window. Rerun it whenever the window
# changes.
set -euo pipefail
extra_packages=(xvfb xdotool imagemagick)
source "$(dirname "$0")/virtual-display.sh"

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
firstOperator=(106 130)

echo "==> Playing"
click "${start[@]}"
sleep 2.2
click "${next[@]}"
sleep 3.2
click "${firstOperator[@]}"
xdotool key Down Return
sleep 0.5
xdotool mousemove --window "$window" 500 280

mkdir -p "$root/docs"
import -window "$window" "$work/window.png"
convert "$work/window.png" -strip PNG8:"$root/docs/screenshot.png"
echo "==> Wrote docs/screenshot.png ($(stat -c %s "$root/docs/screenshot.png") bytes)"
