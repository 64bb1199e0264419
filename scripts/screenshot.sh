#!/usr/bin/env bash
# Renders the real window mid-game into docs/screenshot.png: builds pelmora, starts it on a
# virtual display (Xvfb), presses ｽﾀｰﾄ, lets the clock run, skips a problem with 先に進む so an
# example answer shows, picks an operator, and grabs the window. Rerun it whenever the window
# changes.
set -euo pipefail
extra_packages=(xvfb xdotool imagemagick)
source "$(dirname "$0")/setup.sh"
echo "==> Building pelmora"
cmake --build "$build" --target pelmora

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "==> Starting pelmora on the virtual display $display"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
# A home of its own: nothing of the user's is read or written.
HOME=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb "$build/game/pelmora" &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name Pelmora | head -1)
[ -n "$window" ] || { echo "pelmora did not open its window" >&2; exit 1; }

# Client coordinates of the controls, in pixels (the layout's twips / 15).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
start=(64 232)
next=(268 232)
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
