#!/usr/bin/env bash
# Sourced by the screenshot scripts: builds pelmora, starts it on a virtual display (Xvfb),
# with openbox as its window manager when `with_window_manager=1`, and sets `window` to its
# window. A home and runtime folder of its own: nothing of the user's is read or written.
# Everything it started ends with the calling script.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
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
Xvfb "$display" -screen 0 "${screen_size:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
if [ "${with_window_manager:-0}" = 1 ]; then
    HOME=$work XDG_RUNTIME_DIR=$work openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
fi
HOME=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb "$build/game/pelmora" &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name Pelmora | head -1)
[ -n "$window" ] || { echo "pelmora did not open its window" >&2; exit 1; }

# Client coordinates of the controls, in pixels (the layout's twips / 15).
start=(64 232)
next=(268 232)
