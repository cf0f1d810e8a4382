#!/usr/bin/env bash
# Takes docs/window-initial.png and docs/window-enlarged.png from the real
# program on a virtual X server with a window manager, so the pictures show the
# title bar and the outer size. Needs xvfb, openbox, xdotool and imagemagick.
#   xvfb-run -a -s "-screen 0 1600x1000x24" docs/take_screenshots.sh [path/to/velmo]
set -euo pipefail
cd "$(dirname "$0")"
program=${1:-../build/app/app/velmo}
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
"$program" >/dev/null 2>&1 &
app=$!
trap 'kill $app $wm 2>/dev/null || true' EXIT
sleep 6
id=$(xdotool search --onlyvisible --name Velmo | head -1)
import -frame -window "$id" window-initial.png
# Large enough to bring the options panel into view.
xdotool windowsize "$id" 1470 760
xdotool windowmove "$id" 40 40
sleep 2
import -frame -window "$id" window-enlarged.png
