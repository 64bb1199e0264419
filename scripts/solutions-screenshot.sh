#!/usr/bin/env bash
# Renders docs/solutions.png: the real window on a virtual display (Xvfb, with openbox as its
# window manager), a problem skipped with 先に進む, and the mouse on the example answer, whose
# tooltip lists every solution. Problems are dealt at random, so it skips until the list
# holds at least four solutions.
set -euo pipefail
extra_packages=(xvfb openbox xdotool imagemagick)
source "$(dirname "$0")/setup.sh"
echo "==> Building pelmora"
cmake --build "$build" --target pelmora

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "==> Starting pelmora on the virtual display $display"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
# A home of its own: nothing of the user's is read or written.
HOME=$work XDG_RUNTIME_DIR=$work openbox >/dev/null 2>&1 &
wm=$!
sleep 1
HOME=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb "$build/game/pelmora" &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name Pelmora | head -1)
[ -n "$window" ] || { echo "pelmora did not open its window" >&2; exit 1; }
xdotool windowmove "$window" 40 40
sleep 0.5

# Client coordinates of the controls, in pixels (the layout's twips / 15).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
away() { xdotool mousemove --window "$window" 500 100; sleep 0.8; }
start=(64 232)
next=(268 232)
exampleAnswer=(256 181)

echo "==> Playing"
click "${start[@]}"
for attempt in $(seq 30); do
    away
    click "${next[@]}"
    away
    xdotool mousemove --window "$window" "${exampleAnswer[@]}"
    sleep 1.6
    # The tooltip is the game's other visible window; about 14 pixels a line.
    tip=$(xdotool search --onlyvisible --pid "$game" 2>/dev/null | grep -vx "$window" | head -1 || true)
    height=0
    [ -n "$tip" ] && height=$(xdotool getwindowgeometry --shell "$tip" | sed -n 's/^HEIGHT=//p')
    ((height >= 80)) && break
done

mkdir -p "$root/docs"
import -window root "$work/screen.png"
convert "$work/screen.png" -crop 600x320+30+35 +repage -strip PNG8:"$root/docs/solutions.png"
echo "==> Wrote docs/solutions.png after $attempt skipped problems"
