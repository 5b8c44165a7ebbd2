#!/usr/bin/env bash
# Screenshots of the desktop program on the sample collection, under Xvfb
# with a window manager that draws frames (openbox): the start screen, the
# main window after start-up, after a search, after three F3 presses in its
# page (the third hit current, the count and the hit map), the concordance window
# (F9) of a search. The start screen's outer size (frame included) is
# written to outer-size.txt; it is to be 808 x 601.
#   tools/screenshots.sh [OUTDIR]   (default build/screenshots)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build/screenshots}"
mkdir -p "$out"
display=":${TAMVEX_SCREENSHOT_DISPLAY:-97}"
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
app= wm=
trap 'kill $app $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display" QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
"$root/build/tamvex/tamvex" >"$out/tamvex.log" 2>&1 &
app=$!
sleep 3
import -window root "$out/1-start-screen.png"
# The outer size: the window manager's frame around the active window.
start=$(xdotool getactivewindow)
frame=$(xwininfo -id "$start" -children | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
xwininfo -id "$frame" | grep -E 'Width|Height' >"$out/outer-size.txt"
cat "$out/outer-size.txt"
# The start screen's search button: 8400, 3720 twips = 560, 248 px.
xdotool mousemove --window "$start" 620 272 click 1
sleep 4
import -window root "$out/2-main-window.png"
# Into the query box (240, 240 twips = 16, 16 px), type a query, Enter.
main=$(xdotool getactivewindow)
xdotool mousemove --window "$main" 100 28 click 1
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 50 "發熱 頭痛"
xdotool key Return
sleep 3
import -window root "$out/3-after-search.png"
# Three F3 presses: the page's third hit is current.
for press in 1 2 3; do
  xdotool key F3
  sleep 0.7
done
sleep 1
import -window root "$out/4-three-f3.png"
# A search for 桂枝, then F9 in the result list: the concordance window.
xdotool mousemove 100 28 click 1
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 50 "桂枝"
xdotool key Return
sleep 3
xdotool key F9
sleep 2
import -window root "$out/5-concordance.png"
echo "screenshots in $out"
